#include "settings/IniFile.h"

#include "engine/CodePage.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace {

using settings::IniFile;
using settings::IniWriteError;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

class IniFileTest : public ::testing::Test {
protected:
    std::string iniPath() const { return m_dir.file("Tarvesk.ini"); }
    // An accessor on a file that holds text (UTF-8 here, Windows-1251 on disk).
    IniFile withText(const std::string& utf8) {
        writeFile(iniPath(), *engine::cp1251FromUtf8(utf8));
        return IniFile(iniPath());
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(m_dir.path()))
            names.push_back(e.path().filename().string());
        return names;
    }

    TempDir m_dir;
};

TEST_F(IniFileTest, MissingFileGivesDefaultsAndReadsCreateNothing) {
    IniFile ini(iniPath());
    EXPECT_EQ(ini.readString("Start", "edtPrmFile_Text", "C:\\x.prm"), "C:\\x.prm");
    EXPECT_EQ(ini.readInteger("Common", "cmbShortCut_ItemIndex", 2), 2);
    EXPECT_TRUE(ini.readBool("Common", "cbxSysTray_Checked", true));
    EXPECT_EQ(ini.readColor("Color", "cbnButtonColor_ActiveColor", 0x8000000Fu), 0x8000000Fu);
    EXPECT_TRUE(entries().empty());
}

TEST_F(IniFileTest, ReadsWithProfileRules) {
    struct Case {
        const char* name;
        const char* section;
        const char* key;
        const char* expected;
    };
    const auto ini = withText("top=before any section\n"
                              "[Common]\n"
                              "  Spaced  =  value with blanks  \n"
                              "dq=\"quoted\"\n"
                              "sq='single'\n"
                              "half=\"unbalanced\n"
                              "one=\"\n"
                              "empty=\"\"\n"
                              ";hidden=comment\n"
                              "inline=v ; not a comment\n"
                              "dup=first\n"
                              "dup=second\n"
                              "Путь=C:\\Базы\\Торговля\n"
                              "noequals\n"
                              "[ Padded ]\n"
                              "k=padded section\n"
                              "[Other]\n"
                              "only=in other\n"
                              "[common]\n"
                              "late=invisible\n");
    const Case cases[] = {
        {"BlanksTrimmed", "Common", "Spaced", "value with blanks"},
        {"NamesWithoutCase", "COMMON", "spaced", "value with blanks"},
        {"RequestedNamesTrimmed", " Common ", " Spaced ", "value with blanks"},
        {"DoubleQuotesStripped", "Common", "dq", "quoted"},
        {"SingleQuotesStripped", "Common", "sq", "single"},
        {"UnbalancedQuoteKept", "Common", "half", "\"unbalanced"},
        {"LoneQuoteKept", "Common", "one", "\""},
        {"EmptyQuotes", "Common", "empty", ""},
        {"CommentIsNoKey", "Common", ";hidden", "default"},
        {"NoInlineComments", "Common", "inline", "v ; not a comment"},
        {"FirstDuplicateWins", "Common", "dup", "first"},
        {"Cyrillic", "common", "ПУТЬ", "C:\\Базы\\Торговля"},
        {"LineWithoutEqualsIsNoKey", "Common", "noequals", "default"},
        {"PaddedSectionName", "Padded", "k", "padded section"},
        {"KeyOfAnotherSection", "Common", "only", "default"},
        {"SecondDuplicateSectionUnseen", "Common", "late", "default"},
        {"BeforeTheFirstSection", "Common", "top", "default"},
        {"MissingSection", "Nowhere", "k", "default"},
        {"KeyOutsideCodePage", "Common", "✓", "default"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ini.readString(c.section, c.key, "default"), c.expected);
    }
}

TEST_F(IniFileTest, DefaultLosesTrailingBlanksAndLongValuesAreCut) {
    const auto ini = withText("[S]\nlong=" + std::string(3000, 'x') + "\n");
    EXPECT_EQ(ini.readString("S", "missing", "  text  "), "  text");
    EXPECT_EQ(ini.readString("S", "long", ""), std::string(2047, 'x'));
}

TEST_F(IniFileTest, IntegerEncodings) {
    struct Case {
        const char* text;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"31", 31},
        {"0x1F", 31},
        {"0X1f", 31},
        {"-5", -5},
        {"+7", 7},
        {" 42 ", 42},
        {"\"17\"", 17},
        {"-2147483648", INT_MIN},
        {"2147483647", INT_MAX},
        {"0xFFFFFFFF", -1},
        {"0x8000000F", -2147483633},
        {"0x", -99},
        {"0xG1", -99},
        {"junk", -99},
        {"12abc", -99},
        {"", -99},
        {"-", -99},
        {"1.5", -99},
        {"-0x1F", -99},
        {"2147483648", -99},
        {"-2147483649", -99},
        {"0x100000000", -99},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto ini = withText(std::string("[S]\nk=") + c.text + "\n");
        EXPECT_EQ(ini.readInteger("S", "k", -99), c.expected);
    }
}

TEST_F(IniFileTest, BooleanIsAnyNonZeroInteger) {
    const auto ini = withText("[S]\none=1\nzero=0\ntwo=2\nminus=-1\nhex=0x10\njunk=yes\n");
    EXPECT_TRUE(ini.readBool("S", "one", false));
    EXPECT_FALSE(ini.readBool("S", "zero", true));
    EXPECT_TRUE(ini.readBool("S", "two", false));
    EXPECT_TRUE(ini.readBool("S", "minus", false));
    EXPECT_TRUE(ini.readBool("S", "hex", false));
    EXPECT_TRUE(ini.readBool("S", "junk", true));
    EXPECT_FALSE(ini.readBool("S", "junk", false));
}

TEST_F(IniFileTest, WritesEncodingsAndCreatesTheFile) {
    IniFile ini(iniPath());
    ini.writeColor("Color", "cbnButtonColor_ActiveColor", 0x8000000Fu);
    ini.writeColor("Color", "cbnSimple_ActiveColor", 0x00808080u);
    ini.writeBool("Common", "cbxSysTray_Checked", true);
    ini.writeBool("Common", "cbxAnimate_Checked", false);
    ini.writeInteger("Common", "cmbShortCut_ItemIndex", -3);
    EXPECT_EQ(readFile(iniPath()), "[Color]\r\n"
                                   "cbnButtonColor_ActiveColor=-2147483633\r\n"
                                   "cbnSimple_ActiveColor=8421504\r\n"
                                   "[Common]\r\n"
                                   "cbxSysTray_Checked=1\r\n"
                                   "cbxAnimate_Checked=0\r\n"
                                   "cmbShortCut_ItemIndex=-3\r\n");
    EXPECT_EQ(ini.readColor("Color", "cbnButtonColor_ActiveColor", 0), 0x8000000Fu);
    EXPECT_EQ(entries(), std::vector<std::string>{"Tarvesk.ini"}); // no temporary left behind
}

TEST_F(IniFileTest, StringsRoundTripAndAreStoredInWindows1251) {
    IniFile ini(iniPath());
    const char* values[] = {"C:\\Базы\\Торговля 2\\", "  padded  ", "\"quoted\"", "'single'", "", "a=b;c", "\""};
    for (const char* v : values) {
        SCOPED_TRACE(v);
        ini.writeString("Start", "edtPrmFile_Text", v);
        EXPECT_EQ(ini.readString("Start", "edtPrmFile_Text", "default"), v);
    }
    ini.writeString("Start", "edtPrmFile_Text", "Ёж");
    EXPECT_EQ(readFile(iniPath()), "[Start]\r\nedtPrmFile_Text=\xA8\xE6\r\n");
}

TEST_F(IniFileTest, RefusedTextLeavesTheFileAlone) {
    struct Case {
        const char* name;
        std::string section, key, value;
    };
    const Case cases[] = {
        {"CharacterOutsideCodePage", "Start", "edtPrmFile_Text", "C:\\✓"},
        {"LineBreakInValue", "Start", "edtPrmFile_Text", "a\r\n[Evil]\r\nx=1"},
        {"NulInValue", "Start", "edtPrmFile_Text", std::string("a\0b", 3)},
        {"LineBreakInSection", "Sta\nrt", "k", "v"},
        {"EmptySection", " ", "k", "v"},
        {"EmptyKey", "Start", "", "v"},
        {"EqualsInKey", "Start", "a=b", "v"},
        {"CommentKey", "Start", ";k", "v"},
        {"SectionLikeKey", "Start", "[k", "v"},
    };
    const std::string before = "; keep me\n[Start]\nedtPrmFile_Text=old\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto ini = withText(before);
        EXPECT_THROW(ini.writeString(c.section, c.key, c.value), IniWriteError);
        EXPECT_EQ(readFile(iniPath()), before);
    }
    std::filesystem::remove(iniPath());
    IniFile fresh(iniPath());
    EXPECT_THROW(fresh.writeString("Start", "edtPrmFile_Text", "✓"), IniWriteError);
    EXPECT_TRUE(entries().empty());
}

TEST_F(IniFileTest, TwoAccessorsOnOneFileSeeEachOthersWrites) {
    IniFile a(iniPath());
    IniFile b(iniPath());
    a.writeInteger("Main", "Left", 10);
    EXPECT_EQ(b.readInteger("Main", "Left", 0), 10);
    b.writeInteger("Main", "Left", 20);
    b.writeInteger("Main", "Top", 5);
    EXPECT_EQ(a.readInteger("Main", "Left", 0), 20);
    EXPECT_EQ(a.readInteger("Main", "Top", 0), 5);
}

// One write into a file, and the whole file expected afterwards.
struct EditCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

const std::string kSample = "; Tarvesk settings\n"
                            "[Main]\n"
                            "Left = 10\n"
                            "  Top=20   \n"
                            "\n"
                            "[Common]\n"
                            "cbxSysTray_Checked=1\n"
                            "; comment inside\n"
                            "cbxAnimate_Checked = 0\n"
                            "\n"
                            "\n"
                            "[Filter]\n"
                            "Mode=3";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

const EditCase kEditCases[] = {
    {"ReplaceKeepsSpacing", kSample, "Common", "cbxAnimate_Checked", "1",
     replaced(kSample, "cbxAnimate_Checked = 0", "cbxAnimate_Checked = 1")},
    {"ReplaceIgnoresCase", kSample, "common", "CBXSYSTRAY_CHECKED", "0",
     replaced(kSample, "cbxSysTray_Checked=1", "cbxSysTray_Checked=0")},
    {"ReplaceIndentedKey", kSample, "Main", "top", "25", replaced(kSample, "  Top=20   ", "  Top=25")},
    {"NewKeyAfterLastFilledLine", kSample, "Common", "cbxReestr_Checked", "1",
     replaced(kSample, "cbxAnimate_Checked = 0\n", "cbxAnimate_Checked = 0\ncbxReestr_Checked=1\n")},
    {"NewKeyInLastSectionWithoutLineEnd", kSample, "Filter", "CategoryId", "7", kSample + "\nCategoryId=7\n"},
    {"NewSectionAtTheEnd", kSample, "Color", "rbnSimple_Checked", "1", kSample + "\n[Color]\nrbnSimple_Checked=1\n"},
    {"NewKeyAfterTrailingComment", "[A]\nx=1\n; note\n\n[B]\n", "A", "y", "2", "[A]\nx=1\n; note\ny=2\n\n[B]\n"},
    {"CrLfFile", "[A]\r\nx=1\r\n", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
    {"CrOnlyFile", "[A]\rx=1\r", "a", "x", "2", "[A]\rx=2\r"},
    {"EmptyValueReplaced", "[A]\nx=\n", "A", "x", "5", "[A]\nx=5\n"},
    {"FirstDuplicateKeyReplaced", "[A]\nx=1\nx=2\n", "A", "x", "9", "[A]\nx=9\nx=2\n"},
    {"FirstDuplicateSectionUsed", "[A]\nx=1\n[B]\n[a]\ny=1\n", "A", "y", "2", "[A]\nx=1\ny=2\n[B]\n[a]\ny=1\n"},
    {"HeaderOnlyFile", "[A]", "A", "k", "v", "[A]\r\nk=v\r\n"},
    {"EmptyFile", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
    {"KeysBeforeAnySectionUntouched", "x=1\n", "A", "x", "2", "x=1\n[A]\nx=2\n"},
};

TEST_F(IniFileTest, AWriteChangesOnlyItsOwnLine) {
    for (const auto& c : kEditCases) {
        SCOPED_TRACE(c.name);
        writeFile(iniPath(), c.before);
        IniFile(iniPath()).writeString(c.section, c.key, c.value);
        EXPECT_EQ(readFile(iniPath()), c.after);
    }
}

TEST_F(IniFileTest, FailedWriteNamesTheFullPathAndKeepsTheOldFile) {
    writeFile(m_dir.file("plain-file"), "x");
    std::filesystem::create_directory(m_dir.path() / "dir.ini");
    const std::string targets[] = {
        m_dir.file("missing-dir/Tarvesk.ini"),
        m_dir.file("plain-file/Tarvesk.ini"),
        m_dir.file("dir.ini"),
    };
    for (const auto& target : targets) {
        SCOPED_TRACE(target);
        IniFile ini(target);
        try {
            ini.writeBool("Common", "cbxSysTray_Checked", true);
            ADD_FAILURE() << "no error";
        } catch (const IniWriteError& e) {
            EXPECT_EQ(e.what(), "Unable to write to " + target);
        }
    }
    // Nothing new beside the files: no temporary survives a failed rename.
    auto names = entries();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"dir.ini", "plain-file"}));
}

TEST_F(IniFileTest, RelativePathIsReportedInFull) {
    IniFile ini("no-such-dir-for-tarvesk/Tarvesk.ini");
    try {
        ini.writeString("S", "k", "v");
        FAIL() << "no error";
    } catch (const IniWriteError& e) {
        EXPECT_EQ(e.what(), "Unable to write to " +
                                (std::filesystem::current_path() / "no-such-dir-for-tarvesk/Tarvesk.ini").string());
    }
}

TEST_F(IniFileTest, WriteIntoReadOnlyDirectoryFails) {
    const std::string before = "[Common]\ncbxSysTray_Checked=1\n";
    writeFile(iniPath(), before);
    namespace fs = std::filesystem;
    testsupport::openToEverybody(m_dir.path());
    fs::permissions(iniPath(), fs::perms(0666));
    fs::permissions(m_dir.path(), fs::perms(0555));
    // Root writes into any directory; the user who meets this is an ordinary one.
    EXPECT_TRUE(testsupport::asUnprivilegedUser([&] {
        try {
            IniFile(iniPath()).writeBool("Common", "cbxSysTray_Checked", false);
        } catch (const IniWriteError& e) {
            return e.what() == "Unable to write to " + iniPath();
        }
        return false;
    }));
    EXPECT_EQ(readFile(iniPath()), before);
    fs::permissions(m_dir.path(), fs::perms::owner_all);
}

// A read-only settings file is the user's decision: it is left byte for byte, with the error of
// the settings file, for an ordinary user and for root alike.
TEST_F(IniFileTest, AReadOnlyFileIsLeftAsItIs) {
    const std::string before = "[Common]\r\ncbxSysTray_Checked=1\r\n";
    writeFile(iniPath(), before);
    std::filesystem::permissions(iniPath(), std::filesystem::perms(0444));
    const auto refused = [&] {
        try {
            IniFile(iniPath()).writeBool("Common", "cbxSysTray_Checked", false);
        } catch (const IniWriteError& e) {
            return e.what() == "Unable to write to " + iniPath();
        }
        return false;
    };
    EXPECT_TRUE(refused());
    testsupport::openToEverybody(m_dir.path());
    EXPECT_TRUE(testsupport::asUnprivilegedUser(refused));
    EXPECT_EQ(readFile(iniPath()), before);
}

} // namespace
