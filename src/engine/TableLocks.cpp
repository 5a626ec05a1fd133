#include "engine/TableLocks.h"

#include "engine/EngineError.h"

#include <algorithm>
#include <thread>

namespace engine::locks {

bool acquire(File& file, std::uint64_t offset, std::uint64_t length, bool exclusive, const RetryPolicy& policy) {
    int attempts = std::max(1, policy.attempts);
    for (int i = 0; i < attempts; ++i) {
        if (i > 0)
            std::this_thread::sleep_for(policy.delay);
        if (file.tryLock(offset, length, exclusive))
            return true;
    }
    return false;
}

Guard::Guard(File& file, std::uint64_t offset, std::uint64_t length, bool exclusive, const RetryPolicy& policy,
             const std::string& what) {
    if (!acquire(file, offset, length, exclusive, policy))
        throw EngineError(what);
    m_file = &file;
    m_offset = offset;
    m_length = length;
}

Guard::Guard(Guard&& other) noexcept : m_file(other.m_file), m_offset(other.m_offset), m_length(other.m_length) {
    other.m_file = nullptr;
}

Guard& Guard::operator=(Guard&& other) noexcept {
    if (this != &other) {
        release();
        m_file = other.m_file;
        m_offset = other.m_offset;
        m_length = other.m_length;
        other.m_file = nullptr;
    }
    return *this;
}

void Guard::release() {
    if (!m_file)
        return;
    File* file = m_file;
    m_file = nullptr;
    try {
        file->unlock(m_offset, m_length);
    } catch (const EngineError&) {
        // The lock goes with the file at the latest; a release has nobody to report to.
    }
}

} // namespace engine::locks
