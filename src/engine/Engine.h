#pragma once
#include "engine/File.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

enum class FieldType : char { Character = 'C', Numeric = 'N' };

struct FieldDef {
    std::string name; // at most 10 characters, stored upper-cased
    FieldType type = FieldType::Character;
    int width = 0;
    int decimals = 0;
    bool operator==(const FieldDef&) const = default;
};

// One tag of a compound index: not unique, ascending, unfiltered.
struct TagDef {
    std::string name;       // at most 10 characters
    std::string expression; // "UPPER(FIELD)" or "FIELD"
};

// How files are opened; tests hand in in-memory or fault-injecting files.
using FileFactory = std::function<std::unique_ptr<File>(const std::string& path, bool create)>;
// Moving a file over another one at once (the rename of a finished index over the old one), and
// removing one that may not exist; both throw EngineError on failure.
using FileRenamer = std::function<void(const std::string& from, const std::string& to)>;
using FileRemover = std::function<void(const std::string& path)>;

// The table engine of one process. Tables are named by an alias: the file alias + ".dbf" in the
// engine's directory, matched without regard to case ("FOLDER" opens folder.dbf); the index file
// of the same base name + ".cdx" beside it is the table's production index. Every data set on one
// file shares one open file in the process. The engine shows nothing; every failure throws
// EngineError.
class Engine {
public:
    explicit Engine(std::string directory);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    const std::string& directory() const;

    // Full file name of the table or index file of an alias: the existing file whose name matches
    // without regard to case, else the directory + the lower-cased alias + extension.
    std::string tablePath(std::string_view alias) const;
    std::string indexPath(std::string_view alias) const;
    bool tableExists(std::string_view alias) const;
    bool indexExists(std::string_view alias) const;

    // Creates an empty table (FoxPro 2.x, no memo, code page 866); EngineError when the file
    // exists or a field is not valid.
    void createTable(std::string_view alias, const std::vector<FieldDef>& fields);

    // Record locks are tried this many times, this far apart (5 and one second by default).
    void setLockRetry(int attempts, std::chrono::milliseconds delay);
    void setFileFactory(FileFactory factory);
    void setFileRenamer(FileRenamer renamer);
    void setFileRemover(FileRemover remover);

    struct Impl;
    Impl& impl();

private:
    std::unique_ptr<Impl> m_impl;
};

} // namespace engine
