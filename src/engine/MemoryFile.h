#pragma once
#include "engine/File.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace engine {

// Bytes and byte-range locks of one in-memory file, shared by every MemoryFile opened on it.
struct MemoryFileData {
    std::string bytes;
    struct Lock {
        const void* owner;
        std::uint64_t offset;
        std::uint64_t length;
        bool exclusive;
    };
    std::vector<Lock> locks;
};

// A File held in memory. Several objects on one MemoryFileData behave like separate opens of one
// file: they see the same bytes, and their locks conflict with each other as another process's
// would, which lets tests exercise lock contention without a second process.
class MemoryFile : public File {
public:
    explicit MemoryFile(std::shared_ptr<MemoryFileData> data, std::string name = "memory");
    explicit MemoryFile(std::string bytes = {}, std::string name = "memory");
    ~MemoryFile() override;

    std::size_t read(std::uint64_t offset, void* buffer, std::size_t n) override;
    void write(std::uint64_t offset, const void* buffer, std::size_t n) override;
    std::uint64_t size() override { return m_data->bytes.size(); }
    void truncate(std::uint64_t size) override;
    void flush() override {}
    bool tryLock(std::uint64_t offset, std::uint64_t length, bool exclusive) override;
    void unlock(std::uint64_t offset, std::uint64_t length) override;
    std::string name() const override { return m_name; }

    const std::string& bytes() const { return m_data->bytes; }
    const std::shared_ptr<MemoryFileData>& data() const { return m_data; }

private:
    std::shared_ptr<MemoryFileData> m_data;
    std::string m_name;
};

// Files by path in memory, with a FileFactory over them (for tests and the fuzz target).
class MemoryFileSystem {
public:
    bool exists(const std::string& path) const { return m_files.count(path) != 0; }
    std::shared_ptr<MemoryFileData>& data(const std::string& path) { return m_files[path]; }
    // Opens a file: with create a new, empty one (refused when it exists), else an existing one.
    std::unique_ptr<File> open(const std::string& path, bool create);
    // The file "from" takes the place of "to"; files already open keep the content they had.
    void rename(const std::string& from, const std::string& to);
    void remove(const std::string& path) { m_files.erase(path); }

private:
    std::map<std::string, std::shared_ptr<MemoryFileData>> m_files;
};

} // namespace engine
