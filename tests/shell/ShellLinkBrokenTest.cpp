#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "shell/ShellError.h"
#include "shell/ShellLinkFile.h"
#include "support/TempDir.h"

using shell::ShellLinkFile;

namespace {

std::string validShortcut() {
    shell::TShellLinkInfo info;
    info.TargetPath = "C:\\Базы\\1cv7.exe";
    info.Arguments = "ENTERPRISE /D\"C:\\Базы\\\"";
    info.Description = "Склад";
    info.WorkingDirectory = "C:\\Базы";
    info.IconPath = "C:\\Базы\\1cv7.exe";
    return ShellLinkFile::encode(info);
}

void put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t get32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// Decoding must raise ShellError naming the file; anything else (another exception, a crash, a
// result) fails the test.
void expectNotAShortcut(const std::string& bytes, const std::string& what) {
    try {
        ShellLinkFile::decode(bytes, "C:\\x.lnk");
        ADD_FAILURE() << what << ": decoded";
    } catch (const shell::ShellError& e) {
        EXPECT_NE(std::string(e.what()).find("Файл C:\\x.lnk не является ярлыком Windows"), std::string::npos)
            << what << ": " << e.what();
    }
    EXPECT_EQ(ShellLinkFile::dump(bytes).rfind("error: ", 0), 0u) << what;
}

constexpr std::size_t linkInfoAt = 0x4C; // our files have no item ID list

} // namespace

TEST(ShellLinkBroken, EveryTruncationIsAnError) {
    for (const auto& bytes : {validShortcut(), testsupport::readFile(testsupport::sharedFixture("wine/torg.lnk"))}) {
        ASSERT_NO_THROW(ShellLinkFile::decode(bytes));
        for (std::size_t length = 0; length < bytes.size(); ++length)
            expectNotAShortcut(bytes.substr(0, length), "length " + std::to_string(length));
    }
}

struct CorruptionCase {
    const char* name;
    void (*corrupt)(std::string&);
};

inline void PrintTo(const CorruptionCase& testCase, std::ostream* os) {
    *os << testCase.name;
}

class ShellLinkCorruption : public ::testing::TestWithParam<CorruptionCase> {};

TEST_P(ShellLinkCorruption, IsAnError) {
    auto bytes = validShortcut();
    GetParam().corrupt(bytes);
    expectNotAShortcut(bytes, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShellLinkCorruption,
    ::testing::Values(
        CorruptionCase{"HeaderSize", [](std::string& b) { put32(b, 0, 0x4D); }},
        CorruptionCase{"Clsid", [](std::string& b) { b[0x13] = 0x47; }},
        CorruptionCase{"IdListPastEnd",
                       [](std::string& b) {
                           b[0x14] = static_cast<char>(b[0x14] | 0x01);
                           b.insert(linkInfoAt, "\xFF\xFF", 2);
                       }},
        CorruptionCase{"LinkInfoSizePastEnd", [](std::string& b) { put32(b, linkInfoAt, 0x7FFFFFF0); }},
        CorruptionCase{"LinkInfoSizeBelowHeader", [](std::string& b) { put32(b, linkInfoAt, 8); }},
        CorruptionCase{"LinkInfoHeaderSizePastLinkInfo",
                       [](std::string& b) { put32(b, linkInfoAt + 4, get32(b, linkInfoAt) + 4); }},
        CorruptionCase{"VolumeIdOffsetPastLinkInfo", [](std::string& b) { put32(b, linkInfoAt + 12, 0xFFFFFFF0); }},
        CorruptionCase{"VolumeIdSizeTooSmall", [](std::string& b) { put32(b, linkInfoAt + 0x24, 4); }},
        CorruptionCase{"LocalPathOffsetPastLinkInfo",
                       [](std::string& b) { put32(b, linkInfoAt + 16, get32(b, linkInfoAt)); }},
        CorruptionCase{"UnicodePathWithoutTerminator",
                       [](std::string& b) { put32(b, linkInfoAt + 28, get32(b, linkInfoAt) - 1); }},
        CorruptionCase{"StringCountPastEnd",
                       [](std::string& b) {
                           const auto strings = linkInfoAt + get32(b, linkInfoAt);
                           b[strings] = '\xFF';
                           b[strings + 1] = '\x7F';
                       }},
        CorruptionCase{"ExtraBlockPastEnd",
                       [](std::string& b) { b.insert(b.size() - 4, std::string("\x40\0\0\0\x02\0\0\xA0", 8)); }},
        CorruptionCase{"ExtraBlockShorterThanItsHeader",
                       [](std::string& b) { b.insert(b.size() - 4, std::string("\x05\0\0\0\x02\0\0\xA0", 8)); }},
        CorruptionCase{"NotAShortcutAtAll", [](std::string& b) { b = "[InternetShortcut]\r\nURL=file:///C:/\r\n"; }}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// A file without a name in the message: the decoder alone says what it got.
TEST(ShellLinkBroken, MessageWithoutFileName) {
    try {
        ShellLinkFile::decode("abc");
        FAIL() << "decoded";
    } catch (const shell::ShellError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Данные не являются ярлыком Windows: ", 0), 0u) << e.what();
    }
}
