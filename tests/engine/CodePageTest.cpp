#include "engine/CodePage.h"

#include <gtest/gtest.h>
#include <set>

using namespace engine;

TEST(CodePage, AnsiOemMapsAreMutualInversesOverAllBytes) {
    std::set<int> images;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        EXPECT_EQ(oemToAnsi(ansiToOem(byte)), byte) << b;
        EXPECT_EQ(ansiToOem(oemToAnsi(byte)), byte) << b;
        images.insert(ansiToOem(byte));
    }
    EXPECT_EQ(images.size(), 256u);
}

TEST(CodePage, SharedCharactersMapToEachOther) {
    // Every byte whose character exists in both code pages maps to that character's byte.
    for (int b = 0; b < 256; ++b) {
        const auto cp = cp1251ToUnicode(static_cast<std::uint8_t>(b));
        if (const auto oem = unicodeToCp866(cp)) {
            EXPECT_EQ(ansiToOem(static_cast<std::uint8_t>(b)), *oem) << b;
        }
    }
    EXPECT_EQ(ansiToOem(std::uint8_t{0xC0}), 0x80); // А
    EXPECT_EQ(ansiToOem(std::uint8_t{0xFF}), 0xEF); // я
    EXPECT_EQ(ansiToOem(std::uint8_t{0xA8}), 0xF0); // Ё
    EXPECT_EQ(ansiToOem(std::uint8_t{0xB9}), 0xFC); // №
}

TEST(CodePage, CyrillicRoundTrips) {
    const std::string text = "Бухгалтерия ёЁ єЄ їЇ ўЎ №5 «Торговля» — 2003";
    const auto ansi = cp1251FromUtf8(text);
    ASSERT_TRUE(ansi);
    EXPECT_EQ(utf8FromCp1251(*ansi), text);
    EXPECT_EQ(utf8FromCp1251(oemToAnsi(ansiToOem(*ansi))), text);
    const auto oem = cp866FromUtf8("Склад");
    ASSERT_TRUE(oem);
    EXPECT_EQ(*oem, "\x91\xaa\xab\xa0\xa4");
    EXPECT_EQ(utf8FromCp866(*oem), "Склад");
}

TEST(CodePage, EveryAnsiByteSurvivesUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const auto back = cp1251FromUtf8(utf8FromCp1251(all));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, all);
    EXPECT_EQ(cp1251ToUnicode(0x98), char32_t{0x98});
}

TEST(CodePage, CharactersOutsideCp1251AreRefusedOrReplaced) {
    EXPECT_FALSE(cp1251FromUtf8("日本"));
    EXPECT_FALSE(cp1251FromUtf8("\xff\xfe")); // not UTF-8
    EXPECT_FALSE(cp1251FromUtf8("\xd0"));     // truncated sequence
    EXPECT_EQ(cp1251FromUtf8Lossy("a日b"), "a?b");
    EXPECT_EQ(firstNonCp1251Char("Склад ☺ x"), "☺");
    EXPECT_EQ(firstNonCp1251Char("Склад"), "");
    EXPECT_TRUE(isCp1251Text("C:\\Базы\\"));
}

TEST(CodePage, UpperCasingCommutesWithTheOemMap) {
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        EXPECT_EQ(ansiToOem(upperAnsi(byte)), upperOem(ansiToOem(byte))) << b;
    }
    EXPECT_EQ(upperUtf8("c:\\базы\\ёлка єїў z"), "C:\\БАЗЫ\\ЁЛКА ЄЇЎ Z");
    EXPECT_EQ(upperUtf8("іґ"), "іґ"); // letters without an OEM counterpart stay as they are
    EXPECT_EQ(utf8FromCp1251(upperAnsi(*cp1251FromUtf8("ярлык"))), "ЯРЛЫК");
}

TEST(CodePage, Utf16ConversionsPairSurrogatesAndReplaceWhatTheyCannotDecode) {
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    const Case roundTrips[] = {
        {"", u""},
        {"Склад №2", u"Склад №2"},
        {"\xF0\x9F\x98\x80!", {0xD83D, 0xDE00, u'!'}}, // above U+FFFF: a surrogate pair
        {"\xEF\xBF\xBF", {0xFFFF}},
        {"\xF4\x8F\xBF\xBF", {0xDBFF, 0xDFFF}}, // U+10FFFF
    };
    for (const auto& c : roundTrips) {
        EXPECT_EQ(utf16FromUtf8(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(utf8FromUtf16(c.utf16), c.utf8) << c.utf8;
    }
    const Case fromUtf8[] = {
        {"a\xFFz", u"a\uFFFDz"},
        {"\xED\xA0\x80", u"\uFFFD"},     // an encoded surrogate is not UTF-8
        {"\xF4\x90\x80\x80", u"\uFFFD"}, // above U+10FFFF
        {"x\xD0", u"x\uFFFD"},           // truncated at the end
    };
    for (const auto& c : fromUtf8)
        EXPECT_EQ(utf16FromUtf8(c.utf8), c.utf16) << c.utf8;
    const Case fromUtf16[] = {
        {"\xEF\xBF\xBDz", {0xD800, u'z'}}, // high surrogate without its low half
        {"z\xEF\xBF\xBD", {u'z', 0xDC00}}, // low surrogate alone
        {"\xEF\xBF\xBD\xEF\xBF\xBD", {0xDC00, 0xD800}},
    };
    for (const auto& c : fromUtf16)
        EXPECT_EQ(utf8FromUtf16(c.utf16), c.utf8) << c.utf8;
}
