#include "registry/TitlesFile.h"

#include "engine/CodePage.h"
#include "platform/WholeFile.h"

#include <cstdio>
#include <map>

namespace registry {

namespace {

// Lines of the text before its first NUL; a break is CR LF, CR or LF, and a break at the very
// end does not start another line.
std::vector<std::string_view> splitLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::string cutToLimit(std::string_view ansi) {
    return engine::utf8FromCp1251(ansi.substr(0, TitlesFileFieldLimit));
}

} // namespace

std::string encodeTitlesFile(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += engine::cp1251FromUtf8Lossy(line);
        bytes += "\r\n";
    }
    return bytes;
}

std::vector<TitlesFileEntry> decodeTitlesFile(std::string_view bytes) {
    std::vector<TitlesFileEntry> entries;
    std::map<std::string, std::string_view> firstValue; // upper-cased key -> value of its first line
    for (const auto line : splitLines(bytes)) {
        const auto equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0)
            continue;
        const auto key = line.substr(0, equals);
        const auto [it, added] = firstValue.try_emplace(engine::upperAnsi(key), line.substr(equals + 1));
        entries.push_back({cutToLimit(key), cutToLimit(it->second)});
    }
    return entries;
}

void saveTitlesFile(const std::string& path, const std::vector<std::string>& lines) {
    if (const auto replaced = platform::replaceWholeFile(path, encodeTitlesFile(lines)); !replaced)
        throw TitlesFileError("Не удалось записать файл \"" + path + "\": " + replaced.explanation());
}

std::vector<TitlesFileEntry> loadTitlesFile(const std::string& path) {
    // An export of even 100,000 entries is a few megabytes.
    constexpr std::size_t maxFileSize = 64u << 20;
    const auto file = platform::readWholeFile(path, maxFileSize);
    if (file.status != platform::WholeFile::Status::read)
        throw TitlesFileError("Не удалось прочитать файл \"" + path + "\"");
    return decodeTitlesFile(file.bytes);
}

} // namespace registry
