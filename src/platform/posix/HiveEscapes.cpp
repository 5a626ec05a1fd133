#include "platform/posix/HiveEscapes.h"

#include "engine/CodePage.h"

namespace platform {

namespace {

bool isOctal(char c) {
    return c >= '0' && c <= '7';
}

char16_t letterEscape(char c) {
    switch (c) {
    case 'a':
        return 7;
    case 'b':
        return 8;
    case 't':
        return 9;
    case 'n':
        return 10;
    case 'v':
        return 11;
    case 'f':
        return 12;
    case 'r':
        return 13;
    case 'e':
        return 27;
    default:
        return 0;
    }
}

char escapeLetter(char16_t u) {
    switch (u) {
    case 7:
        return 'a';
    case 8:
        return 'b';
    case 9:
        return 't';
    case 10:
        return 'n';
    case 11:
        return 'v';
    case 12:
        return 'f';
    case 13:
        return 'r';
    case 27:
        return 'e';
    default:
        return 0;
    }
}

} // namespace

std::optional<HiveStringRead> readHiveString(std::string_view line, std::size_t pos, char delimiter) {
    std::u16string units;
    while (pos < line.size()) {
        const char c = line[pos];
        if (c == delimiter)
            return HiveStringRead{engine::utf8FromUtf16(units), pos + 1};
        if (c == '\\' && pos + 1 < line.size() && static_cast<unsigned char>(line[pos + 1]) < 0x80) {
            const char e = line[pos + 1];
            pos += 2;
            if (const char16_t letter = letterEscape(e)) {
                units.push_back(letter);
            } else if (e == 'x') {
                unsigned value = 0;
                int digits = 0;
                while (digits < 4 && pos < line.size() && engine::hexDigitValue(line[pos]) >= 0) {
                    value = value * 16 + static_cast<unsigned>(engine::hexDigitValue(line[pos++]));
                    ++digits;
                }
                units.push_back(digits ? static_cast<char16_t>(value) : u'x');
            } else if (isOctal(e)) {
                unsigned value = static_cast<unsigned>(e - '0');
                for (int digits = 1; digits < 3 && pos < line.size() && isOctal(line[pos]); ++digits)
                    value = value * 8 + static_cast<unsigned>(line[pos++] - '0');
                units.push_back(static_cast<char16_t>(value));
            } else {
                units.push_back(static_cast<char16_t>(e));
            }
            continue;
        }
        if (c == '\\') { // backslash before raw UTF-8 (or at the end of the line): the character itself
            ++pos;
            if (pos >= line.size())
                return std::nullopt;
        }
        const auto cp = engine::decodeUtf8(line, pos);
        engine::appendUtf16(units, cp ? *cp : engine::kReplacementChar);
    }
    return std::nullopt;
}

std::string escapeHiveString(std::string_view utf8, std::string_view extra) {
    const std::u16string units = engine::utf16FromUtf8(utf8);
    static constexpr char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(units.size());
    for (const char16_t u : units) {
        if (u == '\\' || (u < 0x80 && extra.find(static_cast<char>(u)) != std::string_view::npos)) {
            out.push_back('\\');
            out.push_back(static_cast<char>(u));
        } else if (u > 0x7F) {
            out += "\\x";
            for (int shift = 12; shift >= 0; shift -= 4)
                out.push_back(hex[(u >> shift) & 0xF]);
        } else if (u < 0x20) {
            out.push_back('\\');
            if (const char letter = escapeLetter(u)) {
                out.push_back(letter);
            } else {
                out.push_back(static_cast<char>('0' + ((u >> 6) & 7)));
                out.push_back(static_cast<char>('0' + ((u >> 3) & 7)));
                out.push_back(static_cast<char>('0' + (u & 7)));
            }
        } else {
            out.push_back(static_cast<char>(u));
        }
    }
    return out;
}

} // namespace platform
