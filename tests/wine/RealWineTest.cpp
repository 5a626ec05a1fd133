// Tarvesk against real Wine: a fresh prefix made by wineboot, the Wine helpers as the build made
// them, and a stand-in for 1C:Enterprise 7.7 (StandIn.c, a 32-bit program like the real one) that
// logs the command line it was given. What the fake wine of the other tests stands in for is
// proven here: the exact hand-off, the password out of sight, and the registry of a running server.
#include "app/Common.h"
#include "engine/CodePage.h"
#include "launch/Class1C.h"
#include "launch/FakeLaunchData.h"
#include "launch/FakeSettingsView.h"
#include "launch/LaunchViews.h"
#include "main/ShortcutCommands.h"
#include "platform/posix/PosixShell.h"
#include "platform/posix/ProcessLauncher.h"
#include "platform/posix/WineBridge.h"
#include "platform/posix/WinePathMapper.h"
#include "platform/posix/WinePrefix.h"
#include "platform/posix/WineRegistry.h"
#include "platform/posix/WineShellFolders.h"
#include "registry/FakeFolderStore.h"
#include "registry/Reestr.h"
#include "registry/ScriptedReestrUi.h"
#include "shell/WinShell.h"
#include "support/FakeWine.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;
using platform::ProcessLauncher;
using platform::RegistryRoot;

namespace {

const std::string kTitles = R"(Software\1C\1Cv7\7.7\Titles)";
const std::string kExe = R"(C:\1Cv77\BIN\1cv7s.exe)";
const std::string kUncExe = R"(\\srv\1c\BIN\1cv7s.exe)";

// The prefix all tests share: made once, since wineboot takes a while.
class WinePrefixEnvironment : public ::testing::Environment {
public:
    static fs::path prefix() { return s_dir->path() / "prefix"; }
    static fs::path root() { return s_dir->path(); }
    static bool ready() { return s_ready; }

    // The environment of Wine's own tools here: a Russian locale, as a user of 1C:Enterprise has.
    static ProcessLauncher::Environment environment() {
        return ProcessLauncher::currentEnvironment({{"LC_ALL", "ru_RU.UTF-8"}});
    }
    // Runs a program with the prefix's environment; its exit code (-1: did not start or was killed).
    static int run(std::vector<std::string> argv, std::chrono::seconds limit = std::chrono::seconds(120)) {
        argv[0] = ProcessLauncher::findOnPath(argv[0]);
        if (argv[0].empty())
            return -1;
        return ProcessLauncher::runWithTimeout(argv, environment(), limit);
    }
    // What "wine reg query" prints (in the console code page 866) as UTF-8.
    static std::string regQuery(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {ProcessLauncher::findOnPath("wine"), "reg", "query"});
        return engine::utf8FromCp866(
            ProcessLauncher::runWithInput(arguments, environment(), "", std::chrono::seconds(60)).output);
    }
    // Stops the prefix's server, which saves the registry to the hive files, and waits for it.
    static void stopServer() {
        run({"wineserver", "-k"});
        run({"wineserver", "-w"});
    }

    void SetUp() override {
        s_dir = new testsupport::TempDir;
        for (const char* tool : {"wine", "wineboot", "wineserver"})
            if (ProcessLauncher::findOnPath(tool).empty()) {
                ADD_FAILURE() << tool << " is not installed; scripts/setup.sh installs Debian's wine";
                return;
            }
        if (!platform::PosixShell::systemHasRussianLocale())
            ADD_FAILURE() << "the ru_RU.UTF-8 locale is missing; scripts/setup.sh makes it";
        setenv("WINEPREFIX", prefix().c_str(), 1);
        setenv("WINEDEBUG", "-all", 1);
        setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1); // no Mono or Gecko prompts
        if (run({"wineboot", "-i"}, std::chrono::seconds(300)) != 0) {
            ADD_FAILURE() << "wineboot could not make a prefix";
            return;
        }
        // 1C:Enterprise's list of infobases exists; Tarvesk never creates it.
        run({"wine", "reg", "add", "HKCU\\" + kTitles, "/f"});
        stopServer();
        for (const fs::path& dir :
             {prefix() / "drive_c" / "1Cv77" / "BIN", prefix() / "dosdevices" / "unc" / "srv" / "1c" / "BIN"}) {
            fs::create_directories(dir);
            fs::copy_file(TARVESK_STANDIN32, dir / "1cv7s.exe", fs::copy_options::overwrite_existing);
        }
        fs::copy_file(TARVESK_STANDIN64, prefix() / "drive_c" / "1Cv77" / "BIN" / "standin64.exe");
        s_ready = true;
    }
    void TearDown() override {
        stopServer();
        delete s_dir;
    }

private:
    static inline testsupport::TempDir* s_dir = nullptr;
    static inline bool s_ready = false;
};

[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new WinePrefixEnvironment);

struct FakeMainWindow : launch::MainWindowView {
    int regime = 0;
    bool exclusive = false;
    int startRegime() const override { return regime; }
    bool exclusiveChecked() const override { return exclusive; }
};

// What the stand-in received.
struct Received {
    std::string wide;     // GetCommandLineW
    std::string ansi;     // GetCommandLineA, read as Windows-1251
    std::string codePage; // GetACP
    bool operator==(const Received&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Received& r) {
    return out << "W[" << r.wide << "] A[" << r.ansi << "] ACP " << r.codePage;
}

Received received(const std::string& commandLine) {
    return {commandLine, commandLine, "1251"};
}

class RealWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WinePrefixEnvironment::ready());
        data.executable = kExe;
        data.rows = {
            {"Торговля", R"(C:\Базы\Торговля 2\)", "Петров  Пётр", R"(p"w  x)", R"(C:\U\)", R"(C:\Bases\upload.prm)"}};
        data.folderRow = 0;
        launcher.setDataModule(&data);
        launcher.setMainWindowView(&mainWindow);
        launcher.setSettingsView(&settings);
    }
    void TearDown() override { unsetenv("STANDIN_SLEEP"); }

    // Starts the current executable from the main window and waits for what the stand-in logged.
    Received launch(const std::string& name) {
        const fs::path log = setLog(name);
        launcher.Launch(app::LaunchSource::lsMainWindow);
        return waitForLog(log);
    }
    fs::path setLog(const std::string& name) {
        const fs::path log = WinePrefixEnvironment::root() / (name + ".log");
        fs::remove(log);
        setenv("STANDIN_LOG", paths.toWindows(log.string()).c_str(), 1);
        return log;
    }
    static Received waitForLog(const fs::path& log) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!fs::exists(log) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::istringstream lines(testsupport::readFile(log));
        Received r;
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("W ", 0) == 0)
                r.wide = line.substr(2);
            else if (line.rfind("A ", 0) == 0)
                r.ansi = engine::utf8FromCp1251(line.substr(2));
            else if (line.rfind("ACP ", 0) == 0)
                r.codePage = line.substr(4);
        }
        if (r.wide.empty())
            r.wide = "<the stand-in never ran>";
        return r;
    }
    std::string commandLine(const std::string& program) {
        return "\"" + program + "\" " + launcher.BuildCommandLine(app::LaunchSource::lsMainWindow);
    }

    std::string prefix = WinePrefixEnvironment::prefix().string();
    platform::WineBridge bridge{prefix, testsupport::bridgeDirectory()};
    platform::WinePathMapper paths{prefix};
    platform::WineRegistry registry{prefix, bridge};
    platform::PosixShell shell{paths, bridge};
    launch::TC1C launcher{registry, shell};
    testsupport::FakeLaunchData data;
    testsupport::FakeSettingsView settings;
    FakeMainWindow mainWindow;
};

// Every regime, a directory with Cyrillic and a blank, a user name with two blanks, a password
// with a quote and blanks followed by a batch file: 1C:Enterprise gets the string as composed, in
// Unicode and as Windows-1251.
TEST_F(RealWineTest, EveryRegimeArrivesExactly) {
    mainWindow.exclusive = true;
    const std::string exe = "\"" + kExe + "\" ";
    const std::string user = R"( /nПетров  Пётр /pp"w  x /uC:\U\)";
    const std::string expected[] = {
        exe + R"(enterprise /d"C:\Базы\Торговля 2\" /m)" + user,
        exe + R"(config /d"C:\Базы\Торговля 2\")" + user,
        exe + R"(debug /d"C:\Базы\Торговля 2\")" + user,
        exe + R"(monitor /d"C:\Базы\Торговля 2\")" + user,
        exe + R"(config /d"C:\Базы\Торговля 2\")" + user + R"( /@C:\Bases\upload.prm)",
    };
    for (int regime = 0; regime < 5; ++regime) {
        mainWindow.regime = regime;
        EXPECT_EQ(commandLine(kExe), expected[regime]);
        EXPECT_EQ(launch("regime" + std::to_string(regime)), received(expected[regime])) << "regime " << regime;
    }
}

TEST_F(RealWineTest, AnExecutableOnANetworkPathStartsThroughWine) {
    data.executable = kUncExe;
    EXPECT_EQ(launch("unc"), received(commandLine(kUncExe)));
}

TEST_F(RealWineTest, ASixtyFourBitProgramStartsThroughTheOtherHelper) {
    data.executable = R"(C:\1Cv77\BIN\standin64.exe)";
    EXPECT_EQ(launch("x64"), received(commandLine(data.executable)));
}

// The shortcut the infobase list's menu makes, started by Wine itself, gives 1C:Enterprise the
// same string, without the password.
TEST_F(RealWineTest, TheDesktopShortcutStartedByWineGivesTheSameStringWithoutPassword) {
    platform::WineShellFolders folders(registry, paths);
    shell::WinShell winShell(paths, folders);
    mainwin::ShortcutCommands commands(winShell, data, launcher, mainWindow, paths);
    const std::string file = commands.pmiDesktopClick(11); // the current user's desktop
    ASSERT_FALSE(file.empty());
    const fs::path log = setLog("shortcut");
    ASSERT_EQ(WinePrefixEnvironment::run({"wine", "start", file}), 0);
    const std::string arguments = launcher.BuildCommandLine(app::LaunchSource::lsShortcut);
    EXPECT_EQ(arguments, R"(enterprise /d"C:\Базы\Торговля 2\" /nПетров  Пётр /uC:\U\)");
    EXPECT_EQ(waitForLog(log), received("\"" + kExe + "\" " + arguments));
}

// Nobody else on the machine can read the password while 1C:Enterprise runs: no process's
// command line or environment holds it, while 1C:Enterprise itself got the whole string.
TEST_F(RealWineTest, ThePasswordNeverShowsInTheProcessList) {
    setenv("STANDIN_SLEEP", "3000", 1);
    for (const std::string password : {"Secret1234", "p w  x", "Пароль1"}) {
        data.rows[0].password = password;
        const fs::path log = setLog("hidden");
        const std::string expected = commandLine(kExe);
        launcher.Launch(app::LaunchSource::lsMainWindow);
        // Look from the start until the stand-in has logged (so the helper's life is covered too).
        std::vector<std::string> seenIn;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        bool logged = false;
        while (!logged && std::chrono::steady_clock::now() < deadline) {
            logged = fs::exists(log);
            for (const auto& entry : fs::directory_iterator("/proc")) {
                const std::string pid = entry.path().filename();
                if (pid.find_first_not_of("0123456789") != std::string::npos || pid == std::to_string(getpid()))
                    continue;
                for (const char* file : {"cmdline", "environ"})
                    if (testsupport::readFile(entry.path() / file).find(password) != std::string::npos)
                        seenIn.push_back("/proc/" + pid + "/" + file);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_TRUE(seenIn.empty()) << password << " is readable in " << seenIn.front();
        EXPECT_EQ(waitForLog(log), received(expected)) << password;
    }
}

// While a Wine server runs (1C:Enterprise open), the registry is the server's: what Tarvesk
// writes, Wine sees at once and saves; what Wine writes, Tarvesk sees; what Tarvesk deletes stays
// deleted after the server saves.
TEST_F(RealWineTest, TheRegistryOfARunningServerIsTheOneReadAndWritten) {
    WinePrefixEnvironment::stopServer(); // the last launch's server may linger a moment
    ASSERT_EQ(WinePrefixEnvironment::run({"wineserver", "-p"}), 0);
    for (int i = 0; i < 500 && !platform::WinePrefix::serverRunning(prefix); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(platform::WinePrefix::serverRunning(prefix));

    app::TitleWrite(registry, R"(C:\Базы\Склад\)", "Склад №1");
    const std::string query = WinePrefixEnvironment::regQuery({"HKCU\\" + kTitles});
    EXPECT_NE(query.find(R"(C:\Базы\Склад\    REG_SZ    Склад №1)"), std::string::npos) << query;

    // An entry written by a Windows program during the session shows after "Обновить".
    ASSERT_EQ(WinePrefixEnvironment::run(
                  {"wine", "reg", "add", "HKCU\\" + kTitles, "/v", R"(D:\Учёт\)", "/t", "REG_SZ", "/d", "Учёт", "/f"}),
              0);
    registrytest::ScriptedReestrUi ui;
    registrytest::FakeFolderStore store;
    registry::TfrmReestr window(nullptr, registry, store, ui);
    window.show();
    window.findChild<QAbstractButton*>(QStringLiteral("btnRefresh"))->click();
    auto* grid = window.findChild<QTableWidget*>(QStringLiteral("vedReestr"));
    auto* unaccounted = window.findChild<QListWidget*>(QStringLiteral("clbReestr"));
    QStringList directories, lines;
    for (int row = 0; row < grid->rowCount(); ++row)
        directories << grid->item(row, 0)->text();
    for (int row = 0; row < unaccounted->count(); ++row)
        lines << unaccounted->item(row)->text();
    EXPECT_TRUE(directories.contains(QStringLiteral("D:\\Учёт\\"))) << directories.join('|').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("D:\\Учёт\\=Учёт"))) << lines.join('|').toStdString();

    // Deleted in the window during the session: gone for good once the server saves.
    grid->selectRow(static_cast<int>(directories.indexOf(QStringLiteral("C:\\Базы\\Склад\\"))));
    window.findChild<QAbstractButton*>(QStringLiteral("btnDeleteKey"))->click();
    EXPECT_EQ(ui.deleteQuestions, 1);
    EXPECT_FALSE(app::TitleExists(registry, R"(C:\Базы\Склад\)"));

    WinePrefixEnvironment::stopServer();
    ASSERT_FALSE(platform::WinePrefix::serverRunning(prefix));
    platform::WineRegistry saved(prefix); // the hive file alone
    const auto key = saved.openKey(RegistryRoot::CurrentUser, kTitles);
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->hasValue(R"(C:\Базы\Склад\)"));
    EXPECT_EQ(key->readString(R"(D:\Учёт\)"), "Учёт");
}

// Without a server the files are read and written directly, and a server started later sees the
// entry.
TEST_F(RealWineTest, WithoutAServerTheHiveFileIsWrittenAndWineReadsIt) {
    WinePrefixEnvironment::stopServer();
    app::TitleWriteIfAbsent(registry, R"(E:\Ёлка\)", "Ёлка");
    platform::WineRegistry saved(prefix);
    EXPECT_EQ(saved.openKey(RegistryRoot::CurrentUser, kTitles)->readString(R"(E:\Ёлка\)"), "Ёлка");
    const std::string query = WinePrefixEnvironment::regQuery({"HKCU\\" + kTitles, "/v", R"(E:\Ёлка\)"});
    EXPECT_NE(query.find(R"(E:\Ёлка\    REG_SZ    Ёлка)"), std::string::npos) << query;
    WinePrefixEnvironment::stopServer();
}

// Wine writes no section for a key that only has subkeys; the first Titles entry written into
// such a hive file gives the key its section, and Wine reads it.
TEST_F(RealWineTest, AnEntryGoesIntoATitlesKeyThatOnlyHasSubkeys) {
    WinePrefixEnvironment::stopServer();
    ASSERT_EQ(WinePrefixEnvironment::run({"wine", "reg", "delete", "HKCU\\" + kTitles, "/f"}), 0);
    ASSERT_EQ(
        WinePrefixEnvironment::run({"wine", "reg", "add", "HKCU\\" + kTitles + "\\Sub", "/v", "x", "/d", "y", "/f"}),
        0);
    WinePrefixEnvironment::stopServer();
    const std::string hive = testsupport::readFile(WinePrefixEnvironment::prefix() / "user.reg");
    ASSERT_EQ(hive.find("[Software\\\\1C\\\\1Cv7\\\\7.7\\\\Titles]"), std::string::npos) << "Wine wrote a section";
    ASSERT_NE(hive.find("[Software\\\\1C\\\\1Cv7\\\\7.7\\\\Titles\\\\Sub]"), std::string::npos);

    app::TitleWriteIfAbsent(registry, R"(F:\Ёлка\)", "Ёлка");
    const std::string query = WinePrefixEnvironment::regQuery({"HKCU\\" + kTitles});
    EXPECT_NE(query.find(R"(F:\Ёлка\    REG_SZ    Ёлка)"), std::string::npos) << query;
    EXPECT_NE(query.find("Titles\\Sub"), std::string::npos) << query;
    WinePrefixEnvironment::stopServer();
}

} // namespace
