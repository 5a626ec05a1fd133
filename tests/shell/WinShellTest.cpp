#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "FakePlatform.h"
#include "ShellLinkInfoPrinter.h"
#include "shell/ShellError.h"
#include "shell/ShellLinkFile.h"
#include "shell/WinShell.h"
#include "support/TempDir.h"

using shell::TShellLinkInfo;
using shell::WinShell;

namespace fs = std::filesystem;

TEST(SpecialFoldersTable, RowsTheProgramSelects) {
    ASSERT_EQ(shell::SpecialFolders.size(), 30u);
    const std::pair<std::size_t, std::pair<const char*, int>> rows[] = {
        {0, {"Alt Startup", 29}}, {4, {"Common Desktop", 25}}, {8, {"Common Startup", 24}}, {11, {"Desktop", 0}},
        {22, {"Printers", 4}},    {23, {"Printer Links", 27}}, {28, {"Startup", 7}},        {29, {"Templates", 21}},
    };
    for (const auto& [index, row] : rows) {
        EXPECT_EQ(shell::SpecialFolders[index].Name, row.first) << index;
        EXPECT_EQ(shell::SpecialFolders[index].FolderId, row.second) << index;
    }
}

TEST(ShortcutFileName, FollowsTheNameRule) {
    const std::pair<const char*, const char*> cases[] = {
        {"Бухгалтерия 7.7", "Бухгалтерия 7.lnk"}, // from the last "." on is the extension
        {"Склад", "Склад.lnk"},                   // no ".": appended
        {"Фирма\\Склад", "Склад.lnk"},            // behind the last "\"
        {"C:Склад.дбф", "Склад.lnk"},             // behind the last ":"
        {"C:\\1C\\1cv7s.exe", "1cv7s.lnk"},
        {"a.b\\c", "c.lnk"}, // a "." before the last "\" does not count
        {"Фирма\\", ".lnk"},
    };
    for (const auto& [target, name] : cases)
        EXPECT_EQ(WinShell::shortcutFileName(target), name) << target;
}

class WinShellTest : public ::testing::Test {
protected:
    testsupport::TempDir m_root;
    shelltest::FakePathMapper m_paths{m_root.path()};
    shelltest::FakeShellFolders m_folders;
    WinShell m_shell{m_paths, m_folders};

    void SetUp() override {
        fs::create_directories(m_root.path() / "Users" / "Рабочий стол");
        m_folders.folders[0] = "C:\\Users\\Рабочий стол";
        m_folders.folders[25] = "C:\\Users\\Рабочий стол\\"; // a platform that leaves the "\" on
    }

    std::size_t filesIn(const fs::path& dir) const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
};

TEST_F(WinShellTest, SpecialFolderPathHasNoTrailingBackslash) {
    EXPECT_EQ(m_shell.SpecialFolderPath(25, false), "C:\\Users\\Рабочий стол");
    EXPECT_EQ(m_shell.SpecialFolderPath(0, false), "C:\\Users\\Рабочий стол");
    EXPECT_EQ(m_shell.SpecialFolderPath(24, false), "");
}

TEST_F(WinShellTest, CreateThenWriteThenReadEveryField) {
    const auto file = m_shell.CreateSpecialFolderShortcut("Бухгалтерия 7.7", "", 0);
    EXPECT_EQ(file, "C:\\Users\\Рабочий стол\\Бухгалтерия 7.lnk");
    ASSERT_TRUE(fs::exists(m_root.path() / "Users" / "Рабочий стол" / "Бухгалтерия 7.lnk"));
    EXPECT_EQ(m_shell.ReadShortcut(file).TargetPath, "Бухгалтерия 7.7");

    TShellLinkInfo info;
    info.TargetPath = "C:\\Program Files\\1Cv77\\BIN\\1cv7s.exe";
    info.Arguments = "ENTERPRISE /D\"C:\\Базы\\Бух\\\" /N\"Главбух\"";
    info.Description = "Бухгалтерия 7.7";
    info.IconPath = info.TargetPath;
    info.IconIndex = 4;
    info.ShowCommand = 0;
    m_shell.WriteShortcut(file, info);
    EXPECT_EQ(m_shell.ReadShortcut(file), info);
}

TEST_F(WinShellTest, CreateTheSameShortcutTwiceLeavesOneFileWithTheLaterContent) {
    const auto dir = m_root.path() / "Users" / "Рабочий стол";
    const auto first = m_shell.CreateDirectoryShortcut("Склад", "первый", "C:\\Users\\Рабочий стол");
    const auto second = m_shell.CreateSpecialFolderShortcut("Склад", "второй", 25);
    EXPECT_EQ(first, second);
    EXPECT_EQ(filesIn(dir), 1u); // no temporary file left either
    EXPECT_EQ(m_shell.ReadShortcut(first).Description, "второй");
}

TEST_F(WinShellTest, DirectoryEndingInBackslashGetsNoSecondOne) {
    EXPECT_EQ(m_shell.CreateDirectoryShortcut("Склад", "", "C:\\"), "C:\\Склад.lnk");
    EXPECT_TRUE(fs::exists(m_root.path() / "Склад.lnk"));
}

TEST_F(WinShellTest, AcceptsAbsoluteHostPaths) {
    const auto dir = m_root.path().string();
    const auto file = m_shell.CreateDirectoryShortcut("C:\\1C\\1cv7.exe", "", dir);
    const auto host = dir + "/1cv7.lnk";
    EXPECT_EQ(file, host);
    ASSERT_TRUE(fs::exists(host));
    TShellLinkInfo info;
    info.TargetPath = "C:\\1C\\1cv7.exe";
    m_shell.WriteShortcut(host, info);
    EXPECT_EQ(m_shell.ReadShortcut(host).TargetPath, "C:\\1C\\1cv7.exe");
}

TEST_F(WinShellTest, WriteShortcutNeedsAnExistingShortcut) {
    TShellLinkInfo info;
    info.TargetPath = "C:\\1C\\1cv7.exe";
    EXPECT_THROW(m_shell.WriteShortcut("C:\\нет.lnk", info), shell::ShellError);
    EXPECT_FALSE(fs::exists(m_root.path() / "нет.lnk"));

    testsupport::writeFile(m_root.path() / "text.lnk", "not a shortcut");
    EXPECT_THROW(m_shell.WriteShortcut("C:\\text.lnk", info), shell::ShellError);
    EXPECT_EQ(testsupport::readFile(m_root.path() / "text.lnk"), "not a shortcut");
}

TEST_F(WinShellTest, FailuresRaiseWithTheUsersMessage) {
    const auto message = [](const auto& call) {
        try {
            call();
        } catch (const shell::ShellError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] {
                  m_shell.CreateDirectoryShortcut("Склад", "", "C:\\Нет такой");
              }).rfind("Не удалось записать ярлык C:\\Нет такой\\Склад.lnk: ", 0),
              0u);
    EXPECT_EQ(message([&] { m_shell.CreateDirectoryShortcut("Склад", "", "D:\\"); }),
              "Путь D:\\Склад.lnk не относится ни к одному диску");
    EXPECT_EQ(message([&] { m_shell.CreateSpecialFolderShortcut("Склад", "", 24); }),
              "Не удалось создать ярлык: специальная папка 24 недоступна");
    EXPECT_EQ(message([&] { m_shell.ReadShortcut("C:\\нет.lnk"); }), "Не удалось открыть ярлык C:\\нет.lnk");
    testsupport::writeFile(m_root.path() / "short.lnk", "L");
    EXPECT_EQ(message([&] {
                  m_shell.ReadShortcut("C:\\short.lnk");
              }).rfind("Файл C:\\short.lnk не является ярлыком Windows", 0),
              0u);
    testsupport::writeFile(m_root.path() / "huge.lnk", "");
    fs::resize_file(m_root.path() / "huge.lnk", 64u << 20); // sparse: no real disk use
    EXPECT_EQ(message([&] { m_shell.ReadShortcut("C:\\huge.lnk"); }),
              "Файл C:\\huge.lnk не является ярлыком Windows: файл слишком велик");
}

// A read-only shortcut is not replaced, as Windows would not replace it.
TEST_F(WinShellTest, AReadOnlyShortcutIsLeftAsItIs) {
    const auto file = m_shell.CreateDirectoryShortcut("Склад", "", "C:\\");
    fs::permissions(m_root.path() / "Склад.lnk", fs::perms(0444));
    const std::string before = testsupport::readFile(m_root.path() / "Склад.lnk");
    TShellLinkInfo info;
    info.TargetPath = "C:\\1C\\1cv7.exe";
    try {
        m_shell.WriteShortcut(file, info);
        ADD_FAILURE() << "no error";
    } catch (const shell::ShellError& e) {
        EXPECT_EQ(std::string(e.what()), "Не удалось записать ярлык " + file + ": файл только для чтения");
    }
    EXPECT_EQ(testsupport::readFile(m_root.path() / "Склад.lnk"), before);
}

// A "shortcut" that is no regular file is refused at once: a FIFO without a writer would block
// the window in open(), a link to /dev/zero would be read until memory runs out.
TEST_F(WinShellTest, ADroppedFileThatIsNoRegularFileIsAnUnreadableShortcut) {
    ASSERT_EQ(::mkfifo((m_root.path() / "fifo.lnk").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", m_root.path() / "zero.lnk");
    fs::create_directory(m_root.path() / "folder.lnk");
    for (const char* name : {"fifo.lnk", "zero.lnk", "folder.lnk"}) {
        const std::string file = m_root.path() / name;
        try {
            m_shell.ReadShortcut(file);
            ADD_FAILURE() << name << " was read";
        } catch (const shell::ShellError& e) {
            EXPECT_EQ(std::string(e.what()), "Не удалось открыть ярлык " + file + ": это не обычный файл");
        }
    }
}

// Names Windows refuses as file names are refused here too; "/" would lead into another
// directory on the host.
TEST_F(WinShellTest, RefusesNamesThatAreNoFileNames) {
    for (const char* name : {"Склад/2024", "Склад/../../x", "Что?", "a*b", "a|b", "a<b>", "a\"b"}) {
        EXPECT_THROW(m_shell.CreateDirectoryShortcut(name, "", "C:\\"), shell::ShellError) << name;
    }
    EXPECT_EQ(filesIn(m_root.path()), 1u); // only Users
}
