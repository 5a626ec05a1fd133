#include "platform/posix/WineHive.h"
#include "platform/posix/HiveEscapes.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using platform::HiveTime;
using platform::WineHive;
namespace hivetype = platform::hivetype;

namespace {

const char* const titles = "Software\\1C\\1Cv7\\7.7\\Titles";

WineHive fixtureHive(const std::string& name) {
    return WineHive(testsupport::readFile(testsupport::testFixture(name)));
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto nl = text.find('\n', start);
        const auto stop = nl == std::string::npos ? text.size() : nl + 1;
        lines.push_back(text.substr(start, stop - start));
        start = stop;
    }
    return lines;
}

} // namespace

TEST(HiveEscapes, ReadsEveryEscapeWineWrites) {
    struct Case {
        std::string line;
        std::string text;
    } cases[] = {
        {R"(plain")", "plain"},
        {R"(a\\b\"c")", "a\\b\"c"},
        {R"(\x41f\x440\x438")", "При"},
        {R"(\x04302")", "а2"}, // four digits: the "2" after them is text
        {R"(\x20b9")", "\u20B9"},
        {R"(\xd83d\xde00")", "\U0001F600"},
        {R"(\xd800x")", "\uFFFDx"}, // a lone surrogate
        {R"(\1Q\033\0")", std::string("\x01Q\x1B\0", 4)},
        {R"(\t\n\r\a\e")", "\t\n\r\a\x1B"},
        {R"(\q\xg")", "qxg"}, // any other character, and "\x" without digits
        {"raw \xD0\x9F\xD1\x80\"", "raw Пр"},
        {R"(key\[1\]])", "key[1]"},
    };
    for (const auto& c : cases) {
        const char delimiter = c.line.back();
        const auto read = platform::readHiveString(c.line, 0, delimiter);
        ASSERT_TRUE(read) << c.line;
        EXPECT_EQ(read->text, c.text) << c.line;
        EXPECT_EQ(read->end, c.line.size()) << c.line;
    }
    EXPECT_FALSE(platform::readHiveString(R"(no end)", 0, '"'));
    EXPECT_FALSE(platform::readHiveString(R"(escaped end\")", 0, '"'));
}

TEST(HiveEscapes, WritesAsciiThatReadsBack) {
    EXPECT_EQ(platform::escapeHiveString("Бух2003", "\""), R"(\x0411\x0443\x04452003)");
    EXPECT_EQ(platform::escapeHiveString("Путь \"C:\\1C\"", "\""), R"(\x041f\x0443\x0442\x044c \"C:\\1C\")");
    EXPECT_EQ(platform::escapeHiveString("a[b]", "[]"), R"(a\[b\])");
    EXPECT_EQ(platform::escapeHiveString(std::string("\x01\t7", 3), "\""), R"(\001\t7)");
    for (const std::string text : {"Бух2003",
                                   "ё\\\"\t\x01"
                                   "7",
                                   "\U0001F600 ok"}) {
        const auto read = platform::readHiveString(platform::escapeHiveString(text, "\"") + "\"", 0, '"');
        ASSERT_TRUE(read);
        EXPECT_EQ(read->text, text);
    }
}

TEST(WineHive, ReadsEveryValueFormOfTheSmallFixture) {
    const auto hive = fixtureHive("platform/small.reg");
    ASSERT_TRUE(hive.isValid());
    const auto values = hive.values(titles);
    ASSERT_EQ(values.size(), 7u);

    EXPECT_TRUE(values[0].isDefault);
    EXPECT_EQ(values[0].data, "Default title");
    EXPECT_EQ(values[1].name, "C:\\Bases\\Бух\\");
    EXPECT_EQ(values[1].data, "Бухгалтерия \"2003\"");
    EXPECT_EQ(values[1].type, hivetype::sz);
    EXPECT_EQ(values[2].type, hivetype::dword);
    EXPECT_EQ(values[2].data, std::string("\x2a\0\0\0", 4));
    EXPECT_EQ(values[3].name, "Blob");
    EXPECT_EQ(values[3].type, hivetype::binary);
    EXPECT_EQ(values[3].lineCount, 2u);
    EXPECT_EQ(values[3].data.size(), 26u);
    EXPECT_EQ(values[3].data.back(), '\x1a');
    EXPECT_EQ(values[4].type, hivetype::expandSz);
    EXPECT_EQ(values[4].data, "%USERPROFILE%\\Desktop");
    EXPECT_EQ(values[5].name, "Путь");
    EXPECT_EQ(values[5].data, "C:\\Базы\\");
    EXPECT_EQ(values[6].data, "a\x01"
                              "b\x1b"
                              "c\tz");
}

TEST(WineHive, KeysAndNamesMatchWithoutRegardToCase) {
    const auto hive = fixtureHive("platform/small.reg");
    EXPECT_TRUE(hive.keyExists("SOFTWARE\\1c\\1CV7\\7.7\\titles"));
    EXPECT_TRUE(hive.keyExists("\\Software\\1C\\1Cv7\\7.7\\Titles\\"));
    EXPECT_EQ(hive.value(titles, "ПУТЬ")->data, "C:\\Базы\\");
    EXPECT_EQ(hive.value(titles, "путь")->data, "C:\\Базы\\");
    EXPECT_EQ(hive.value(titles, "c:\\bases\\БУХ\\")->name, "C:\\Bases\\Бух\\");
    EXPECT_EQ(hive.value(titles, "COUNT")->type, hivetype::dword);
    EXPECT_FALSE(hive.value(titles, "Missing"));
}

TEST(WineHive, KeyWithOnlySubkeysExists) {
    const auto hive = fixtureHive("platform/small.reg");
    for (const char* path :
         {"Software", "Software\\Vendor", "software\\vendor\\implicit", "Software\\Vendor\\Implicit\\Leaf"})
        EXPECT_TRUE(hive.keyExists(path)) << path;
    EXPECT_TRUE(hive.values("Software\\Vendor\\Implicit").empty());
    for (const char* path : {"Software\\Vend", "Software\\Vendor\\Implicit\\Leaf\\Deeper", "Other"})
        EXPECT_FALSE(hive.keyExists(path)) << path;
}

// Wine writes no section for a key that only has subkeys: its first value gets one, in Wine's
// form and before the subkeys' sections.
TEST(WineHive, AValueOfAKeyThatOnlyHasSubkeysGetsTheKeysOwnSection) {
    WineHive hive("WINE REGISTRY Version 2\n\n[Software\\\\1C\\\\1Cv7\\\\7.7\\\\Titles\\\\Sub] 1\n\"x\"=\"y\"\n");
    const std::string titles = "Software\\1C\\1Cv7\\7.7\\Titles";
    ASSERT_TRUE(hive.keyExists(titles));
    ASSERT_TRUE(hive.setString(titles, "C:\\Base\\", "Base", HiveTime::fromUnix(1700000000)));
    EXPECT_EQ(hive.text(), "WINE REGISTRY Version 2\n\n"
                           "[Software\\\\1C\\\\1Cv7\\\\7.7\\\\Titles] 1700000000\n#time=1da1747c66d0000\n"
                           "\"C:\\\\Base\\\\\"=\"Base\"\n\n"
                           "[Software\\\\1C\\\\1Cv7\\\\7.7\\\\Titles\\\\Sub] 1\n\"x\"=\"y\"\n");
    EXPECT_EQ(WineHive(hive.text()).value(titles, "c:\\base\\")->data, "Base");
    EXPECT_EQ(WineHive(hive.text()).value(titles + "\\Sub", "x")->data, "y");
}

TEST(WineHive, ReadsTheTitlesOfAWineWrittenHive) {
    const WineHive hive(testsupport::readFile(testsupport::sharedFixture("wine/user.reg")));
    ASSERT_TRUE(hive.isValid());
    const auto values = hive.values(titles);
    ASSERT_EQ(values.size(), 8u);
    EXPECT_EQ(hive.value(titles, "C:\\Bases\\Ascii\\")->data, "Plain ASCII title");
    EXPECT_EQ(hive.value(titles, "C:\\Bases\\Торговля\\")->data, "Торговля и склад");
    EXPECT_EQ(hive.value(titles, "C:\\База2\\Ф1C")->data, "Склад-2 abc");
    EXPECT_EQ(hive.value(titles, "D:\\1C\\Бух \"кавычки\"")->data, "Бух; с \\обратным\\ слэшем");
    EXPECT_EQ(hive.value(titles, "C:\\Bases\\ansi_Склад\\")->data, "Склад (cp1251 bytes via A API)");
    EXPECT_EQ(hive.value(titles, "C:\\Bases\\ansi_\u00d1\u00ea\u00eb\u00e0\u00e4\\")->data,
              "\u00d1\u00ea\u00eb\u00e0\u00e4 (cp1251 bytes via A API)");
    const auto font = hive.value("Control Panel\\Desktop\\WindowMetrics", "CaptionFont");
    ASSERT_TRUE(font);
    EXPECT_EQ(font->lineCount, 4u);
    EXPECT_EQ(font->data.size(), 92u);
}

TEST(WineHive, ChangingAValueChangesOnlyItsLineAndTheKeyTime) {
    const std::string original = testsupport::readFile(testsupport::sharedFixture("wine/user.reg"));
    WineHive hive(original);
    ASSERT_TRUE(hive.setString(titles, "C:\\Bases\\Ascii\\", "Бух2003", HiveTime::fromUnix(1800000000)));
    const auto before = linesOf(original);
    const auto after = linesOf(hive.text());
    ASSERT_EQ(before.size(), after.size());
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i] != after[i])
            changed.push_back(after[i]);
    const std::vector<std::string> expected{"[Software\\\\1C\\\\1Cv7\\\\7.7\\\\Titles] 1800000000\n",
                                            "#time=1dda4c66b338000\n",
                                            "\"C:\\\\Bases\\\\Ascii\\\\\"=\"\\x0411\\x0443\\x04452003\"\n"};
    EXPECT_EQ(changed, expected);
    EXPECT_EQ(WineHive(hive.text()).value(titles, "c:\\bases\\ascii\\")->data, "Бух2003");
}

TEST(WineHive, ReplacingAContinuedValueAndRemovingValues) {
    auto hive = fixtureHive("platform/small.reg");
    const auto time = HiveTime::fromUnix(1700000200);
    ASSERT_TRUE(hive.setString(titles, "blob", "text now", time));
    EXPECT_EQ(hive.value(titles, "Blob")->type, hivetype::sz);
    EXPECT_EQ(hive.text().find("18,19,1a"), std::string::npos);

    ASSERT_TRUE(hive.removeValue(titles, "путь", time));
    EXPECT_FALSE(hive.value(titles, "Путь"));
    EXPECT_FALSE(hive.removeValue(titles, "Путь", time));
    EXPECT_EQ(hive.values(titles).size(), 6u);
    EXPECT_EQ(hive.value("Software\\Vendor\\Implicit\\Leaf", "Name")->data, "leaf");
}

TEST(WineHive, NewValueGoesInNameOrderAndNewKeyInWinesForm) {
    auto hive = fixtureHive("platform/small.reg");
    const auto time = HiveTime::fromUnix(1700000000);
    ASSERT_TRUE(hive.setString(titles, "C:\\Bases\\Ascii\\", "new", time));
    const std::string text = hive.text();
    EXPECT_LT(text.find("\"C:\\\\Bases\\\\Ascii"), text.find("\"C:\\\\Bases\\\\\\x411"));
    EXPECT_GT(text.find("\"C:\\\\Bases\\\\Ascii"), text.find("@=\"Default"));

    ASSERT_TRUE(hive.setString("Software\\Tarvesk\\Новый", "", "x", time));
    const std::string section = "[Software\\\\Tarvesk\\\\\\x041d\\x043e\\x0432\\x044b\\x0439] 1700000000\n"
                                "#time=1da1747c66d0000\n@=\"x\"\n\n[Software\\\\Vendor";
    EXPECT_NE(hive.text().find(section), std::string::npos) << hive.text();
    EXPECT_TRUE(hive.keyExists("software\\tarvesk"));

    ASSERT_TRUE(hive.addKey("Zzz\\Last", time));
    EXPECT_NE(hive.text().find("\"Name\"=\"leaf\"\n\n[Zzz\\\\Last] 1700000000\n#time=1da1747c66d0000\n"),
              std::string::npos);
    const std::string once = hive.text();
    ASSERT_TRUE(hive.addKey("zzz\\LAST", time));
    EXPECT_EQ(hive.text(), once);
}

TEST(WineHive, RepeatedSectionsMergeAndTheLaterLineWins) {
    WineHive hive("WINE REGISTRY Version 2\n\n[K] 1\n\"a\"=\"first\"\n\"b\"=\"b\"\n\n[k] 2\n\"A\"=\"second\"\n");
    const auto values = hive.values("K");
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].data, "second");
    ASSERT_TRUE(hive.setString("K", "a", "third", HiveTime::fromUnix(3)));
    EXPECT_EQ(hive.text(),
              "WINE REGISTRY Version 2\n\n[K] 1\n\"a\"=\"first\"\n\"b\"=\"b\"\n\n[k] 3\n\"a\"=\"third\"\n");
    ASSERT_TRUE(hive.removeValue("K", "A", HiveTime::fromUnix(4)));
    EXPECT_EQ(hive.text(), "WINE REGISTRY Version 2\n\n[K] 4\n\"b\"=\"b\"\n\n[k] 4\n");
}

TEST(WineHive, CrLfLinesAndCommentsAreKept) {
    const std::string text = "WINE REGISTRY Version 2\r\n;; comment\r\n\r\n[K] 1\r\n#class=\"c\"\r\n\"a\"=\"1\"\r\n";
    WineHive hive(text);
    EXPECT_EQ(hive.value("K", "a")->data, "1");
    ASSERT_TRUE(hive.setString("K", "b", "2", HiveTime::fromUnix(5)));
    EXPECT_EQ(hive.text(), "WINE REGISTRY Version 2\r\n;; comment\r\n\r\n[K] 5\r\n#class=\"c\"\r\n\"a\"=\"1\"\r\n"
                           "\"b\"=\"2\"\r\n");
}

TEST(WineHive, AFileWithoutTheHeaderIsNoHive) {
    auto hive = fixtureHive("platform/wrong-header-version.reg");
    EXPECT_FALSE(hive.isValid());
    EXPECT_FALSE(hive.keyExists(titles));
    EXPECT_FALSE(hive.setString(titles, "A", "c", HiveTime::now()));
    EXPECT_FALSE(hive.addKey("New", HiveTime::now()));
    EXPECT_FALSE(WineHive("").isValid());
}

TEST(WineHive, ACutOffFileKeepsWhatIsWhole) {
    const auto hive = fixtureHive("platform/truncated-in-hex-value.reg");
    ASSERT_TRUE(hive.isValid());
    EXPECT_EQ(hive.value(titles, "Count")->data, std::string("\x2a\0\0\0", 4));
    EXPECT_FALSE(hive.value(titles, "Blob"));
    EXPECT_EQ(hive.values(titles).size(), 3u);
}

TEST(WineHive, EveryCutOfTheFixtureParsesWithoutHarm) {
    const std::string whole = testsupport::readFile(testsupport::testFixture("platform/small.reg"));
    const auto full = WineHive(whole).values(titles);
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        WineHive hive(whole.substr(0, cut));
        // Every value read from a cut file is one of the whole file's values, with the same data.
        for (const auto& value : hive.values(titles)) {
            const auto match =
                std::find_if(full.begin(), full.end(), [&](const auto& v) { return v.name == value.name; });
            ASSERT_NE(match, full.end()) << cut;
            EXPECT_EQ(match->data, value.data) << "cut at " << cut;
        }
        if (hive.isValid()) {
            EXPECT_TRUE(hive.setString(titles, "x", "y", HiveTime::now())) << cut;
        }
    }
}
