#include "registry/TitlesFile.h"

#include "CaseNames.h"
#include "support/TempDir.h"

#include "engine/CodePage.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace {

using registry::TitlesFileEntry;

struct DecodeCase {
    const char* what;
    std::string bytes;
    std::vector<TitlesFileEntry> entries;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.what;
}

class DecodeTitlesFile : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTitlesFile, GivesTheEntries) {
    EXPECT_EQ(registry::decodeTitlesFile(GetParam().bytes), GetParam().entries);
}

// Windows-1251 bytes: "\xCA\xE0" is "Ка", "\xC1\xE0\xE7\xE0" "База", "\xE1\xE0\xe7\xe0" "база".
INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeTitlesFile,
    ::testing::Values(DecodeCase{"empty", "", {}}, DecodeCase{"only breaks", "\r\n\n\r", {}},
                      DecodeCase{"all three breaks and a last line without one",
                                 "a=1\r\nb=2\rc=3\nd=4",
                                 {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}}},
                      DecodeCase{"break after the last line adds nothing", "a=1\r\n", {{"a", "1"}}},
                      DecodeCase{"CR CR is an empty line between", "a=1\r\rb=2", {{"a", "1"}, {"b", "2"}}},
                      DecodeCase{
                          "stops at the first NUL", std::string("a=1\r\nb=2\0c=3\r\n", 15), {{"a", "1"}, {"b", "2"}}},
                      DecodeCase{"splits at the first equals sign", "C:\\x=y=z\r\n", {{"C:\\x", "y=z"}}},
                      DecodeCase{"empty value", "C:\\x=\r\n", {{"C:\\x", ""}}},
                      DecodeCase{"lines without a key are skipped", "no equals\r\n=title\r\n\r\nk=v\r\n", {{"k", "v"}}},
                      DecodeCase{"a repeated key carries the first line's value, case aside",
                                 "C:\\\xC1\xE0\xE7\xE0=one\r\nx=2\r\nc:\\\xE1\xE0\xE7\xE0=two\r\n",
                                 {{"C:\\База", "one"}, {"x", "2"}, {"c:\\база", "one"}}},
                      DecodeCase{"Windows-1251 text", "\xCA\xE0=\xD2\x98", {{"Ка", "Т\u0098"}}},
                      DecodeCase{"blanks are kept", " a = b \r\n", {{" a ", " b "}}}),
    registrytest::caseName<::testing::TestParamInfo<DecodeCase>>);

TEST(TitlesFile, KeyAndValueAreCutTo255Characters) {
    const std::string key(300, 'k');
    const std::string value(300, '\xDF'); // "Я"
    const auto entries = registry::decodeTitlesFile(key + "=" + value + "\r\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].key, std::string(255, 'k'));
    std::string expected;
    for (int i = 0; i < 255; ++i)
        expected += "Я";
    EXPECT_EQ(entries[0].value, expected);
}

TEST(TitlesFile, AnyBytesGiveWellFormedEntries) {
    std::mt19937 random(20240611);
    const std::string alphabet("=\r\n\0a\xE0\xFF ", 9);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 700, ' ');
        for (char& c : bytes)
            c = random() % 4 ? alphabet[random() % alphabet.size()] : static_cast<char>(random());
        for (const auto& entry : registry::decodeTitlesFile(bytes)) {
            const auto key = engine::cp1251FromUtf8(entry.key);
            const auto value = engine::cp1251FromUtf8(entry.value);
            ASSERT_TRUE(key && value);
            EXPECT_FALSE(key->empty());
            EXPECT_LE(key->size(), 255u);
            EXPECT_LE(value->size(), 255u);
            EXPECT_EQ(key->find_first_of(std::string("=\r\n\0", 4)), std::string::npos);
            EXPECT_EQ(value->find_first_of(std::string("\r\n\0", 3)), std::string::npos);
        }
    }
}

TEST(TitlesFile, EncodesWindows1251LinesEachEndedByCrLfWithoutBom) {
    const auto bytes = registry::encodeTitlesFile({"C:\\1C\\Торговля\\=Торговля и склад", "D:\\X=€ ⌘"});
    EXPECT_EQ(bytes, "C:\\1C\\\xD2\xEE\xF0\xE3\xEE\xE2\xEB\xFF\\=\xD2\xEE\xF0\xE3\xEE\xE2\xEB\xFF \xE8 "
                     "\xF1\xEA\xEB\xE0\xE4\r\nD:\\X=\x88 ?\r\n");
    EXPECT_EQ(registry::encodeTitlesFile({}), "");
}

TEST(TitlesFile, WhatIsWrittenReadsBackAsTheSameEntries) {
    const std::vector<std::string> lines{"C:\\Базы\\Склад\\=Склад № 1", "c:\\a=b=c", "E:\\=", " x = y "};
    const auto entries = registry::decodeTitlesFile(registry::encodeTitlesFile(lines));
    EXPECT_EQ(entries, (std::vector<TitlesFileEntry>{
                           {"C:\\Базы\\Склад\\", "Склад № 1"}, {"c:\\a", "b=c"}, {"E:\\", ""}, {" x ", " y "}}));
}

TEST(TitlesFile, SaveReplacesTheContentAndLoadReadsIt) {
    testsupport::TempDir dir;
    const auto path = dir.file("keys.txt");
    testsupport::writeFile(path, std::string(1000, 'x'));
    registry::saveTitlesFile(path, {"C:\\A=Альфа"});
    EXPECT_EQ(testsupport::readFile(path), "C:\\A=\xC0\xEB\xFC\xF4\xE0\r\n");
    EXPECT_EQ(registry::loadTitlesFile(path), (std::vector<TitlesFileEntry>{{"C:\\A", "Альфа"}}));
}

TEST(TitlesFile, LoadsTheSampleFiles) {
    const auto entries =
        registry::loadTitlesFile(testsupport::testFixture("registry/mixed-breaks-nul-and-repeats.txt"));
    EXPECT_EQ(entries, (std::vector<TitlesFileEntry>{{"C:\\1C\\Торговля\\", "Торговля и склад"},
                                                     {"D:\\Bases\\Зарплата", "Зарплата"},
                                                     {"c:\\1c\\торговля\\", "Торговля и склад"},
                                                     {"E:\\Last", "без перевода строки"}}));
    EXPECT_TRUE(registry::loadTitlesFile(testsupport::testFixture("registry/only-lines-without-key.txt")).empty());
}

TEST(TitlesFile, FileErrorsAreReported) {
    testsupport::TempDir dir;
    EXPECT_THROW(registry::loadTitlesFile(dir.file("missing.txt")), registry::TitlesFileError);
    EXPECT_THROW(registry::loadTitlesFile(dir.path().string()), registry::TitlesFileError);
    EXPECT_THROW(registry::saveTitlesFile(dir.file("no/such/dir/keys.txt"), {"a=b"}), registry::TitlesFileError);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "no"));
    try {
        registry::loadTitlesFile(dir.file("missing.txt"));
    } catch (const registry::TitlesFileError& error) {
        EXPECT_EQ(std::string(error.what()), "Не удалось прочитать файл \"" + dir.file("missing.txt") + "\"");
    }
    // An export over a read-only file leaves it as it is.
    testsupport::writeFile(dir.path() / "keys.txt", "C:\\Old=Old\r\n");
    std::filesystem::permissions(dir.path() / "keys.txt", std::filesystem::perms(0444));
    try {
        registry::saveTitlesFile(dir.file("keys.txt"), {"a=b"});
        ADD_FAILURE() << "no error";
    } catch (const registry::TitlesFileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Не удалось записать файл \"" + dir.file("keys.txt") + "\": файл только для чтения");
    }
    EXPECT_EQ(testsupport::readFile(dir.path() / "keys.txt"), "C:\\Old=Old\r\n");
}

} // namespace
