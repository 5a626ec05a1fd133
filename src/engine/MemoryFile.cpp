#include "engine/MemoryFile.h"

#include "engine/EngineError.h"

#include <algorithm>
#include <cstring>

namespace engine {

MemoryFile::MemoryFile(std::shared_ptr<MemoryFileData> data, std::string name)
    : m_data(std::move(data)), m_name(std::move(name)) {}

MemoryFile::MemoryFile(std::string bytes, std::string name)
    : m_data(std::make_shared<MemoryFileData>()), m_name(std::move(name)) {
    m_data->bytes = std::move(bytes);
}

MemoryFile::~MemoryFile() {
    // The locks of a closed file go with it, as the system's do.
    auto& locks = m_data->locks;
    locks.erase(std::remove_if(locks.begin(), locks.end(), [this](const auto& l) { return l.owner == this; }),
                locks.end());
}

std::size_t MemoryFile::read(std::uint64_t offset, void* buffer, std::size_t n) {
    const std::string& bytes = m_data->bytes;
    if (offset >= bytes.size())
        return 0;
    std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(n, bytes.size() - offset));
    std::memcpy(buffer, bytes.data() + offset, count);
    return count;
}

void MemoryFile::write(std::uint64_t offset, const void* buffer, std::size_t n) {
    std::string& bytes = m_data->bytes;
    if (offset + n > bytes.size())
        bytes.resize(static_cast<std::size_t>(offset + n), '\0');
    std::memcpy(bytes.data() + offset, buffer, n);
}

void MemoryFile::truncate(std::uint64_t size) {
    m_data->bytes.resize(static_cast<std::size_t>(size), '\0');
}

bool MemoryFile::tryLock(std::uint64_t offset, std::uint64_t length, bool exclusive) {
    for (const auto& l : m_data->locks) {
        bool overlaps = l.offset < offset + length && offset < l.offset + l.length;
        if (overlaps && l.owner != this && (exclusive || l.exclusive))
            return false;
    }
    unlock(offset, length); // a lock replaces the owner's earlier one on the same bytes
    m_data->locks.push_back({this, offset, length, exclusive});
    return true;
}

void MemoryFile::unlock(std::uint64_t offset, std::uint64_t length) {
    auto& locks = m_data->locks;
    std::vector<MemoryFileData::Lock> kept;
    for (const auto& l : locks) {
        bool overlaps = l.offset < offset + length && offset < l.offset + l.length;
        if (l.owner != this || !overlaps) {
            kept.push_back(l);
            continue;
        }
        // Keep the parts of the lock outside the released range.
        if (l.offset < offset)
            kept.push_back({this, l.offset, offset - l.offset, l.exclusive});
        if (l.offset + l.length > offset + length)
            kept.push_back({this, offset + length, l.offset + l.length - offset - length, l.exclusive});
    }
    locks = std::move(kept);
}

std::unique_ptr<File> MemoryFileSystem::open(const std::string& path, bool create) {
    auto it = m_files.find(path);
    if (create) {
        if (it != m_files.end())
            throw EngineError("File " + path + " cannot be created: it exists");
        it = m_files.emplace(path, std::make_shared<MemoryFileData>()).first;
    } else if (it == m_files.end()) {
        throw EngineError("File " + path + " cannot be opened: it does not exist");
    }
    return std::make_unique<MemoryFile>(it->second, path);
}

void MemoryFileSystem::rename(const std::string& from, const std::string& to) {
    auto it = m_files.find(from);
    if (it == m_files.end())
        throw EngineError("File " + from + " cannot be renamed: it does not exist");
    auto data = it->second;
    m_files.erase(it);
    m_files[to] = std::move(data);
}

} // namespace engine
