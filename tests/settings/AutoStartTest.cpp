// Start with the system: the four entries, the choices that write and remove them, the failure
// rules, and the XDG autostart entries kept in step with them.
#include "platform/fake/FakePathMapper.h"
#include "platform/fake/FakeShellFolders.h"
#include "platform/fake/MemoryRegistry.h"
#include "settings/AutoStartEntries.h"
#include "shell/ShellError.h"
#include "shell/WinShell.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using platform::RegistryRoot;
using settings::AutoStart;
using settings::AutoStartEntries;

constexpr auto runKey = AutoStartEntries::RunKeyPath;
const char* const commonStartup = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp";
const char* const userStartup = "C:\\users\\Иван\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp";

// Which entries exist, in the order HKLM value, HKCU value, all-users shortcut, user's shortcut,
// system XDG entry, user's XDG entry.
struct Entries {
    bool hklm = false, hkcu = false, commonLnk = false, userLnk = false, systemXdg = false, userXdg = false;
    bool operator==(const Entries&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Entries& e) {
    return os << "{hklm " << e.hklm << ", hkcu " << e.hkcu << ", common lnk " << e.commonLnk << ", user lnk "
              << e.userLnk << ", system xdg " << e.systemXdg << ", user xdg " << e.userXdg << "}";
}

class AutoStartTest : public ::testing::Test {
protected:
    testsupport::TempDir m_dir;
    platform::MemoryRegistry m_registry;
    platform::FakePathMapper m_paths;
    platform::FakeShellFolders m_folders;
    shell::WinShell m_shell{m_paths, m_folders};
    fs::path m_driveC = m_dir.path() / "drive_c";
    std::string m_program = (m_driveC / "Tarvesk" / "tarvesk").string();

    void SetUp() override {
        m_paths.addDrive('C', m_driveC.string());
        m_paths.addDrive('Z', "/");
        m_folders.setFolder(24, commonStartup);
        m_folders.setFolder(7, userStartup);
        fs::create_directories(host(commonStartup));
        fs::create_directories(host(userStartup));
        fs::create_directories(systemXdgDir());
        m_registry.plantKey(RegistryRoot::LocalMachine, std::string(runKey));
        m_registry.plantKey(RegistryRoot::CurrentUser, std::string(runKey));
    }

    std::string host(const std::string& windows) const { return m_paths.toHost(windows); }
    fs::path systemXdgDir() const { return m_dir.path() / "etc-xdg" / "autostart"; }
    fs::path userXdgDir() const { return m_dir.path() / "home" / ".config" / "autostart"; }
    settings::XdgAutostart xdg() const { return {userXdgDir().string(), systemXdgDir().string(), "/home/иван/.wine"}; }

    AutoStartEntries entries() { return AutoStartEntries(m_registry, m_shell, m_paths, m_program, xdg()); }

    std::optional<std::string> runValue(RegistryRoot root) const {
        return m_registry.stringValue(root, std::string(runKey), "Tarvesk");
    }
    std::string commonLnk() const { return std::string(commonStartup) + "\\Tarvesk.lnk"; }
    std::string userLnk() const { return std::string(userStartup) + "\\Tarvesk.lnk"; }

    Entries present() const {
        return {runValue(RegistryRoot::LocalMachine).has_value(),
                runValue(RegistryRoot::CurrentUser).has_value(),
                fs::exists(host(commonLnk())),
                fs::exists(host(userLnk())),
                fs::exists(systemXdgDir() / "Tarvesk.desktop"),
                fs::exists(userXdgDir() / "Tarvesk.desktop")};
    }

    // Every entry there, as a user who switched between every choice could leave them.
    void plantAll() {
        m_registry.plantString(RegistryRoot::LocalMachine, std::string(runKey), "Tarvesk", "\"old\"");
        m_registry.plantString(RegistryRoot::CurrentUser, std::string(runKey), "Tarvesk", "\"old\"");
        for (const auto* folder : {commonStartup, userStartup})
            m_shell.CreateDirectoryShortcut("Tarvesk", "", folder);
        fs::create_directories(userXdgDir());
        for (const auto& dir : {systemXdgDir(), userXdgDir()})
            testsupport::writeFile(dir / "Tarvesk.desktop", "old");
        ASSERT_EQ(present(), (Entries{true, true, true, true, true, true}));
    }
};

TEST_F(AutoStartTest, EachChoiceLeavesExactlyItsEntries) {
    struct Case {
        const char* what;
        AutoStart::Choice choice;
        Entries after;
    };
    const Case cases[] = {
        {"unticked removes all four", {false, true, false, false, true}, {}},
        {"registry, current user", {true, true, false, false, true}, {false, true, false, false, false, true}},
        {"registry, all users", {true, true, false, true, false}, {true, false, false, false, true, false}},
        {"startup folder, current user", {true, false, true, false, true}, {false, false, false, true, false, true}},
        {"startup folder, all users", {true, false, true, true, false}, {false, false, true, false, true, false}},
        // A source without a scope removes the other source's entries and writes nothing.
        {"registry, no scope", {true, true, false, false, false}, {true, true, false, false, true, true}},
        {"startup folder, no scope", {true, false, true, false, false}, {false, false, true, true, true, true}},
        {"ticked, no source", {true, false, false, true, true}, {true, true, true, true, true, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        plantAll();
        entries().applyAutoStart(c.choice);
        EXPECT_EQ(present(), c.after);
    }
}

TEST_F(AutoStartTest, RunValueIsTheQuotedWindowsPathOfTheProgram) {
    entries().applyAutoStart({true, true, false, false, true});
    EXPECT_EQ(runValue(RegistryRoot::CurrentUser), "\"C:\\Tarvesk\\tarvesk\"");
    EXPECT_GE(m_registry.flushCount(), 1);
}

TEST_F(AutoStartTest, StartupShortcutHasItsFields) {
    entries().applyAutoStart({true, false, true, false, true});
    const auto info = m_shell.ReadShortcut(userLnk());
    EXPECT_EQ(info.TargetPath, "C:\\Tarvesk\\tarvesk");
    EXPECT_EQ(info.Arguments, "");
    EXPECT_EQ(info.Description, "Стартовый модуль для 1С:Предприятия");
    EXPECT_EQ(info.WorkingDirectory, "C:\\Tarvesk\\");
    EXPECT_EQ(info.IconPath, "C:\\Tarvesk\\tarvesk");
    EXPECT_EQ(info.IconIndex, 0);
    EXPECT_EQ(info.ShowCommand, 0);
    EXPECT_EQ(info.HotKey, 0);
}

TEST_F(AutoStartTest, EveryApplyWritesTheEntriesAgainWithTheCurrentPath) {
    const AutoStart::Choice registry{true, true, false, false, true}, startup{true, false, true, true, false};
    entries().applyAutoStart(registry);
    m_program = (m_driveC / "Moved" / "tarvesk").string();
    entries().applyAutoStart(registry);
    EXPECT_EQ(runValue(RegistryRoot::CurrentUser), "\"C:\\Moved\\tarvesk\"");
    EXPECT_NE(testsupport::readFile(userXdgDir() / "Tarvesk.desktop").find("/Moved/tarvesk"), std::string::npos);

    entries().applyAutoStart(startup);
    m_program = (m_driveC / "Again" / "tarvesk").string();
    entries().applyAutoStart(startup);
    EXPECT_EQ(m_shell.ReadShortcut(commonLnk()).TargetPath, "C:\\Again\\tarvesk");
    EXPECT_NE(testsupport::readFile(systemXdgDir() / "Tarvesk.desktop").find("/Again/tarvesk"), std::string::npos);
}

TEST_F(AutoStartTest, ARunKeyThatCannotBeOpenedIsSkipped) {
    platform::MemoryRegistry bare; // neither Run key exists
    AutoStartEntries limited(bare, m_shell, m_paths, m_program, xdg());
    EXPECT_NO_THROW(limited.applyAutoStart({true, true, false, true, false}));
    EXPECT_NO_THROW(limited.applyAutoStart({false, false, false, false, false}));
    EXPECT_FALSE(bare.keyExists(RegistryRoot::LocalMachine, std::string(runKey)));
    EXPECT_EQ(present(), Entries{});
}

TEST_F(AutoStartTest, AValueThatCannotBeSetStopsTheSteps) {
    plantAll();
    m_registry.setValuesWritable(false);
    try {
        entries().applyAutoStart({true, true, false, false, true});
        FAIL() << "no error";
    } catch (const platform::RegistryError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Tarvesk'");
    }
    // The shortcuts went first; the values could not be changed.
    EXPECT_EQ(present(), (Entries{true, true, false, false, true, true}));
}

TEST_F(AutoStartTest, AShortcutThatCannotBeWrittenStopsTheSteps) {
    plantAll();
    fs::remove_all(host(userStartup));
    EXPECT_THROW(entries().applyAutoStart({true, false, true, false, true}), shell::ShellError);
    // Removed entries stay removed, and the XDG entries follow them.
    EXPECT_EQ(present(), Entries{});
}

TEST_F(AutoStartTest, AStartupFolderThePlatformCannotGive) {
    platform::FakeShellFolders none;
    shell::WinShell shellWithoutFolders(m_paths, none);
    AutoStartEntries noFolders(m_registry, shellWithoutFolders, m_paths, m_program, xdg());
    EXPECT_NO_THROW(noFolders.applyAutoStart({false, false, false, false, false}));
    EXPECT_THROW(noFolders.applyAutoStart({true, false, true, true, false}), shell::ShellError);
}

TEST_F(AutoStartTest, TheSystemXdgFolderIsSkippedWhereItCannotBeWritten) {
    settings::XdgAutostart noSystem = xdg();
    noSystem.systemDirectory = (m_dir.path() / "missing" / "autostart").string();
    AutoStartEntries e(m_registry, m_shell, m_paths, m_program, noSystem);
    EXPECT_NO_THROW(e.applyAutoStart({true, true, false, true, false}));
    EXPECT_TRUE(runValue(RegistryRoot::LocalMachine).has_value());
}

TEST_F(AutoStartTest, AUserXdgEntryThatCannotBeWrittenIsAnError) {
    testsupport::writeFile(m_dir.path() / "blocker", "a file where a folder should be");
    settings::XdgAutostart blocked = xdg();
    blocked.userDirectory = (m_dir.path() / "blocker" / "autostart").string();
    AutoStartEntries e(m_registry, m_shell, m_paths, m_program, blocked);
    EXPECT_THROW(e.applyAutoStart({true, true, false, false, true}), std::runtime_error);
    // Removing it when nothing of the scope is left is no error.
    EXPECT_NO_THROW(e.applyAutoStart({false, false, false, false, false}));
}

TEST_F(AutoStartTest, DesktopEntryStartsTheProgramInTheSamePrefix) {
    m_program = "/opt/Мои программы/tarvesk";
    const auto text = entries().desktopEntryText();
    EXPECT_EQ(text, "[Desktop Entry]\n"
                    "Type=Application\n"
                    "Name=Tarvesk\n"
                    "Comment=Стартовый модуль для 1С:Предприятия\n"
                    "Exec=/usr/bin/env WINEPREFIX=/home/иван/.wine \"/opt/Мои программы/tarvesk\"\n"
                    "Terminal=false\n");
}

TEST(DesktopEntryExec, QuotesByTheDesktopEntryRules) {
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/tarvesk", "/usr/bin/tarvesk"},
        {"/a b/t", "\"/a b/t\""},
        {"", "\"\""},
        {"/x$HOME/t", "\"/x\\\\$HOME/t\""},         // "$" escaped inside quotes, then "\" escaped
        {"/x\"y", "\"/x\\\\\"y\""},                 // a double quote likewise
        {"/back\\slash", "\"/back\\\\\\\\slash\""}, // a literal backslash takes four
        {"/100%/t", "/100%%/t"},                    // "%" would start a field code
        {"/a'b", "\"/a'b\""},
        {"/tab\there", "\"/tab\\there\""}, // the tab as the string escape \t
        {"WINEPREFIX=/p", "WINEPREFIX=/p"},
    };
    for (const auto& [argument, expected] : cases)
        EXPECT_EQ(AutoStartEntries::execArgument(argument), expected) << argument;
}

} // namespace
