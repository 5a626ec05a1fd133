#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace engine {

// The tiny file interface under the engine: nothing above it touches the operating system.
// Implemented by the real file (PosixFile), an in-memory file and a fault-injecting file.
// Every failure throws EngineError.
class File {
public:
    virtual ~File() = default;

    // Reads up to n bytes at offset; returns the number read (less than n only at the end).
    virtual std::size_t read(std::uint64_t offset, void* buffer, std::size_t n) = 0;
    virtual void write(std::uint64_t offset, const void* buffer, std::size_t n) = 0;
    virtual std::uint64_t size() = 0;
    virtual void truncate(std::uint64_t size) = 0;
    // Makes written data durable (fsync for the real file).
    virtual void flush() = 0;
    // Byte-range lock without waiting; false when another process holds a conflicting lock.
    virtual bool tryLock(std::uint64_t offset, std::uint64_t length, bool exclusive) = 0;
    virtual void unlock(std::uint64_t offset, std::uint64_t length) = 0;
    // Full path, for messages.
    virtual std::string name() const = 0;
};

} // namespace engine
