#pragma once
#include <string>
#include <string_view>
#include <vector>

// Order of the Titles list: whole lines compared without regard to case by the Russian collation
// the user works in, made deterministic so every machine sorts alike.
namespace registry {

// Negative, zero or positive as a sorts before, with or after b. Characters compare by class
// first (blanks, punctuation and other signs by code point; then digits; then Latin letters;
// then Cyrillic letters in alphabet order, Ё after Е; then everything else by code point),
// letters without regard to case. Lines equal in that order compare by their code points, so
// the order is total.
int compareTitlesLines(std::string_view a, std::string_view b);

// The same order as a key made once per line, for sorting many lines: keys compare as their
// lines do.
struct TitlesSortKey {
    std::u32string weights;    // class and place of each character
    std::u32string codePoints; // the tie-break
    auto operator<=>(const TitlesSortKey&) const = default;
};
TitlesSortKey titlesSortKey(std::string_view line);

void sortTitlesLines(std::vector<std::string>& lines);

} // namespace registry
