#pragma once
#include "engine/DataSet.h"
#include "engine/Engine.h"
#include "engine/TableFile.h"

#include <map>
#include <memory>
#include <string>

namespace engine {

// The engine's state: its directory, how files are opened and locks retried, and the tables open
// in the process (one TableFile per table file, shared by its data sets).
struct Engine::Impl {
    std::string directory;
    FileFactory factory;
    FileRenamer renamer;
    FileRemover remover;
    locks::RetryPolicy retry;
    std::map<std::string, std::weak_ptr<TableFile>> open;
    // Whether a file exists; the file system unless a test or the fuzz target sets its own (then
    // names are matched as the lower-cased alias only).
    std::function<bool(const std::string&)> exists;

    // The file in the directory whose name matches without regard to case; the lower-cased name
    // in the directory when there is none.
    std::string findFile(std::string_view alias, std::string_view extension) const;
    bool fileExists(const std::string& path) const;
    // The open table of the alias, opened now when no data set has it open. EngineError when the
    // wanted use conflicts with another data set's (exclusive against any other).
    std::shared_ptr<TableFile> acquire(std::string_view alias, const OpenOptions& options);
};

} // namespace engine
