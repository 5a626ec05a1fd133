#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShellLinkInfoPrinter.h"
#include "shell/ShellError.h"
#include "shell/ShellLinkFile.h"
#include "support/TempDir.h"

using shell::ShellLinkFile;
using shell::TShellLinkInfo;

namespace {

TShellLinkInfo makeInfo(std::string target, std::string arguments, std::string description, std::string workDir,
                        std::string icon, int iconIndex, int show, std::uint16_t hotKey) {
    TShellLinkInfo info;
    info.TargetPath = std::move(target);
    info.Arguments = std::move(arguments);
    info.Description = std::move(description);
    info.WorkingDirectory = std::move(workDir);
    info.IconPath = std::move(icon);
    info.IconIndex = iconIndex;
    info.ShowCommand = show;
    info.HotKey = hotKey;
    return info;
}

std::string longArguments() {
    std::string args = "ENTERPRISE /D\"C:\\Базы\\Торговля и склад\\\" /N\"Администратор\"";
    while (args.size() < 700)
        args += " /@\"C:\\Обмен\\пакетный файл.prm\"";
    return args;
}

// Value of "name: value" in a dump; empty when the line is missing.
std::string dumpField(const std::string& dump, const std::string& name) {
    const auto text = "\n" + dump;
    const auto at = text.find("\n" + name + ": ");
    if (at == std::string::npos)
        return {};
    const auto start = at + name.size() + 3;
    return text.substr(start, text.find('\n', start) - start);
}

std::string bytesOf(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

} // namespace

struct RoundTripCase {
    const char* name;
    TShellLinkInfo info;
};

inline void PrintTo(const RoundTripCase& testCase, std::ostream* os) {
    *os << testCase.name;
}

class ShellLinkRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(ShellLinkRoundTrip, EveryFieldSurvives) {
    const auto& info = GetParam().info;
    const auto bytes = ShellLinkFile::encode(info);
    EXPECT_EQ(ShellLinkFile::decode(bytes), info);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShellLinkRoundTrip,
    ::testing::Values(
        RoundTripCase{"Latin", makeInfo("C:\\Program Files\\1Cv77\\BIN\\1cv7s.exe",
                                        "ENTERPRISE /D\"C:\\Bases\\Trade\\\"", "Trade", "C:\\Program Files\\1Cv77\\BIN",
                                        "C:\\Program Files\\1Cv77\\BIN\\1cv7s.exe", 2, 1, 0)},
        RoundTripCase{"Cyrillic",
                      makeInfo("C:\\Программы\\1С\\1cv7s.exe", "ENTERPRISE /D\"C:\\Базы\\Склад\\\" /N\"Иванов\"",
                               "Бухгалтерия 7.7", "C:\\Базы\\Склад", "C:\\Программы\\1С\\1cv7s.exe", 4, 7, 0x0641)},
        RoundTripCase{"LongArguments", makeInfo("C:\\1C\\1cv7.exe", longArguments(), std::string(300, 'd'),
                                                "C:\\" + std::string(280, 'w'), "C:\\1C\\1cv7.exe", 0, 3, 0)},
        RoundTripCase{"NotInCp1251", makeInfo("C:\\Bases\\€ & ☃\\1cv7.exe", "日本語 😀", "ελληνικά", "C:\\☃",
                                              "C:\\☃\\i.ico", -3, 1, 0)},
        RoundTripCase{"UncTarget", makeInfo("\\\\server\\общая\\1Cv77\\BIN\\1cv7s.exe", "CONFIG", "", "", "", 0, 0, 0)},
        RoundTripCase{"RelativeTarget", makeInfo("Бухгалтерия 7.7", "", "", "", "", 0, 1, 0)},
        RoundTripCase{"Empty", makeInfo("", "", "", "", "", 0, 0, 0)},
        RoundTripCase{"ShowCommandZero", makeInfo("C:\\a.exe", "", "", "", "", 0, 0, 0xFFFF)}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(ShellLinkFile, LocalTargetIsStoredInBothCodePages) {
    const auto bytes = ShellLinkFile::encode(makeInfo("C:\\Базы\\☃\\1cv7.exe", "", "", "", "", 0, 1, 0));
    const auto dump = ShellLinkFile::dump(bytes);
    EXPECT_EQ(dumpField(dump, "link info header size"), "0x24");
    EXPECT_EQ(dumpField(dump, "local base path"), "C:\\Базы\\?\\1cv7.exe");
    EXPECT_EQ(dumpField(dump, "local base path unicode"), "C:\\Базы\\☃\\1cv7.exe");
    EXPECT_EQ(dumpField(dump, "drive type"), "3");
    // The ANSI form is Windows-1251 in the file itself.
    EXPECT_NE(bytes.find(bytesOf({'C', ':', '\\', 0xC1, 0xE0, 0xE7, 0xFB, '\\', '?', '\\'})), std::string::npos);
}

TEST(ShellLinkFile, StringsAreUnicodeWithoutTerminator) {
    const auto bytes = ShellLinkFile::encode(makeInfo("C:\\a.exe", "", "Яя", "", "", 0, 1, 0));
    // count 2, then "Яя" in UTF-16LE, then the terminal block.
    EXPECT_EQ(bytes.substr(bytes.size() - 10), bytesOf({2, 0, 0x2F, 0x04, 0x4F, 0x04, 0, 0, 0, 0}));
    EXPECT_EQ(dumpField(ShellLinkFile::dump(bytes), "flags"), "0x86"); // HasLinkInfo | HasName | IsUnicode
}

// The part behind the share is kept as it is; only a bare trailing "\" after the share is lost,
// as the format has no place for it.
TEST(ShellLinkFile, UncTargetsReadBackAsWritten) {
    const std::pair<const char*, const char*> cases[] = {
        {"\\\\srv\\share\\dir\\\\x.exe", "\\\\srv\\share\\dir\\\\x.exe"},
        {"\\\\srv\\share\\\\", "\\\\srv\\share\\\\"},
        {"\\\\srv\\share\\", "\\\\srv\\share"},
        {"\\\\srv", "\\\\srv"},
    };
    for (const auto& [target, expected] : cases)
        EXPECT_EQ(ShellLinkFile::decode(ShellLinkFile::encode(makeInfo(target, "", "", "", "", 0, 1, 0))).TargetPath,
                  expected)
            << target;
}

TEST(ShellLinkFile, StringOverFormatLimitIsRefused) {
    auto info = makeInfo("C:\\a.exe", std::string(70000, 'x'), "", "", "", 0, 1, 0);
    EXPECT_THROW(ShellLinkFile::encode(info), shell::ShellError);
}

// A shortcut put together by hand from the documented layout: ANSI strings (IsUnicode not set),
// LinkInfo without Unicode offsets, an item ID list and an ExtraData block to skip.
TEST(ShellLinkFile, ReadsHandMadeAnsiShortcut) {
    std::string file;
    // Header: size 0x4C, the shell link CLSID.
    file += bytesOf({0x4C, 0, 0, 0, 0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46});
    // LinkFlags 0x77: IDList, LinkInfo, Name, WorkingDir, Arguments, IconLocation; IsUnicode not set.
    file += bytesOf({0x77, 0, 0, 0});
    file += bytesOf({0x20, 0, 0, 0});          // attributes: archive
    file += std::string(24, '\0');             // three FILETIMEs
    file += bytesOf({0, 0x10, 0, 0});          // file size 4096
    file += bytesOf({0xFE, 0xFF, 0xFF, 0xFF}); // icon index -2
    file += bytesOf({7, 0, 0, 0});             // show command SW_SHOWMINNOACTIVE
    file += bytesOf({0x46, 0x03});             // hot key Ctrl+Shift+F
    file += std::string(10, '\0');             // reserved
    // IDList of 6 bytes: one item of 4 bytes (size + 2 data bytes), then the zero terminator.
    file += bytesOf({6, 0, 4, 0, 0x1F, 0x50, 0, 0});
    // LinkInfo: size, header size 0x1C, flags 1 (VolumeID and local path), VolumeID at 0x1C, local
    // path at 0x2D, no network link, suffix after the path. VolumeID: size 0x11, fixed drive, serial
    // 0x12345678, label at 0x10 (empty). LocalBasePath "C:\Сч.exe" in cp1251, then the empty suffix.
    const std::string path = bytesOf({'C', ':', '\\', 0xD1, 0xF7, '.', 'e', 'x', 'e', 0});
    const int infoSize = 0x1C + 0x11 + static_cast<int>(path.size()) + 1;
    file += bytesOf({infoSize, 0, 0, 0, 0x1C, 0, 0, 0, 1, 0, 0, 0, 0x1C, 0, 0, 0, 0x2D, 0, 0, 0, 0, 0, 0, 0});
    file += bytesOf({0x2D + static_cast<int>(path.size()), 0, 0, 0});
    file += bytesOf({0x11, 0, 0, 0, 3, 0, 0, 0, 0x78, 0x56, 0x34, 0x12, 0x10, 0, 0, 0, 0});
    file += path;
    file += bytesOf({0});
    // Strings, ANSI: counts in bytes; the description's count includes a NUL, as some writers do.
    file += bytesOf({5, 0, 0xCE, 0xEF, 0xE8, 0xF1, 0}); // "Опис" + NUL
    file += bytesOf({3, 0, 'C', ':', '\\'});            // working directory
    file += bytesOf({4, 0, '/', 'M', ' ', 'x'});        // arguments
    file += bytesOf({4, 0, 'i', '.', 'i', 'c'});        // icon location
    // ExtraData: a ConsoleFEDataBlock (0x0C bytes, code page 1251), then the terminal block.
    file += bytesOf({0x0C, 0, 0, 0, 0x04, 0, 0, 0xA0, 0xE3, 0x04, 0, 0});
    file += bytesOf({0, 0, 0, 0});

    const auto info = ShellLinkFile::decode(file);
    EXPECT_EQ(info.TargetPath, "C:\\Сч.exe");
    EXPECT_EQ(info.Description, "Опис");
    EXPECT_EQ(info.WorkingDirectory, "C:\\");
    EXPECT_EQ(info.Arguments, "/M x");
    EXPECT_EQ(info.IconPath, "i.ic");
    EXPECT_EQ(info.IconIndex, -2);
    EXPECT_EQ(info.ShowCommand, 7);
    EXPECT_EQ(info.HotKey, 0x0346);
    const auto dump = ShellLinkFile::dump(file);
    EXPECT_EQ(dumpField(dump, "drive serial"), "0x12345678");
    EXPECT_EQ(dumpField(dump, "extra block"), "0xA0000004, 12 bytes");
    EXPECT_EQ(dumpField(dump, "id list"), "6 bytes, 1 items");
}

// ForceNoLinkInfo: the LinkInfo is skipped and the relative path names the target.
TEST(ShellLinkFile, ForceNoLinkInfoFallsBackToRelativePath) {
    auto bytes = ShellLinkFile::encode(makeInfo("C:\\x.exe", "", "", "", "", 0, 1, 0));
    const auto withLinkInfo = ShellLinkFile::decode(bytes);
    ASSERT_EQ(withLinkInfo.TargetPath, "C:\\x.exe");
    // Set ForceNoLinkInfo and HasRelativePath and put a relative path before the terminal block.
    bytes[0x14] = static_cast<char>(bytes[0x14] | 0x08);
    bytes[0x15] = static_cast<char>(bytes[0x15] | 0x01);
    bytes.insert(bytes.size() - 4, bytesOf({3, 0, 'r', 0, '.', 0, 'e', 0}));
    EXPECT_EQ(ShellLinkFile::decode(bytes).TargetPath, "r.e");
}

TEST(ShellLinkFile, WineShortcutWithEveryField) {
    const auto info = ShellLinkFile::decode(testsupport::readFile(testsupport::sharedFixture("wine/torg.lnk")));
    EXPECT_EQ(info.TargetPath, "C:\\Program Files\\1Cv77\\BIN\\1cv7s.exe");
    EXPECT_EQ(info.Description, "Торговля и склад");
    EXPECT_EQ(info.WorkingDirectory, "C:\\Program Files\\1Cv77\\BIN");
    EXPECT_EQ(info.Arguments, "ENTERPRISE /D\"C:\\Bases\\Торговля\\\" /N\"Админ\" /P\"secret\"");
    EXPECT_EQ(info.IconPath, "C:\\Program Files\\1Cv77\\BIN\\1cv7s.exe");
    EXPECT_EQ(info.IconIndex, 0);
    EXPECT_EQ(info.ShowCommand, 3);
    EXPECT_EQ(info.HotKey, 0);
}

TEST(ShellLinkFile, WineShortcutWithCp1251Target) {
    const auto info =
        ShellLinkFile::decode(testsupport::readFile(testsupport::sharedFixture("wine/cyrillic-target-cp1251.lnk")));
    EXPECT_EQ(info.TargetPath, "C:\\Базы\\Склад\\1cv7.exe");
    EXPECT_EQ(info.Description, "cyrillic target");
    EXPECT_EQ(info.WorkingDirectory, "C:\\");
    EXPECT_EQ(info.Arguments, "ENTERPRISE");
    EXPECT_EQ(info.IconPath, "C:\\Базы\\Склад\\1cv7.exe");
}

TEST(ShellLinkFile, WineShortcutWithLostTarget) {
    const auto info =
        ShellLinkFile::decode(testsupport::readFile(testsupport::sharedFixture("wine/cyrillic-target-lost.lnk")));
    EXPECT_EQ(info.TargetPath, "C:\\????\\?????\\1cv7.exe"); // only the ANSI form exists
    EXPECT_EQ(info.IconPath, "C:\\Базы\\Склад\\1cv7.exe");
}
