#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// The text of a private-profile (INI) file, as bytes of its code page, with the lookup and edit
// rules of the Windows profile calls: section and key names without regard to case and with
// surrounding blanks ignored, the first section of a name and the first key of a name win, ";"
// starts a comment line. Editing touches only the line it has to; every other line keeps its
// bytes and its line ending.
class IniDocument {
public:
    explicit IniDocument(std::string_view bytes);

    // Value of the key (blanks around it removed, one pair of enclosing quotes stripped);
    // std::nullopt when the section or the key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Sets the key to value, written as it stands. An existing key line keeps everything up to
    // its "=" (and the blanks after it); a new key goes after the last non-blank line of the
    // section, a new section at the end of the file. Line endings follow the file (CR LF when it
    // has none yet).
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    std::string bytes() const;

private:
    struct Line {
        std::string text; // without its line ending
        std::string eol;  // "\r\n", "\n", "\r" or "" for a last line without one
    };

    // Index of the first header of the section, or npos.
    std::size_t findSection(std::string_view section) const;
    // Index of the first line after the section's lines (the next header or the end).
    std::size_t sectionEnd(std::size_t header) const;
    void insertLine(std::size_t at, std::string text);

    std::vector<Line> m_lines;
    std::string m_eol = "\r\n";
};

} // namespace settings
