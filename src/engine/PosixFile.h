#pragma once
#include "engine/File.h"

#include <memory>
#include <string>

namespace engine {

// A real file through POSIX descriptors. Byte-range locks are open-file-description locks where
// the system has them: they belong to this object, not to the process, so closing another
// descriptor of the same file keeps them, and they conflict with the classic record locks other
// programs (Wine among them) take on the same bytes.
class PosixFile : public File {
public:
    // Opens an existing file for reading and writing; with create, makes a new one and refuses
    // an existing one. EngineError when it cannot be done.
    PosixFile(std::string path, bool create);
    ~PosixFile() override;
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    std::size_t read(std::uint64_t offset, void* buffer, std::size_t n) override;
    void write(std::uint64_t offset, const void* buffer, std::size_t n) override;
    std::uint64_t size() override;
    void truncate(std::uint64_t size) override;
    void flush() override;
    bool tryLock(std::uint64_t offset, std::uint64_t length, bool exclusive) override;
    void unlock(std::uint64_t offset, std::uint64_t length) override;
    std::string name() const override { return m_path; }

    // The factory of real files, the engine's default, and its renamer and remover: a rename
    // replaces the target at once; removing a file that is not there is no error.
    static std::unique_ptr<File> open(const std::string& path, bool create);
    static void rename(const std::string& from, const std::string& to);
    static void remove(const std::string& path);

private:
    [[noreturn]] void fail(const std::string& what) const;

    std::string m_path;
    int m_fd = -1;
};

} // namespace engine
