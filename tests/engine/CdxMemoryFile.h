#pragma once
#include "engine/EngineError.h"
#include "engine/File.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace enginetest {

// A File held in memory, for index tests and the fuzz target. Locks always succeed.
class CdxMemoryFile : public engine::File {
public:
    explicit CdxMemoryFile(std::string bytes = {}, std::string name = "memory.cdx")
        : m_bytes(std::move(bytes)), m_name(std::move(name)) {}

    std::size_t read(std::uint64_t offset, void* buffer, std::size_t n) override {
        if (offset >= m_bytes.size())
            return 0;
        std::size_t count = std::min<std::uint64_t>(n, m_bytes.size() - offset);
        std::memcpy(buffer, m_bytes.data() + offset, count);
        return count;
    }
    void write(std::uint64_t offset, const void* buffer, std::size_t n) override {
        if (offset + n > m_bytes.size())
            m_bytes.resize(offset + n, '\0');
        std::memcpy(m_bytes.data() + offset, buffer, n);
        ++m_writes;
    }
    std::uint64_t size() override { return m_bytes.size(); }
    void truncate(std::uint64_t size) override { m_bytes.resize(size, '\0'); }
    void flush() override {}
    bool tryLock(std::uint64_t, std::uint64_t, bool) override { return true; }
    void unlock(std::uint64_t, std::uint64_t) override {}
    std::string name() const override { return m_name; }

    const std::string& bytes() const { return m_bytes; }
    std::string& bytes() { return m_bytes; }
    std::size_t writes() const { return m_writes; }

private:
    std::string m_bytes;
    std::string m_name;
    std::size_t m_writes = 0;
};

} // namespace enginetest
