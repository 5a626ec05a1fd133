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

} // namespace

int compareTitlesLines(std::string_view a, std::string_view b) {
    const auto x = codePoints(a);
    const auto y = codePoints(b);
    const auto common = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto wx = weight(x[i]);
        const auto wy = weight(y[i]);
        if (wx != wy)
            return wx < wy ? -1 : 1;
    }
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
}

void sortTitlesLines(std::vector<std::string>& lines) {
    std::stable_sort(lines.begin(), lines.end(),
                     [](const std::string& a, const std::string& b) { return compareTitlesLines(a, b) < 0; });
}

} // namespace registry
