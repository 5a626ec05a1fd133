#include "settings/IniDocument.h"

#include "engine/CodePage.h"

namespace settings {
namespace {

// What the profile calls take for blanks around lines, names and values (Ctrl-Z included).
constexpr std::string_view kBlanks = " \t\r\n\v\f\x1A";

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    return engine::upperAnsi(trim(a)) == engine::upperAnsi(trim(b));
}

enum class LineKind { Blank, Comment, Section, Key, Other };

struct Parsed {
    LineKind kind = LineKind::Other;
    std::string_view name;  // section or key name
    std::string_view value; // key value, trimmed
};

Parsed parse(std::string_view text) {
    const auto t = trim(text);
    if (t.empty())
        return {LineKind::Blank, {}, {}};
    if (t.front() == ';')
        return {LineKind::Comment, {}, {}};
    if (t.front() == '[') {
        // The name runs to the last "]" of the line.
        const auto close = t.rfind(']');
        if (close != std::string_view::npos)
            return {LineKind::Section, trim(t.substr(1, close - 1)), {}};
    }
    const auto eq = t.find('=');
    if (eq == std::string_view::npos)
        return {LineKind::Other, {}, {}};
    return {LineKind::Key, trim(t.substr(0, eq)), trim(t.substr(eq + 1))};
}

} // namespace

IniDocument::IniDocument(std::string_view bytes) {
    // Lines end at LF; a file without any LF is split at CR.
    const char separator = bytes.find('\n') != std::string_view::npos ? '\n' : '\r';
    bool eolKnown = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto end = bytes.find(separator, pos);
        Line line;
        if (end == std::string_view::npos) {
            line.text = std::string(bytes.substr(pos));
            pos = bytes.size();
        } else {
            std::size_t textEnd = end;
            if (separator == '\n' && textEnd > pos && bytes[textEnd - 1] == '\r')
                --textEnd;
            line.text = std::string(bytes.substr(pos, textEnd - pos));
            line.eol = std::string(bytes.substr(textEnd, end + 1 - textEnd));
            pos = end + 1;
            if (!eolKnown) {
                m_eol = line.eol;
                eolKnown = true;
            }
        }
        m_lines.push_back(std::move(line));
    }
}

std::size_t IniDocument::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const auto p = parse(m_lines[i].text);
        if (p.kind == LineKind::Section && sameName(p.name, section))
            return i;
    }
    return std::string::npos;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < m_lines.size() && parse(m_lines[i].text).kind != LineKind::Section)
        ++i;
    return i;
}

std::optional<std::string> IniDocument::value(std::string_view section, std::string_view key) const {
    const auto header = findSection(section);
    if (header == std::string::npos)
        return std::nullopt;
    const auto end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const auto p = parse(m_lines[i].text);
        if (p.kind != LineKind::Key || !sameName(p.name, key))
            continue;
        auto v = p.value;
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        return std::string(v);
    }
    return std::nullopt;
}

void IniDocument::insertLine(std::size_t at, std::string text) {
    // The line before the new one must end first.
    if (at > 0 && m_lines[at - 1].eol.empty())
        m_lines[at - 1].eol = m_eol;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), m_eol});
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string keyLine = std::string(trim(key)) + "=" + std::string(value);
    const auto header = findSection(section);
    if (header == std::string::npos) {
        insertLine(m_lines.size(), "[" + std::string(trim(section)) + "]");
        insertLine(m_lines.size(), keyLine);
        return;
    }
    const auto end = sectionEnd(header);
    std::size_t lastFilled = header;
    for (std::size_t i = header + 1; i < end; ++i) {
        const auto p = parse(m_lines[i].text);
        if (p.kind == LineKind::Key && sameName(p.name, key)) {
            std::string& text = m_lines[i].text;
            std::size_t keep = text.find('=') + 1;
            // Keep the spacing after "=" when a value followed it ("key = 1" stays "key = 0").
            const auto valueStart = text.find_first_not_of(" \t", keep);
            if (valueStart != std::string::npos && !trim(text.substr(valueStart)).empty())
                keep = valueStart;
            text = text.substr(0, keep) + std::string(value);
            return;
        }
        if (p.kind != LineKind::Blank)
            lastFilled = i;
    }
    insertLine(lastFilled + 1, keyLine);
}

std::string IniDocument::bytes() const {
    std::string out;
    for (const auto& line : m_lines) {
        out += line.text;
        out += line.eol;
    }
    return out;
}

} // namespace settings
