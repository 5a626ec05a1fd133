#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Strings of Wine's registry text format: key names between brackets, value names and string data
// between double quotes, with backslash escapes and UTF-16 code units as "\x" hex.
namespace platform {

struct HiveStringRead {
    std::string text; // UTF-8; embedded NULs kept
    std::size_t end;  // index just after the closing delimiter
};

// Reads an escaped string from pos (just after the opening delimiter) up to the first unescaped
// delimiter. Accepts "\\", "\"", the C letter escapes, "\x" with 1-4 hex digits, octal with 1-3
// digits, "\" before any other character (that character) and raw UTF-8. std::nullopt when the
// line ends before the delimiter.
std::optional<HiveStringRead> readHiveString(std::string_view line, std::size_t pos, char delimiter);

// Escapes UTF-8 text the way the reader above reads it back: the backslash and every character of
// extra get a backslash, control characters their letter or three octal digits, and every code
// unit above 0x7F is written as "\x" with four hex digits, so the file stays ASCII. Malformed UTF-8
// is written as U+FFFD.
std::string escapeHiveString(std::string_view utf8, std::string_view extra);

} // namespace platform
