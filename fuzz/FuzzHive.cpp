// Wine registry files under arbitrary input and edits: the reader never crashes; an edit leaves
// every line it has no business with byte for byte, and what it wrote reads back.
//
// Input: one byte choosing the edit (set a string, remove a value, add a key), one byte choosing
// the key among those with sections (or the name field as a path), a name and a text each ended
// by NUL (Windows-1251, as the program's registry calls pass them), then the hive text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CodePage.h"
#include "platform/posix/WineHive.h"

namespace {

std::vector<std::string> linesOfText(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t nl = text.find('\n', start);
        const std::size_t stop = nl == std::string::npos ? text.size() : nl + 1;
        lines.push_back(text.substr(start, stop - start));
        start = stop;
    }
    return lines;
}

// The text's lines without the given line numbers.
std::vector<std::string> without(const std::vector<std::string>& lines, const std::vector<std::size_t>& skipped) {
    std::vector<std::string> rest;
    std::size_t next = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (next < skipped.size() && skipped[next] == i) {
            while (next < skipped.size() && skipped[next] == i)
                ++next;
            continue;
        }
        rest.push_back(lines[i]);
    }
    return rest;
}

bool isBlank(const std::string& line) {
    return line == "\n" || line == "\r\n";
}

// The same line, or the file's last line that had no line end and got one, as text added after it
// needs.
bool sameLine(const std::string& before, const std::string& after, bool last) {
    if (before == after)
        return true;
    const bool ended = !before.empty() && before.back() == '\n';
    return last && !ended && after.size() > before.size() && after.compare(0, before.size(), before) == 0 &&
           (after.substr(before.size()) == "\n" || after.substr(before.size()) == "\r\n");
}

// before must be after with at most two blank lines taken out (the separators of a new section).
bool keptLineForLine(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::size_t i = 0, blanks = 0;
    for (const auto& line : after) {
        if (i < before.size() && sameLine(before[i], line, i + 1 == before.size()))
            ++i;
        else if (isBlank(line) && ++blanks <= 2)
            continue;
        else
            return false;
    }
    return i == before.size();
}

std::string field(std::string_view& rest) {
    const auto end = rest.find('\0');
    const auto bytes = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return engine::utf8FromCp1251(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const int edit = data[0] % 3;
    const int keyChoice = data[1];
    std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::string name = field(rest);
    const std::string text = field(rest);
    const std::string original(rest);

    platform::WineHive hive(original);
    (void)hive.sectionPaths();
    if (!hive.isValid())
        return 0;
    const auto paths = hive.sectionPaths();
    const std::string path = paths.empty() || keyChoice >= static_cast<int>(paths.size())
                                 ? name
                                 : paths[static_cast<std::size_t>(keyChoice)];
    const auto time = platform::HiveTime::fromUnix(1700000000);
    const auto touchedBefore = hive.linesOf(path, name);
    const bool existed = hive.value(path, name).has_value();

    bool done = false;
    if (edit == 0)
        done = hive.setString(path, name, text, time);
    else if (edit == 1)
        done = hive.removeValue(path, name, time);
    else
        done = hive.addKey(path, time);

    const std::string changed = hive.text();
    const platform::WineHive reread(changed);
    if (!reread.isValid())
        std::abort();
    // What an edit wrote is what a fresh reader finds.
    if (done && edit == 0) {
        const auto value = reread.value(path, name);
        if (!value || value->data != text || value->type != platform::hivetype::sz)
            std::abort();
    }
    if (done && edit == 1 && (reread.value(path, name) || !existed))
        std::abort();
    if (done && edit == 2 && !reread.keyExists(path))
        std::abort();
    if (!done && changed != original)
        std::abort();
    // Every other line stays as it was.
    if (!keptLineForLine(without(linesOfText(original), touchedBefore),
                         without(linesOfText(changed), reread.linesOf(path, name))))
        std::abort();
    return 0;
}
