// Start with the system on a Wine prefix: the Run values go into the prefix's hive files, the
// Startup shortcuts into its profile folders, each holding the program's Windows path.
#include "platform/posix/WinePathMapper.h"
#include "platform/posix/WineRegistry.h"
#include "platform/posix/WineShellFolders.h"
#include "settings/AutoStartEntries.h"
#include "shell/WinShell.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using platform::RegistryRoot;

const std::string kHeader = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\n\n#arch=win64\n\n";
const std::string kRunKey = "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run] 1700000000\n";

class AutoStartWinePrefixTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto prefix = m_dir.path() / "prefix";
        fs::create_directories(prefix / "dosdevices");
        fs::create_symlink("../drive_c", prefix / "dosdevices" / "c:");
        fs::create_symlink("/", prefix / "dosdevices" / "z:");
        // Wine spells the folder "StartUp"; the program asks for it in any case.
        fs::create_directories(prefix /
                               "drive_c/users/anna/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/StartUp");
        fs::create_directories(prefix / "drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/StartUp");
        testsupport::writeFile(prefix / "user.reg", kHeader + kRunKey + "\"Other\"=\"C:\\\\other.exe\"\n");
        testsupport::writeFile(prefix / "system.reg", kHeader + kRunKey);
        fs::create_directories(m_dir.path() / "opt");
        testsupport::writeFile(m_program, "binary");
    }

    std::string prefix() const { return (m_dir.path() / "prefix").string(); }
    std::string runValue(RegistryRoot root) {
        const auto key = m_registry.openKey(root, std::string(settings::AutoStartEntries::RunKeyPath));
        return key ? key->readString("Tarvesk").value_or("") : "no key";
    }
    fs::path userStartup() const {
        return m_dir.path() / "prefix/drive_c/users/anna/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/StartUp";
    }

    testsupport::TempDir m_dir;
    fs::path m_program = m_dir.path() / "opt" / "tarvesk";
    platform::WineRegistry m_registry{prefix()};
    platform::WinePathMapper m_paths{prefix()};
    platform::WineShellFolders m_folders{m_registry, m_paths, "anna"};
    shell::WinShell m_shell{m_paths, m_folders};
    settings::XdgAutostart m_xdg{(m_dir.path() / "autostart").string(), "", prefix()};
    settings::AutoStartEntries m_entries{m_registry, m_shell, m_paths, m_program.string(), m_xdg};
};

TEST_F(AutoStartWinePrefixTest, RegistryThenStartupFolderThenNothing) {
    const std::string windows = "Z:" + [&] {
        std::string path = m_program.string();
        for (char& c : path)
            if (c == '/')
                c = '\\';
        return path;
    }();

    m_entries.applyAutoStart({true, true, false, false, true});
    EXPECT_EQ(runValue(RegistryRoot::CurrentUser), "\"" + windows + "\"");
    EXPECT_EQ(runValue(RegistryRoot::LocalMachine), "");
    EXPECT_NE(testsupport::readFile(m_dir.path() / "prefix" / "user.reg").find("\"Other\""), std::string::npos);

    m_entries.applyAutoStart({true, false, true, false, true});
    EXPECT_EQ(runValue(RegistryRoot::CurrentUser), "");
    ASSERT_TRUE(fs::exists(userStartup() / "Tarvesk.lnk"));
    const auto info = m_shell.ReadShortcut((userStartup() / "Tarvesk.lnk").string());
    EXPECT_EQ(info.TargetPath, windows);
    EXPECT_EQ(info.WorkingDirectory, windows.substr(0, windows.rfind('\\') + 1));
    EXPECT_TRUE(fs::exists(m_dir.path() / "autostart" / "Tarvesk.desktop"));

    m_entries.applyAutoStart({false, false, true, false, true});
    EXPECT_FALSE(fs::exists(userStartup() / "Tarvesk.lnk"));
    EXPECT_FALSE(fs::exists(m_dir.path() / "autostart" / "Tarvesk.desktop"));
    const auto other =
        m_registry.openKey(RegistryRoot::CurrentUser, std::string(settings::AutoStartEntries::RunKeyPath));
    ASSERT_TRUE(other);
    EXPECT_EQ(other->readString("Other"), "C:\\other.exe"); // nothing else of the key changes
}

} // namespace
