#pragma once
#include "engine/File.h"

#include <chrono>
#include <cstdint>
#include <string>

// Byte-range locks of shared tables at the offsets FoxPro-compatible engines use, so that this
// engine and theirs exclude each other.
namespace engine::locks {

// Two schemes: "structural" when the table has a production index (header byte 28 bit 0x01),
// "classic" otherwise.
inline constexpr std::uint64_t kStructuralBase = 0x7FFFFFFE;
inline constexpr std::uint64_t kClassicBase = 0x40000000;
// The whole-file lock range, which covers every record and the header lock of both schemes.
inline constexpr std::uint64_t kFileLockStart = 0x40000000;
inline constexpr std::uint64_t kFileLockLength = 0x3FFFFFFF;
// One byte of the index file, held while its tree is read or changed.
inline constexpr std::uint64_t kIndexLock = 0x7FFFFFFE;
// Beyond every byte the schemes use: each open of a table holds a shared lock here, an exclusive
// open an exclusive one, so an exclusive open sees every other open of this engine.
inline constexpr std::uint64_t kOpenMark = 0x80000000;

inline std::uint64_t recordLock(bool structural, std::uint32_t recno, std::size_t headerLength,
                                std::size_t recordLength) {
    return structural ? kStructuralBase - recno : kClassicBase + headerLength + std::uint64_t{recno - 1} * recordLength;
}
inline std::uint64_t headerLock(bool structural) {
    return structural ? kStructuralBase : kClassicBase;
}

struct RetryPolicy {
    int attempts = 5;
    std::chrono::milliseconds delay{1000};
};

// Takes the lock, trying again after the policy's delay; false when every attempt failed.
bool acquire(File& file, std::uint64_t offset, std::uint64_t length, bool exclusive, const RetryPolicy& policy);

// A held lock, released when the guard goes (or at release()).
class Guard {
public:
    Guard() = default;
    // Takes the lock with the policy; EngineError with the message what when it cannot be had.
    Guard(File& file, std::uint64_t offset, std::uint64_t length, bool exclusive, const RetryPolicy& policy,
          const std::string& what);
    ~Guard() { release(); }
    Guard(Guard&& other) noexcept;
    Guard& operator=(Guard&& other) noexcept;
    void release();
    bool held() const { return m_file != nullptr; }

private:
    File* m_file = nullptr;
    std::uint64_t m_offset = 0;
    std::uint64_t m_length = 0;
};

} // namespace engine::locks
