// Shortcuts we write, read back by an independent reader: lnkinfo from liblnk-utils.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "ShellLinkInfoPrinter.h"
#include "shell/ShellLinkFile.h"
#include "support/TempDir.h"

using shell::ShellLinkFile;
using shell::TShellLinkInfo;

namespace {

bool haveLnkinfo() {
    return std::system("lnkinfo -V >/dev/null 2>&1") == 0;
}

// The "Name : value" lines of lnkinfo's listing, names without their tabs.
std::map<std::string, std::string> lnkinfo(const std::string& file) {
    std::map<std::string, std::string> fields;
    const std::string command = "lnkinfo -c windows-1251 '" + file + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return fields;
    std::string output;
    char buffer[4096];
    while (const auto n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    pclose(pipe);
    std::size_t pos = 0;
    while (pos < output.size()) {
        auto end = output.find('\n', pos);
        if (end == std::string::npos)
            end = output.size();
        const auto line = output.substr(pos, end - pos);
        pos = end + 1;
        const auto colon = line.find(": ");
        if (colon == std::string::npos)
            continue;
        auto name = line.substr(0, colon);
        const auto first = name.find_first_not_of(" \t");
        const auto last = name.find_last_not_of(" \t");
        if (first == std::string::npos)
            continue;
        fields.emplace(name.substr(first, last - first + 1), line.substr(colon + 2));
    }
    return fields;
}

} // namespace

struct LnkinfoCase {
    const char* name;
    TShellLinkInfo info;
};

inline void PrintTo(const LnkinfoCase& testCase, std::ostream* os) {
    *os << testCase.name;
}

class LnkinfoReadsOurShortcut : public ::testing::TestWithParam<LnkinfoCase> {};

TEST_P(LnkinfoReadsOurShortcut, WithTheSameFields) {
    if (!haveLnkinfo())
        GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
    const auto& info = GetParam().info;
    testsupport::TempDir dir;
    const auto file = dir.file("ours.lnk");
    testsupport::writeFile(file, ShellLinkFile::encode(info));
    const auto fields = lnkinfo(file);
    ASSERT_TRUE(fields.count("Local path")) << "lnkinfo found no local path";
    EXPECT_EQ(fields.at("Local path"), info.TargetPath);
    EXPECT_EQ(fields.at("Description"), info.Description);
    EXPECT_EQ(fields.at("Working directory"), info.WorkingDirectory);
    EXPECT_EQ(fields.at("Command line arguments"), info.Arguments);
    EXPECT_EQ(fields.at("Icon location"), info.IconPath);
    EXPECT_EQ(fields.at("Icon index"), std::to_string(info.IconIndex));
    EXPECT_EQ(fields.at("Drive type"), "Fixed (3)");
}

namespace {

TShellLinkInfo shortcut(std::string target, std::string arguments, std::string description, std::string workDir,
                        int iconIndex) {
    TShellLinkInfo info;
    info.TargetPath = target;
    info.Arguments = std::move(arguments);
    info.Description = std::move(description);
    info.WorkingDirectory = std::move(workDir);
    info.IconPath = std::move(target);
    info.IconIndex = iconIndex;
    return info;
}

std::string longArguments() {
    std::string args = "ENTERPRISE /D\"C:\\Базы\\Торговля\\\" /N\"Администратор\"";
    while (args.size() < 600)
        args += " /@\"C:\\Обмен\\файл.prm\"";
    return args;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Cases, LnkinfoReadsOurShortcut,
    ::testing::Values(
        LnkinfoCase{"Latin", shortcut("C:\\Program Files\\1Cv77\\BIN\\1cv7s.exe", "ENTERPRISE /D\"C:\\Bases\\Trade\\\"",
                                      "Trade", "C:\\Program Files\\1Cv77\\BIN", 1)},
        LnkinfoCase{"Cyrillic", shortcut("C:\\Базы\\Склад\\1cv7.exe", "CONFIG /D\"C:\\Базы\\Склад\\\" /N\"Иванов\"",
                                         "Бухгалтерия 7.7", "C:\\Базы\\Склад", 4)},
        // Only the Unicode form of the target can hold this name.
        LnkinfoCase{"NotInCp1251", shortcut("C:\\Базы ☃\\1cv7.exe", "ENTERPRISE", "☃", "C:\\", 2)},
        LnkinfoCase{"LongArguments", shortcut("C:\\1C\\1cv7.exe", longArguments(), "Длинная строка", "C:\\1C", 0)}),
    [](const auto& testCase) { return std::string(testCase.param.name); });
