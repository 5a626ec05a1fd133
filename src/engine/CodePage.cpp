#include "engine/CodePage.h"

#include <array>
#include <vector>

namespace engine {
namespace {

// Code points of bytes 0x80..0xFF; 0x98 of Windows-1251 is undefined and stands for U+0098.
constexpr std::array<char16_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

constexpr std::array<char16_t, 128> kCp866High = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C,
    0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429,
    0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436,
    0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, 0x0401, 0x0451, 0x0404, 0x0454, 0x0407,
    0x0457, 0x040E, 0x045E, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0};

struct ByteMaps {
    std::array<std::uint8_t, 256> ansiToOem{};
    std::array<std::uint8_t, 256> oemToAnsi{};
    std::array<std::uint8_t, 256> upperAnsi{};
    std::array<std::uint8_t, 256> upperOem{};
};

// Upper-case partner of a code point among the letters both code pages share; the code point
// itself otherwise.
char32_t upperShared(char32_t cp) {
    if (cp >= U'a' && cp <= U'z')
        return cp - 0x20;
    if (cp >= 0x0430 && cp <= 0x044F)
        return cp - 0x20;
    switch (cp) {
    case 0x0451:
        return 0x0401; // ё
    case 0x0454:
        return 0x0404; // є
    case 0x0457:
        return 0x0407; // ї
    case 0x045E:
        return 0x040E; // ў
    default:
        return cp;
    }
}

ByteMaps buildMaps() {
    ByteMaps m;
    std::vector<int> ansiOnly;
    std::vector<bool> oemTaken(128, false);
    for (int b = 0; b < 128; ++b) {
        m.ansiToOem[b] = static_cast<std::uint8_t>(b);
        m.oemToAnsi[b] = static_cast<std::uint8_t>(b);
    }
    for (int a = 0; a < 128; ++a) {
        int found = -1;
        for (int o = 0; o < 128; ++o)
            if (kCp866High[o] == kCp1251High[a])
                found = o;
        if (found < 0) {
            ansiOnly.push_back(a);
        } else {
            m.ansiToOem[0x80 + a] = static_cast<std::uint8_t>(0x80 + found);
            m.oemToAnsi[0x80 + found] = static_cast<std::uint8_t>(0x80 + a);
            oemTaken[found] = true;
        }
    }
    std::size_t next = 0;
    for (int o = 0; o < 128; ++o) {
        if (oemTaken[o])
            continue;
        const int a = ansiOnly.at(next++);
        m.ansiToOem[0x80 + a] = static_cast<std::uint8_t>(0x80 + o);
        m.oemToAnsi[0x80 + o] = static_cast<std::uint8_t>(0x80 + a);
    }
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        const auto ua = unicodeToCp1251(upperShared(cp1251ToUnicode(byte)));
        const auto uo = unicodeToCp866(upperShared(cp866ToUnicode(byte)));
        m.upperAnsi[b] = ua ? *ua : byte;
        m.upperOem[b] = uo ? *uo : byte;
    }
    return m;
}

const ByteMaps& maps() {
    static const ByteMaps m = buildMaps();
    return m;
}

// Byte of each code point below this bound that the code page holds (0: none); the upper halves of
// both code pages lie below it.
constexpr char32_t kReverseBound = 0x2600;
using ReverseTable = std::array<std::uint8_t, kReverseBound>;

ReverseTable buildReverse(const std::array<char16_t, 128>& high) {
    ReverseTable table{};
    for (std::size_t i = 0; i < high.size(); ++i)
        if (high[i] != 0 && high[i] < kReverseBound && table[high[i]] == 0)
            table[high[i]] = static_cast<std::uint8_t>(0x80 + i);
    return table;
}

std::optional<std::uint8_t> reverseLookup(const std::array<char16_t, 128>& high, char32_t cp) {
    if (cp < 0x80)
        return static_cast<std::uint8_t>(cp);
    static const ReverseTable cp1251 = buildReverse(kCp1251High);
    static const ReverseTable cp866 = buildReverse(kCp866High);
    const ReverseTable& table = &high == &kCp1251High ? cp1251 : cp866;
    if (cp < kReverseBound)
        return table[cp] != 0 ? std::optional<std::uint8_t>(table[cp]) : std::nullopt;
    for (std::size_t i = 0; i < high.size(); ++i) // above the bound: by search
        if (high[i] == cp)
            return static_cast<std::uint8_t>(0x80 + i);
    return std::nullopt;
}

std::string mapBytes(std::string_view bytes, const std::array<std::uint8_t, 256>& map) {
    std::string out(bytes);
    for (auto& c : out)
        c = static_cast<char>(map[static_cast<std::uint8_t>(c)]);
    return out;
}

std::string utf8FromHigh(std::string_view bytes, const std::array<char16_t, 128>& high) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        appendUtf8(out, b < 0x80 ? char32_t(b) : char32_t(high[b - 0x80]));
    }
    return out;
}

std::optional<std::string> strictFromUtf8(std::string_view utf8, const std::array<char16_t, 128>& high) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto cp = decodeUtf8(utf8, pos);
        if (!cp)
            return std::nullopt;
        const auto b = reverseLookup(high, *cp);
        if (!b)
            return std::nullopt;
        out.push_back(static_cast<char>(*b));
    }
    return out;
}

} // namespace

char32_t cp1251ToUnicode(std::uint8_t byte) {
    return byte < 0x80 ? byte : kCp1251High[byte - 0x80];
}
std::optional<std::uint8_t> unicodeToCp1251(char32_t cp) {
    return reverseLookup(kCp1251High, cp);
}
char32_t cp866ToUnicode(std::uint8_t byte) {
    return byte < 0x80 ? byte : kCp866High[byte - 0x80];
}
std::optional<std::uint8_t> unicodeToCp866(char32_t cp) {
    return reverseLookup(kCp866High, cp);
}

std::uint8_t ansiToOem(std::uint8_t byte) {
    return maps().ansiToOem[byte];
}
std::uint8_t oemToAnsi(std::uint8_t byte) {
    return maps().oemToAnsi[byte];
}
std::string ansiToOem(std::string_view bytes) {
    return mapBytes(bytes, maps().ansiToOem);
}
std::string oemToAnsi(std::string_view bytes) {
    return mapBytes(bytes, maps().oemToAnsi);
}

std::uint8_t upperAnsi(std::uint8_t byte) {
    return maps().upperAnsi[byte];
}
std::uint8_t upperOem(std::uint8_t byte) {
    return maps().upperOem[byte];
}
std::string upperAnsi(std::string_view bytes) {
    return mapBytes(bytes, maps().upperAnsi);
}
std::string upperOem(std::string_view bytes) {
    return mapBytes(bytes, maps().upperOem);
}

void upperInPlace(char* bytes, std::size_t n, bool ansi) {
    const auto& map = ansi ? maps().upperAnsi : maps().upperOem;
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<char>(map[static_cast<std::uint8_t>(bytes[i])]);
}

std::string upperUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const auto cp = decodeUtf8(utf8, pos);
        if (!cp) { // keep malformed bytes as they are
            out.append(utf8.substr(start, pos - start));
            continue;
        }
        appendUtf8(out, upperShared(*cp));
    }
    return out;
}

std::string utf8FromCp1251(std::string_view bytes) {
    return utf8FromHigh(bytes, kCp1251High);
}
std::optional<std::string> cp1251FromUtf8(std::string_view utf8) {
    return strictFromUtf8(utf8, kCp1251High);
}
std::string utf8FromCp866(std::string_view bytes) {
    return utf8FromHigh(bytes, kCp866High);
}
std::optional<std::string> cp866FromUtf8(std::string_view utf8) {
    return strictFromUtf8(utf8, kCp866High);
}

std::string cp1251FromUtf8Lossy(std::string_view utf8) {
    std::string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto cp = decodeUtf8(utf8, pos);
        const auto b = cp ? unicodeToCp1251(*cp) : std::nullopt;
        out.push_back(b ? static_cast<char>(*b) : '?');
    }
    return out;
}

bool isCp1251Text(std::string_view utf8) {
    return cp1251FromUtf8(utf8).has_value();
}

std::string firstNonCp1251Char(std::string_view utf8) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const auto cp = decodeUtf8(utf8, pos);
        if (!cp || !unicodeToCp1251(*cp))
            return std::string(utf8.substr(start, pos - start));
    }
    return {};
}

std::optional<char32_t> decodeUtf8(std::string_view s, std::size_t& pos) {
    const auto lead = static_cast<std::uint8_t>(s[pos]);
    int extra;
    char32_t cp;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        ++pos;
        return std::nullopt;
    }
    if (pos + extra >= s.size()) { // truncated sequence
        pos = s.size();
        return std::nullopt;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto c = static_cast<std::uint8_t>(s[pos + i]);
        if ((c & 0xC0) != 0x80) {
            pos += i;
            return std::nullopt;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    pos += extra + 1;
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

std::u16string utf16FromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size())
        appendUtf16(out, decodeUtf8(utf8, pos).value_or(kReplacementChar));
    return out;
}

std::string utf8FromUtf16(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char32_t unit = utf16[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        if (high && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? kReplacementChar : unit);
        }
    }
    return out;
}

} // namespace engine
