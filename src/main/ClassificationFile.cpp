#include "main/ClassificationFile.h"

#include <system_error>

namespace mainwin {

std::filesystem::path ClassificationFile::pathOf(const std::filesystem::path& directory, BarKind kind) {
    const char* name = kind == BarKind::Category ? "category.cfg" : "division.cfg";
    return directory.empty() ? std::filesystem::path(name) : directory / name;
}

widgets::SectionBarData ClassificationFile::load() {
    BarFileReadResult result = BarFile::read(m_path);
    m_damaged = result.damaged;
    m_problem = result.problem;
    m_stored.reset();
    std::error_code ec;
    std::string bytes;
    if (!m_damaged && std::filesystem::exists(m_path, ec) && BarFile::serialize(result.bar, bytes).ok)
        m_stored = std::move(bytes);
    return std::move(result.bar);
}

BarFileStatus ClassificationFile::save(const widgets::SectionBarData& bar) {
    if (m_damaged) {
        std::error_code ec;
        if (std::filesystem::exists(m_path, ec) || ec) {
            BarFileStatus kept = BarFile::keepAsBad(m_path);
            if (!kept.ok)
                return kept;
        }
        // The damaged original is safe now; later saves simply replace the good file.
        m_damaged = false;
    }
    std::string bytes;
    if (BarFileStatus status = BarFile::serialize(bar, bytes); !status.ok)
        return status;
    if (bytes == m_stored)
        return {};
    BarFileStatus written = BarFile::writeBytes(m_path, bytes);
    if (written.ok)
        m_stored = std::move(bytes);
    return written;
}

} // namespace mainwin
