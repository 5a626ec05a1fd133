#pragma once
#include "main/BarFile.h"
#include "main/ClassificationBar.h"
#include "widgets/SectionBarData.h"

#include <filesystem>
#include <optional>
#include <string>

namespace mainwin {

// The file of one bar over a run: read at start-up, written at the end when the bar differs from
// what the file holds. A file that could not be read completely (damaged, or of a newer format)
// is kept as "<name>.bad" before the bar is written again, so nothing the program could not read
// is destroyed; when it cannot be kept, the bar is not written.
class ClassificationFile {
public:
    explicit ClassificationFile(std::filesystem::path path) : m_path(std::move(path)) {}

    // "category.cfg" or "division.cfg" in a directory (empty: the current directory).
    static std::filesystem::path pathOf(const std::filesystem::path& directory, BarKind kind);

    const std::filesystem::path& path() const { return m_path; }

    // What the file holds (a missing file is an empty bar); remembers whether it was damaged.
    widgets::SectionBarData load();
    bool damaged() const { return m_damaged; }
    const std::string& problem() const { return m_problem; }

    // Replaces the file with the bar, keeping a damaged original first; nothing is written when
    // the file already holds this bar.
    BarFileStatus save(const widgets::SectionBarData& bar);

private:
    std::filesystem::path m_path;
    std::optional<std::string> m_stored; // the file's content as this program would write it
    bool m_damaged = false;
    std::string m_problem;
};

} // namespace mainwin
