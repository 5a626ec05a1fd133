#include "registry/TitlesOrder.h"

#include "engine/CodePage.h"

#include <algorithm>
#include <array>
#include <utility>

namespace registry {

namespace {

// Cyrillic capitals of Windows-1251 in alphabet order; the letters of neighbouring alphabets
// follow the Russian letter they resemble.
constexpr std::array<char32_t, 47> CyrillicOrder = {
    U'А', U'Б', U'В', U'Г', U'Ґ', U'Ѓ', U'Д', U'Ђ', U'Е', U'Ё', U'Є', U'Ж', U'З', U'Ѕ', U'И', U'І',
    U'Ї', U'Й', U'Ј', U'К', U'Ќ', U'Л', U'Љ', U'М', U'Н', U'Њ', U'О', U'П', U'Р', U'С', U'Т', U'Ћ',
    U'У', U'Ў', U'Ф', U'Х', U'Ц', U'Ч', U'Џ', U'Ш', U'Щ', U'Ъ', U'Ы', U'Ь', U'Э', U'Ю', U'Я'};

char32_t upperCyrillic(char32_t c) {
    if (c >= U'а' && c <= U'я')
        return c - (U'а' - U'А');
    if (c >= U'ѐ' && c <= U'џ') // ѐ..џ: the small letters of Ѐ..Џ
        return c - (U'ѐ' - U'Ѐ');
    if (c == U'ґ')
        return U'Ґ';
    return c;
}

// Collation weight of one character: its class, then its place in the class.
std::pair<int, char32_t> weight(char32_t c) {
    if (c >= U'0' && c <= U'9')
        return {1, c};
    if (c >= U'a' && c <= U'z')
        return {2, c - U'a' + U'A'};
    if (c >= U'A' && c <= U'Z')
        return {2, c};
    const char32_t upper = upperCyrillic(c);
    const auto it = std::find(CyrillicOrder.begin(), CyrillicOrder.end(), upper);
    if (it != CyrillicOrder.end())
        return {3, static_cast<char32_t>(it - CyrillicOrder.begin())};
    if (c < 0x80 || (c >= 0xA0 && c < 0x250) || (c >= 0x2000 && c < 0x2200))
        return {0, c}; // blanks, punctuation, signs
    return {4, c};
}

std::u32string codePoints(std::string_view utf8) {
    std::u32string out;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto cp = engine::decodeUtf8(utf8, pos); // advances past malformed bytes too
        out.push_back(cp ? *cp : U'\uFFFD');
    }
    return out;
}

// A weight as one number: the class above the 21 bits of a code point, so numbers compare as
// weights do.
char32_t packed(std::pair<int, char32_t> weight) {
    return static_cast<char32_t>(weight.first) << 21 | weight.second;
}

} // namespace

TitlesSortKey titlesSortKey(std::string_view line) {
    TitlesSortKey key;
    key.codePoints = codePoints(line);
    key.weights.reserve(key.codePoints.size());
    for (const char32_t c : key.codePoints)
        key.weights.push_back(packed(weight(c)));
    return key;
}

int compareTitlesLines(std::string_view a, std::string_view b) {
    const auto x = titlesSortKey(a);
    const auto y = titlesSortKey(b);
    return x < y ? -1 : (x == y ? 0 : 1);
}

void sortTitlesLines(std::vector<std::string>& lines) {
    std::vector<std::pair<TitlesSortKey, std::string>> keyed;
    keyed.reserve(lines.size());
    for (auto& line : lines)
        keyed.emplace_back(titlesSortKey(line), std::move(line));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i] = std::move(keyed[i].second);
}

} // namespace registry
