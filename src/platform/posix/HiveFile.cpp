#include "platform/posix/HiveFile.h"

#include "platform/WholeFile.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace platform {

std::optional<HiveFile::Stamp> HiveFile::stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return Stamp{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                 static_cast<std::uint64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtim.tv_sec),
                 static_cast<std::int64_t>(st.st_mtim.tv_nsec)};
}

const WineHive* HiveFile::hive() {
    const auto stamp = stampOf(m_path);
    if (!stamp) {
        if (m_hive)
            ++m_generation;
        m_stamp.reset();
        m_hive.reset();
        return nullptr;
    }
    if (!m_hive || !m_stamp || !(*m_stamp == *stamp)) {
        std::ifstream in(m_path, std::ios::binary);
        if (!in) {
            m_stamp.reset();
            m_hive.reset();
            return nullptr;
        }
        std::ostringstream bytes;
        bytes << in.rdbuf();
        m_hive.emplace(bytes.str());
        m_stamp = stamp;
        ++m_generation;
    }
    return m_hive->isValid() ? &*m_hive : nullptr;
}

bool HiveFile::edit(const std::function<bool(WineHive&)>& change) {
    const WineHive* current = hive();
    if (!current)
        return false;
    WineHive changed = *current;
    if (!change(changed))
        return false;
    const std::string text = changed.text();
    if (text == current->text())
        return true;
    if (!replaceWholeFile(m_path, text))
        return false;
    m_hive = std::move(changed);
    m_stamp = stampOf(m_path);
    ++m_generation;
    return true;
}

} // namespace platform
