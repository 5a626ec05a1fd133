#include "platform/posix/WineHive.h"

#include "engine/CodePage.h"
#include "platform/posix/HiveEscapes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace platform {

namespace {

constexpr std::string_view headerLine = "WINE REGISTRY Version 2";
// 100 ns intervals between 1601-01-01 and 1970-01-01.
constexpr std::uint64_t fileTimeOfUnixEpoch = 116444736000000000ULL;

std::string_view withoutTerminator(std::string_view line) {
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

std::string_view terminatorOf(std::string_view line) {
    return line.substr(withoutTerminator(line).size());
}

std::string_view skipBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string> splitPath(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t stop = std::min(path.find('\\', start), path.size());
        if (stop > start)
            parts.emplace_back(path.substr(start, stop - start));
        start = stop + 1;
    }
    return parts;
}

std::vector<std::string> upperAll(std::vector<std::string> parts) {
    for (auto& part : parts)
        part = engine::upperUtf8(part);
    return parts;
}

std::string joined(const std::vector<std::string>& parts, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        if (i)
            out += '\\';
        out += parts[i];
    }
    return out;
}

std::string joined(const std::vector<std::string>& parts) {
    return joined(parts, parts.size());
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// Hex number up to the closing parenthesis of "hex(N)" or "str(N)"; advances pos past ")".
std::optional<std::uint32_t> readTypeNumber(std::string_view s, std::size_t& pos) {
    std::uint32_t type = 0;
    int digits = 0;
    while (pos < s.size() && s[pos] != ')') {
        const int d = engine::hexDigitValue(s[pos++]);
        if (d < 0 || ++digits > 8)
            return std::nullopt;
        type = type * 16 + static_cast<std::uint32_t>(d);
    }
    if (pos >= s.size() || digits == 0)
        return std::nullopt;
    ++pos;
    return type;
}

// Comma-separated bytes of one or two hex digits each, blanks allowed around them.
std::optional<std::string> readHexBytes(std::string_view s) {
    std::string bytes;
    s = trimRight(skipBlanks(s));
    while (!s.empty()) {
        s = skipBlanks(s);
        int value = 0;
        int digits = 0;
        while (!s.empty() && engine::hexDigitValue(s.front()) >= 0 && digits < 2) {
            value = value * 16 + engine::hexDigitValue(s.front());
            s.remove_prefix(1);
            ++digits;
        }
        if (digits == 0)
            return std::nullopt;
        bytes.push_back(static_cast<char>(value));
        s = skipBlanks(s);
        if (s.empty())
            break;
        if (s.front() != ',')
            return std::nullopt;
        s.remove_prefix(1);
        if (skipBlanks(s).empty()) // Wine never ends a list with a comma: the rest is cut off
            return std::nullopt;
    }
    return bytes;
}

bool readData(std::string_view d, HiveValue& value) {
    std::size_t pos = 0;
    auto readText = [&](std::uint32_t type) {
        const auto text = readHiveString(d, pos + 1, '"');
        if (!text)
            return false;
        value.type = type;
        value.textForm = true;
        value.data = text->text;
        return true;
    };
    if (startsWith(d, "\""))
        return readText(hivetype::sz);
    if (startsWith(d, "str:\"")) {
        pos = 4;
        return readText(hivetype::sz);
    }
    if (startsWith(d, "str(")) {
        pos = 4;
        const auto type = readTypeNumber(d, pos);
        if (!type || d.substr(pos, 2) != ":\"")
            return false;
        ++pos;
        return readText(*type);
    }
    if (startsWith(d, "dword:")) {
        const auto digits = trimRight(d.substr(6));
        if (digits.empty() || digits.size() > 8)
            return false;
        std::uint32_t number = 0;
        for (const char c : digits) {
            if (engine::hexDigitValue(c) < 0)
                return false;
            number = number * 16 + static_cast<std::uint32_t>(engine::hexDigitValue(c));
        }
        value.type = hivetype::dword;
        value.data.clear();
        for (int i = 0; i < 4; ++i)
            value.data.push_back(static_cast<char>((number >> (8 * i)) & 0xFF));
        return true;
    }
    std::uint32_t type = hivetype::binary;
    if (startsWith(d, "hex:")) {
        pos = 4;
    } else if (startsWith(d, "hex(")) {
        pos = 4;
        const auto number = readTypeNumber(d, pos);
        if (!number || pos >= d.size() || d[pos] != ':')
            return false;
        type = *number;
        ++pos;
    } else {
        return false;
    }
    auto bytes = readHexBytes(d.substr(pos));
    if (!bytes)
        return false;
    value.type = type;
    value.data = std::move(*bytes);
    return true;
}

std::string escapedKeyPath(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& part : parts) {
        if (!out.empty())
            out += "\\\\";
        out += escapeHiveString(part, "[]");
    }
    return out;
}

std::string fileTimeHex(std::uint64_t fileTime) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%x%08x", static_cast<unsigned>(fileTime >> 32),
                  static_cast<unsigned>(fileTime & 0xFFFFFFFFU));
    return buffer;
}

} // namespace

HiveTime HiveTime::now() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(since).count() / 100;
    return fromUnix(ticks / 10000000, static_cast<std::uint32_t>(ticks % 10000000));
}

HiveTime HiveTime::fromUnix(std::int64_t seconds, std::uint32_t hundredNanoseconds) {
    HiveTime time;
    time.unixSeconds = seconds;
    time.fileTime = fileTimeOfUnixEpoch + static_cast<std::uint64_t>(seconds) * 10000000ULL + hundredNanoseconds;
    return time;
}

WineHive::WineHive(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t nl = text.find('\n', start);
        const std::size_t stop = nl == std::string_view::npos ? text.size() : nl + 1;
        m_lines.emplace_back(text.substr(start, stop - start));
        start = stop;
    }
    parse();
}

std::string WineHive::text() const {
    std::string out;
    for (const auto& line : m_lines)
        out += line;
    return out;
}

void WineHive::parse() {
    m_sections.clear();
    m_valid = !m_lines.empty() && withoutTerminator(m_lines[0]) == headerLine;
    if (!m_valid)
        return;
    bool inSection = false; // false also after a key line that does not parse
    std::size_t i = 1;
    while (i < m_lines.size()) {
        const auto content = skipBlanks(withoutTerminator(m_lines[i]));
        if (startsWith(content, "[")) {
            if (!m_sections.empty() && m_sections.back().end == 0)
                m_sections.back().end = i;
            inSection = false;
            if (const auto path = readHiveString(content, 1, ']')) {
                Section section;
                section.upperNames = upperAll(splitPath(path->text));
                section.header = i;
                if (i + 1 < m_lines.size() && startsWith(skipBlanks(m_lines[i + 1]), "#time="))
                    section.timeLine = i + 1;
                m_sections.push_back(std::move(section));
                inSection = true;
            }
            ++i;
        } else if (inSection && (startsWith(content, "\"") || startsWith(content, "@"))) {
            parseValue(m_sections.back(), i);
        } else {
            ++i;
        }
    }
    if (!m_sections.empty() && m_sections.back().end == 0)
        m_sections.back().end = m_lines.size();
    m_sectionsByPath.clear();
    m_keys.clear();
    for (std::size_t index = 0; index < m_sections.size(); ++index) {
        const auto& names = m_sections[index].upperNames;
        m_sectionsByPath[joined(names)].push_back(index);
        for (std::size_t depth = 1; depth <= names.size(); ++depth)
            m_keys.insert(joined(names, depth));
    }
}

// Parses the value starting at line index (with its continuation lines) into the section and
// moves index past it. A value that does not parse, or whose continuation is cut off, is skipped.
void WineHive::parseValue(Section& section, std::size_t& index) {
    const auto content = skipBlanks(withoutTerminator(m_lines[index]));
    HiveValue value;
    value.line = index;
    std::size_t pos = 1;
    if (content.front() == '@') {
        value.isDefault = true;
    } else {
        const auto name = readHiveString(content, 1, '"');
        if (!name) {
            ++index;
            return;
        }
        value.name = name->text;
        pos = name->end;
    }
    auto rest = skipBlanks(content.substr(pos));
    if (!startsWith(rest, "=")) {
        ++index;
        return;
    }
    std::string data(skipBlanks(rest.substr(1)));
    std::size_t count = 1;
    bool complete = true;
    if (startsWith(data, "hex")) {
        while (trimRight(data).size() && trimRight(data).back() == '\\') {
            const std::size_t next = index + count;
            if (next >= m_lines.size() || startsWith(skipBlanks(m_lines[next]), "[")) {
                complete = false;
                break;
            }
            data = std::string(trimRight(data));
            data.pop_back();
            data += skipBlanks(withoutTerminator(m_lines[next]));
            ++count;
        }
    }
    value.lineCount = count;
    // A last line without its line end may be cut off; only a closing quote proves it whole.
    const bool cutOff = terminatorOf(m_lines[index + count - 1]).empty();
    if (complete && readData(data, value) && (value.textForm || !cutOff))
        section.values.push_back(std::move(value));
    index += count;
}

std::vector<std::size_t> WineHive::sectionsOf(const std::vector<std::string>& upperPath) const {
    const auto it = m_sectionsByPath.find(joined(upperPath));
    return it == m_sectionsByPath.end() ? std::vector<std::size_t>() : it->second;
}

bool WineHive::keyExists(std::string_view path) const {
    if (!m_valid)
        return false;
    const auto upper = upperAll(splitPath(path));
    return upper.empty() || m_keys.count(joined(upper)) != 0;
}

std::vector<HiveValue> WineHive::values(std::string_view path) const {
    std::vector<HiveValue> merged;
    std::unordered_map<std::string, std::size_t> byName;
    for (const std::size_t index : sectionsOf(upperAll(splitPath(path)))) {
        for (const auto& value : m_sections[index].values) {
            const auto [it, added] = byName.try_emplace(engine::upperUtf8(value.name), merged.size());
            if (added)
                merged.push_back(value);
            else
                merged[it->second] = value;
        }
    }
    return merged;
}

std::optional<HiveValue> WineHive::value(std::string_view path, std::string_view name) const {
    const auto upper = engine::upperUtf8(name);
    for (auto& value : values(path))
        if (engine::upperUtf8(value.name) == upper)
            return value;
    return std::nullopt;
}

std::string WineHive::lineEnd() const {
    return !m_lines.empty() && terminatorOf(m_lines[0]) == "\r\n" ? "\r\n" : "\n";
}

// Rewrites the key line's time and the "#time=" line; the bracketed path stays as it was.
void WineHive::touch(const Section& section, const HiveTime& time) {
    std::string& header = m_lines[section.header];
    const std::string terminator(terminatorOf(header));
    const auto content = withoutTerminator(header);
    const std::size_t indent = content.size() - skipBlanks(content).size();
    const auto path = readHiveString(content, indent + 1, ']');
    header = std::string(content.substr(0, path->end)) + " " + std::to_string(time.unixSeconds) + terminator;
    if (section.timeLine) {
        std::string& line = m_lines[*section.timeLine];
        line = "#time=" + fileTimeHex(time.fileTime) + std::string(terminatorOf(line));
    }
}

// Where a new value goes in a section: before the first value that sorts after it (Wine keeps
// values sorted by name), else after the last value or the key's "#" lines.
std::size_t WineHive::insertionLineFor(const Section& section, const std::string& upperName) const {
    for (const auto& value : section.values)
        if (engine::upperUtf8(value.name) > upperName)
            return value.line;
    if (!section.values.empty())
        return section.values.back().line + section.values.back().lineCount;
    std::size_t line = section.header + 1;
    while (line < section.end && startsWith(skipBlanks(m_lines[line]), "#"))
        ++line;
    return line;
}

// Where a new section goes: before the first section that sorts after it in Wine's order (a
// parent before its subkeys, siblings by name), else at the end.
std::size_t WineHive::insertionLineForKey(const std::vector<std::string>& upperPath) const {
    for (const auto& section : m_sections)
        if (std::lexicographical_compare(upperPath.begin(), upperPath.end(), section.upperNames.begin(),
                                         section.upperNames.end()))
            return section.header;
    return m_lines.size();
}

bool WineHive::setString(std::string_view path, std::string_view name, std::string_view data, const HiveTime& time) {
    const auto parts = splitPath(path);
    if (!m_valid || parts.empty())
        return false;
    const auto upperPath = upperAll(parts);
    const auto upperName = engine::upperUtf8(name);
    const std::string nl = lineEnd();
    const std::string line = (name.empty() ? std::string("@") : "\"" + escapeHiveString(name, "\"") + "\"") + "=\"" +
                             escapeHiveString(data, "\"") + "\"" + nl;
    auto sections = sectionsOf(upperPath);
    if (sections.empty()) {
        // A key that exists only as the parent of others has no section of its own in Wine's
        // files; its first value brings one.
        insertSection(parts, time);
        sections = sectionsOf(upperPath);
    }
    const Section* owner = nullptr;
    const HiveValue* existing = nullptr;
    for (const std::size_t index : sections)
        for (const auto& value : m_sections[index].values)
            if (engine::upperUtf8(value.name) == upperName) {
                owner = &m_sections[index];
                existing = &value;
            }
    if (existing) {
        const auto first = m_lines.begin() + static_cast<std::ptrdiff_t>(existing->line);
        m_lines.erase(first + 1, first + static_cast<std::ptrdiff_t>(existing->lineCount));
        m_lines[existing->line] = line;
        touch(*owner, time);
    } else {
        const Section& section = m_sections[sections.back()];
        const std::size_t at = insertionLineFor(section, upperName);
        if (at == m_lines.size() && terminatorOf(m_lines.back()).empty())
            m_lines.back() += nl;
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), line);
        touch(section, time);
    }
    parse();
    return true;
}

bool WineHive::removeValue(std::string_view path, std::string_view name, const HiveTime& time) {
    if (!m_valid)
        return false;
    const auto upperName = engine::upperUtf8(name);
    std::vector<std::pair<std::size_t, std::size_t>> ranges; // first line, count
    for (const std::size_t index : sectionsOf(upperAll(splitPath(path)))) {
        bool touched = false;
        for (const auto& value : m_sections[index].values)
            if (engine::upperUtf8(value.name) == upperName) {
                ranges.emplace_back(value.line, value.lineCount);
                touched = true;
            }
        if (touched)
            touch(m_sections[index], time);
    }
    if (ranges.empty())
        return false;
    std::sort(ranges.rbegin(), ranges.rend());
    for (const auto& [first, count] : ranges) {
        const auto begin = m_lines.begin() + static_cast<std::ptrdiff_t>(first);
        m_lines.erase(begin, begin + static_cast<std::ptrdiff_t>(count));
    }
    parse();
    return true;
}

bool WineHive::addKey(std::string_view path, const HiveTime& time) {
    const auto parts = splitPath(path);
    if (!m_valid || parts.empty())
        return false;
    if (!keyExists(path))
        insertSection(parts, time);
    return true;
}

std::vector<std::string> WineHive::sectionPaths() const {
    std::vector<std::string> paths;
    for (const auto& section : m_sections) {
        std::string path;
        for (const auto& part : section.upperNames)
            path += (path.empty() ? "" : "\\") + part;
        if (std::find(paths.begin(), paths.end(), path) == paths.end())
            paths.push_back(std::move(path));
    }
    return paths;
}

std::vector<std::size_t> WineHive::linesOf(std::string_view path, std::string_view name) const {
    std::vector<std::size_t> lines;
    const auto upperName = engine::upperUtf8(name);
    for (const std::size_t index : sectionsOf(upperAll(splitPath(path)))) {
        const Section& section = m_sections[index];
        lines.push_back(section.header);
        if (section.timeLine)
            lines.push_back(*section.timeLine);
        for (const auto& value : section.values)
            if (engine::upperUtf8(value.name) == upperName)
                for (std::size_t i = 0; i < value.lineCount; ++i)
                    lines.push_back(value.line + i);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Inserts an empty section for the key at its place in Wine's order.
void WineHive::insertSection(const std::vector<std::string>& parts, const HiveTime& time) {
    const std::string nl = lineEnd();
    std::vector<std::string> lines{"[" + escapedKeyPath(parts) + "] " + std::to_string(time.unixSeconds) + nl,
                                   "#time=" + fileTimeHex(time.fileTime) + nl};
    const std::size_t at = insertionLineForKey(upperAll(parts));
    if (at == m_lines.size()) {
        if (terminatorOf(m_lines.back()).empty())
            m_lines.back() += nl;
        lines.insert(lines.begin(), nl);
    } else {
        lines.push_back(nl);
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), lines.begin(), lines.end());
    parse();
}

} // namespace platform
