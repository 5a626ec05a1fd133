#include "registry/TitlesOrder.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> sorted(std::vector<std::string> lines) {
    registry::sortTitlesLines(lines);
    return lines;
}

TEST(TitlesOrder, IgnoresCaseOfLatinAndCyrillicLetters) {
    EXPECT_EQ(sorted({"c:\\b=1", "C:\\A=2", "C:\\Г=3", "c:\\в=4"}),
              (std::vector<std::string>{"C:\\A=2", "c:\\b=1", "c:\\в=4", "C:\\Г=3"}));
}

TEST(TitlesOrder, SignsBeforeDigitsBeforeLatinBeforeCyrillic) {
    EXPECT_EQ(sorted({"Я", "z", "5", "_", "а", "A", " "}),
              (std::vector<std::string>{" ", "_", "5", "A", "z", "а", "Я"}));
}

TEST(TitlesOrder, FollowsTheRussianAlphabet) {
    // In code points Ё and ё lie outside А..я; the alphabet puts them after Е.
    EXPECT_EQ(sorted({"ж", "Ё", "е", "Я", "й", "и"}), (std::vector<std::string>{"е", "Ё", "ж", "и", "й", "Я"}));
}

TEST(TitlesOrder, ComparesWholeLinesSoAShorterDirectoryComesFirst) {
    // "=" is a sign and sorts before any letter.
    EXPECT_EQ(sorted({"C:\\AB=a", "C:\\A=z"}), (std::vector<std::string>{"C:\\A=z", "C:\\AB=a"}));
    EXPECT_LT(registry::compareTitlesLines("C:\\A", "C:\\A\\"), 0);
}

TEST(TitlesOrder, IsTotalForLinesThatDifferOnlyInCase) {
    EXPECT_NE(registry::compareTitlesLines("abc", "ABC"), 0);
    EXPECT_EQ(registry::compareTitlesLines("abc", "ABC"), -registry::compareTitlesLines("ABC", "abc"));
    EXPECT_EQ(registry::compareTitlesLines("Ключ=1", "Ключ=1"), 0);
    EXPECT_EQ(sorted({"b", "aB", "Ab", "a"}), (std::vector<std::string>{"a", "Ab", "aB", "b"}));
}

} // namespace
