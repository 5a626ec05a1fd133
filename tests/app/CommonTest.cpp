#include "app/Common.h"

#include "engine/CodePage.h"
#include "platform/fake/FakeKeyboardState.h"
#include "platform/fake/RecordingShell.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using app::LaunchArgs;

// Argument strings and the values ParseLaunchArgs must take out of them.
struct ArgsCase {
    const char* name;
    std::string arguments;
    LaunchArgs expected;
};

const ArgsCase kArgsCases[] = {
    {"WorkedExample",
     R"(enterprise /d"C:\Bases\Trade 2" /m /nOperator /uC:\Work)",
     {R"(C:\Bases\Trade 2)", "Operator", "", R"(C:\Work)", ""}},
    {"BlankAfterSwitchIsKept", R"(config /d C:\Base)", {R"( C:\Base)", "", "", "", ""}},
    {"TwoBlanksBeforeSwitchKeepOne", R"(enterprise /dC:\B /nUser  /psecret)", {R"(C:\B)", "User ", "secret", "", ""}},
    {"SlashNotAfterBlankStaysInValue",
     R"(enterprise /dC:\Base /uC:\Users/u1)",
     {R"(C:\Base)", "", "", R"(C:\Users/u1)", ""}},
    {"NoSwitchAtAll", "enterprise", {"", "", "", "", ""}},
    {"EmptyString", "", {"", "", "", "", ""}},
    {"SwitchAtTheEnd", R"(enterprise /dC:\Base /n)", {R"(C:\Base)", "", "", "", ""}},
    {"TrailingBlankKept", R"(enterprise /dC:\Base )", {R"(C:\Base )", "", "", "", ""}},
    {"SwitchInsideAWordCounts", R"(enterprise /dC:\a/nX)", {R"(C:\a/nX)", "X", "", "", ""}},
    {"SwitchIsCaseSensitive", R"(enterprise /D"C:\X" /NOp)", {"", "", "", "", ""}},
    {"FirstOccurrenceWins", R"(config /dC:\One /dC:\Two)", {R"(C:\One)", "", "", "", ""}},
    {"QuotesRemovedEverywhere", R"(enterprise /n"Ivan Petrov" /p"a b"c)", {"", "Ivan Petrov", "a bc", "", ""}},
    {"BatchFile", R"(config /dC:\B /nAdm /@C:\Jobs\nightly.prm)", {R"(C:\B)", "Adm", "", "", R"(C:\Jobs\nightly.prm)"}},
    {"CyrillicValues",
     "enterprise /dC:\\Базы\\Торг /nБухгалтер /pпароль",
     {"C:\\Базы\\Торг", "Бухгалтер", "пароль", "", ""}},
};

TEST(ParseLaunchArgs, TakesEachSwitchValueExactly) {
    for (const auto& c : kArgsCases) {
        SCOPED_TRACE(c.name);
        const auto got = app::ParseLaunchArgs(c.arguments);
        EXPECT_EQ(got.directory, c.expected.directory);
        EXPECT_EQ(got.userName, c.expected.userName);
        EXPECT_EQ(got.password, c.expected.password);
        EXPECT_EQ(got.userDirectory, c.expected.userDirectory);
        EXPECT_EQ(got.batchFile, c.expected.batchFile);
    }
}

TEST(ExtractSwitch, LeavesQuotesToTheCaller) {
    EXPECT_EQ(app::ExtractSwitch("/d", R"(enterprise /d"C:\X Y" /m)"), R"("C:\X Y")");
    EXPECT_EQ(app::ExtractSwitch("/m", R"(enterprise /d"C:\X Y" /m)"), "");
}

struct FileCase {
    const char* path;
    bool shortcut;
    bool exe;
    bool enterprise;
};

const FileCase kFileCases[] = {
    {R"(C:\1C\BIN\1cv7s.exe)", false, true, true},
    {"1CV7L.EXE", false, true, true},
    {R"(D:\Prog\1CV7.EXE)", false, true, true},
    {R"(C:\bin\my1Cv7copy.Exe)", false, true, true},
    {"C:1cv7nt.exe", false, true, true},
    {R"(C:\1cv7\start.exe)", false, true, false},
    {"/home/u/1cv7/start.exe", false, true, false},
    {R"(C:\x\1cv7.lnk)", true, false, false},
    {"1cv7s.exe.lnk", true, false, false},
    {R"(C:\1C\BIN\1cv7)", false, false, false},
    {R"(C:\dir.exe\1cv7)", false, false, false},
    {R"(C:\dir.lnk\file)", false, false, false},
    {R"(C:\Users\u\Desktop\Торговля.LNK)", true, false, false},
    {"a.Lnk", true, false, false},
    {".lnk", true, false, false},
    {"file.lnk.txt", false, false, false},
    {"file.lnkx", false, false, false},
    {"lnk", false, false, false},
    {"", false, false, false},
};

TEST(FileTests, ClassifyByTheFileNameAlone) {
    for (const auto& c : kFileCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(app::IsShortcutFile(c.path), c.shortcut);
        EXPECT_EQ(app::IsExeFile(c.path), c.exe);
        EXPECT_EQ(app::IsEnterpriseExe(c.path), c.enterprise);
    }
}

// Bytes 0x00..0xFF as UTF-8 text of their Windows-1251 characters.
std::string ansiText(std::initializer_list<unsigned> bytes) {
    std::string raw;
    for (unsigned b : bytes)
        raw.push_back(static_cast<char>(b));
    return engine::utf8FromCp1251(raw);
}

bool mayAppearScrambled(unsigned b) {
    return (b >= 0x21 && b <= 0x7E) || (b >= 0x80 && b != 0x98 && b != 0xA0);
}

TEST(ScramblePassword, TwiceGivesTheTextBack) {
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<unsigned> byte(0, 255);
    std::uniform_int_distribution<std::size_t> length(0, 40);
    for (int round = 0; round < 500; ++round) {
        std::string raw(length(rng), '\0');
        for (char& c : raw)
            c = static_cast<char>(byte(rng));
        const auto text = engine::utf8FromCp1251(raw);
        const auto scrambled = app::ScramblePassword(text);
        ASSERT_EQ(engine::cp1251FromUtf8(scrambled)->size(), raw.size());
        ASSERT_EQ(app::ScramblePassword(scrambled), text);
    }
    EXPECT_EQ(app::ScramblePassword(""), "");
}

TEST(ScramblePassword, MovesOnlyPrintableBytesAndOnlyToPrintableBytes) {
    for (unsigned b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const auto out = engine::cp1251FromUtf8(app::ScramblePassword(ansiText({b})));
        ASSERT_TRUE(out && out->size() == 1);
        const auto s = static_cast<std::uint8_t>((*out)[0]);
        if (mayAppearScrambled(b)) {
            EXPECT_NE(s, b);
            EXPECT_TRUE(mayAppearScrambled(s));
        } else {
            EXPECT_EQ(s, b); // controls, blank, DEL, 0x98 and 0xA0 stay themselves
        }
    }
}

TEST(ScramblePassword, StoredPasswordsStayReadable) {
    // Passwords already stored depend on these exact bytes.
    EXPECT_EQ(app::ScramblePassword("secret"), ansiText({0xCA, 0x6D, 0x85, 0x34, 0x6D, 0xAB}));
    EXPECT_EQ(app::ScramblePassword("Пароль1"), ansiText({0xB5, 0xFE, 0xA2, 0xD2, 0xD8, 0x30, 0xE6}));
}

TEST(ScramblePassword, CharacterOutsideTheCodePageBecomesQuestionMark) {
    EXPECT_EQ(app::ScramblePassword("a✓b"), app::ScramblePassword("a?b"));
}

class NextNewBaseNameTest : public ::testing::Test {
protected:
    void SetUp() override { app::NewBaseCounter = 0; }
    void TearDown() override { app::NewBaseCounter = 0; }
};

TEST_F(NextNewBaseNameTest, CountsFromOne) {
    EXPECT_EQ(app::NextNewBaseName(), "Новая ИБ 1");
    EXPECT_EQ(app::NextNewBaseName(), "Новая ИБ 2");
    EXPECT_EQ(app::NextNewBaseName(), "Новая ИБ 3");
    EXPECT_EQ(app::NewBaseCounter, 3);
}

TEST_F(NextNewBaseNameTest, NoLeadingZeros) {
    app::NewBaseCounter = 9;
    EXPECT_EQ(app::NextNewBaseName(), "Новая ИБ 10");
}

TEST(ShiftStateBits, AddsOneBitPerModifier) {
    struct Case {
        bool shift, alt, ctrl;
        int bits;
    };
    const Case cases[] = {{false, false, false, 0}, {true, false, false, 1}, {false, true, false, 2},
                          {false, false, true, 4},  {true, true, false, 3},  {true, false, true, 5},
                          {false, true, true, 6},   {true, true, true, 7}};
    platform::FakeKeyboardState keys;
    for (const auto& c : cases) {
        keys.set(c.shift, c.alt, c.ctrl);
        EXPECT_EQ(app::ShiftStateBits(keys), c.bits) << c.shift << c.alt << c.ctrl;
    }
}

TEST(RunProgram, HandsProgramAndArgumentsToTheShellUnchanged) {
    platform::RecordingShell shell;
    app::RunProgram(shell, R"(C:\1C\BIN\1cv7s.exe)", R"(enterprise /d"C:\Bases\Trade 2" /m)");
    ASSERT_EQ(shell.programRuns().size(), 1u);
    EXPECT_EQ(shell.programRuns()[0].program, R"(C:\1C\BIN\1cv7s.exe)");
    EXPECT_EQ(shell.programRuns()[0].arguments, R"(enterprise /d"C:\Bases\Trade 2" /m)");
    EXPECT_TRUE(shell.directoryOpens().empty());
}

} // namespace
