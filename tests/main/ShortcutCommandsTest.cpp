// The main window's shortcut commands: desktop shortcuts of all users and of the current user,
// and a shortcut in a chosen directory.
#include "main/ShortcutCommands.h"

#include "launch/Class1C.h"
#include "launch/FakeLaunchData.h"
#include "launch/FakeSettingsView.h"
#include "launch/LaunchViews.h"
#include "platform/fake/FakePathMapper.h"
#include "platform/fake/FakeShellFolders.h"
#include "platform/fake/MemoryRegistry.h"
#include "platform/fake/RecordingShell.h"
#include "shell/ShellError.h"
#include "shell/WinShell.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using Row = testsupport::FakeLaunchData::Row;

const std::string kExe = R"(C:\Program Files\1Cv77\BIN\1cv7s.exe)";
const std::string kCommonDesktop = R"(C:\users\Public\Desktop)";
const std::string kUserDesktop = R"(C:\users\Иван\Desktop)";

struct FakeMainWindow : launch::MainWindowView {
    int regime = 0;
    bool exclusive = false;
    int startRegime() const override { return regime; }
    bool exclusiveChecked() const override { return exclusive; }
};

class ShortcutCommandsTest : public ::testing::Test {
protected:
    ShortcutCommandsTest() {
        m_paths.addDrive('C', (m_dir.path() / "drive_c").string());
        m_folders.setFolder(25, kCommonDesktop);
        m_folders.setFolder(0, kUserDesktop);
        for (const auto& folder : {kCommonDesktop, kUserDesktop, std::string(R"(C:\Ярлыки)")})
            fs::create_directories(host(folder));
        m_launcher.setDataModule(&m_data);
        m_launcher.setMainWindowView(&m_main);
        m_launcher.setSettingsView(&m_settings);
        m_data.executable = kExe;
        showRow({"Бухгалтерия 7.7", R"(C:\Базы\Бух 7)", "Главбух", "секрет", R"(D:\Users\Бух)", ""});
    }

    void showRow(const Row& row) {
        m_data.rows.push_back(row);
        m_data.folderRow = m_data.rows.size() - 1;
    }
    std::string host(const std::string& windows) const { return m_paths.toHost(windows); }

    testsupport::TempDir m_dir;
    platform::FakePathMapper m_paths;
    platform::FakeShellFolders m_folders;
    shell::WinShell m_shell{m_paths, m_folders};
    platform::MemoryRegistry m_registry;
    platform::RecordingShell m_run;
    testsupport::FakeLaunchData m_data;
    testsupport::FakeSettingsView m_settings;
    FakeMainWindow m_main;
    launch::TC1C m_launcher{m_registry, m_run};
    mainwin::ShortcutCommands m_commands{m_shell, m_data, m_launcher, m_main, m_paths};
};

TEST_F(ShortcutCommandsTest, CurrentUsersDesktopShortcutHasEveryField) {
    m_main.regime = 2;
    const auto file = m_commands.pmiDesktopClick(11);
    EXPECT_EQ(file, kUserDesktop + R"(\Бухгалтерия 7.lnk)");
    const auto info = m_shell.ReadShortcut(file);
    EXPECT_EQ(info.TargetPath, kExe);
    // The shortcut form of the argument string: the password is left out.
    EXPECT_EQ(info.Arguments, R"(debug /d"C:\Базы\Бух 7" /nГлавбух /uD:\Users\Бух)");
    EXPECT_EQ(info.Description, "Бухгалтерия 7.7");
    EXPECT_EQ(info.WorkingDirectory, "");
    EXPECT_EQ(info.IconPath, kExe);
    EXPECT_EQ(info.IconIndex, 2);
    EXPECT_EQ(info.ShowCommand, 0);
    EXPECT_EQ(info.HotKey, 0);
    EXPECT_TRUE(m_run.programRuns().empty()); // nothing is started
}

TEST_F(ShortcutCommandsTest, AllUsersDesktopAndTheExclusiveFlag) {
    m_main.exclusive = true;
    const auto file = m_commands.pmiDesktopClick(4);
    EXPECT_EQ(file, kCommonDesktop + R"(\Бухгалтерия 7.lnk)");
    EXPECT_EQ(m_shell.ReadShortcut(file).Arguments, R"(enterprise /d"C:\Базы\Бух 7" /m /nГлавбух /uD:\Users\Бух)");
}

TEST_F(ShortcutCommandsTest, TheSameShortcutTwiceLeavesOneFileWithTheLaterContent) {
    m_commands.pmiDesktopClick(11);
    m_main.regime = 1;
    const auto file = m_commands.pmiDesktopClick(11);
    const auto info = m_shell.ReadShortcut(file);
    EXPECT_EQ(info.IconIndex, 1);
    EXPECT_EQ(info.Arguments.rfind("config ", 0), 0u);
    EXPECT_EQ(std::distance(fs::directory_iterator(host(kUserDesktop)), fs::directory_iterator()), 1);
}

TEST_F(ShortcutCommandsTest, FileIsNamedAfterTheInfobase) {
    const std::pair<const char*, const char*> cases[] = {
        {"Склад", "Склад.lnk"},
        {"Фирма\\Склад 2.0", "Склад 2.lnk"},
    };
    for (const auto& [name, file] : cases) {
        showRow({name, R"(C:\Базы\Склад)", "", "", "", ""});
        EXPECT_EQ(m_commands.pmiDesktopClick(11), kUserDesktop + "\\" + file) << name;
        EXPECT_TRUE(fs::exists(fs::path(host(kUserDesktop)) / file)) << name;
    }
}

TEST_F(ShortcutCommandsTest, ShortcutInAChosenDirectory) {
    int asked = 0;
    const auto file = m_commands.pmiFolderShortCutClick([&]() -> std::optional<std::string> {
        ++asked;
        return R"(C:\Ярлыки)";
    });
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(file, R"(C:\Ярлыки\Бухгалтерия 7.lnk)");
    EXPECT_EQ(m_shell.ReadShortcut(file), m_commands.shortcutInfo("Бухгалтерия 7.7"));
}

TEST_F(ShortcutCommandsTest, ACancelledChooserWritesNothing) {
    EXPECT_EQ(m_commands.pmiFolderShortCutClick([] { return std::nullopt; }), "");
    EXPECT_TRUE(fs::is_empty(host(R"(C:\Ярлыки)")));
}

TEST_F(ShortcutCommandsTest, WithoutAnInfobaseNothingIsWrittenOrAsked) {
    m_data.folderRow.reset();
    EXPECT_EQ(m_commands.pmiDesktopClick(11), "");
    bool asked = false;
    EXPECT_EQ(m_commands.pmiFolderShortCutClick([&] {
        asked = true;
        return std::optional<std::string>(R"(C:\Ярлыки)");
    }),
              "");
    EXPECT_FALSE(asked);
    EXPECT_TRUE(fs::is_empty(host(kUserDesktop)));
}

TEST_F(ShortcutCommandsTest, AShortcutThatCannotBeWrittenIsAShellError) {
    fs::remove_all(host(kCommonDesktop));
    EXPECT_THROW(m_commands.pmiDesktopClick(4), shell::ShellError);
    EXPECT_THROW(m_commands.pmiFolderShortCutClick([] { return std::optional<std::string>(R"(C:\Нет такого)"); }),
                 shell::ShellError);
}

TEST_F(ShortcutCommandsTest, AnExecutableStoredAsAHostPathIsWrittenAsItsWindowsPath) {
    m_data.executable = (m_dir.path() / "drive_c" / "1C" / "1cv7s.exe").string();
    const auto info = m_shell.ReadShortcut(m_commands.pmiDesktopClick(11));
    EXPECT_EQ(info.TargetPath, R"(C:\1C\1cv7s.exe)");
    EXPECT_EQ(info.IconPath, R"(C:\1C\1cv7s.exe)");
}

} // namespace
