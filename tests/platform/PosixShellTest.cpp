#include "platform/posix/PosixShell.h"
#include "platform/posix/ProcessLauncher.h"
#include "platform/posix/WineBridge.h"

#include "platform/fake/FakePathMapper.h"
#include "support/FakeWine.h"
#include "support/TempDir.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <thread>

using platform::ProcessLauncher;

namespace {

namespace fs = std::filesystem;

// Waits for a file a started child writes, polling; the limit is generous so that a slow machine
// does not fail the test, only a child that never writes.
std::string waitForFile(const fs::path& path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        if (fs::exists(path.string() + ".done"))
            return testsupport::readFile(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return "<no output>";
}

// True once the process is gone entirely (exited and reaped: not even a zombie is left).
bool waitUntilReaped(pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        if (!fs::exists("/proc/" + std::to_string(pid)))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void writeScript(const fs::path& path, const std::string& body) {
    testsupport::writeFile(path, "#!/bin/sh\n" + body);
    fs::permissions(path, fs::perms::owner_all);
}

// Records its argv (one per line), then LC_ALL and WINEPREFIX, into $OUT; "$OUT.done" marks the end.
const std::string recorder = "for a in \"$0\" \"$@\"; do printf '%s\\n' \"$a\"; done > \"$OUT\"\n"
                             "printf 'LC_ALL=%s\\nWINEPREFIX=%s\\n' \"$LC_ALL\" \"$WINEPREFIX\" >> \"$OUT\"\n"
                             ": > \"$OUT.done\"\n";

// Sets an environment variable for the scope and puts the old state back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value, 1);
    }
    ~ScopedVariable() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class PosixShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        fs::create_directory(m_dir.path() / "bin");
        setenv("PATH", ((m_dir.path() / "bin").string() + ":" + m_oldPath).c_str(), 1);
        setenv("OUT", out().c_str(), 1);
        m_paths.addDrive('C', (m_dir.path() / "drive_c").string());
        fs::create_directories(m_dir.path() / "drive_c");
    }
    void TearDown() override {
        setenv("PATH", m_oldPath.c_str(), 1);
        unsetenv("OUT");
    }
    std::string out() const { return (m_dir.path() / "argv.txt").string(); }
    std::filesystem::path wineLog() const { return m_dir.path() / "wine.log"; }
    void fakeWine() { testsupport::writeFakeWine(m_dir.path() / "bin" / "wine", wineLog()); }
    // The one start the fake wine logged.
    std::string wineStart() {
        const auto starts = testsupport::fakeWineStarts(wineLog(), 1);
        return starts.size() == 1 ? starts.front() : "<" + std::to_string(starts.size()) + " starts>";
    }
    std::string expectedOutput(const std::vector<std::string>& argv, const std::string& lcAll = "",
                               const std::string& prefix = "") {
        std::string text;
        for (const auto& a : argv)
            text += a + "\n";
        return text + "LC_ALL=" + lcAll + "\nWINEPREFIX=" + prefix + "\n";
    }

    testsupport::TempDir m_dir;
    platform::FakePathMapper m_paths;
    platform::WineBridge m_bridge{"/some/prefix", testsupport::bridgeDirectory()};
    std::string m_oldPath;
};

} // namespace

TEST_F(PosixShellTest, StartsAProgramWithItsArgumentsAsSplit) {
    writeScript(m_dir.path() / "drive_c" / "tool", recorder);
    platform::PosixShell shell(m_paths, m_bridge, [] { return true; });
    const pid_t pid = shell.start("C:\\tool", R"(enterprise /d"C:\My Bases\Trade\" /m /nUser)");
    ASSERT_GT(pid, 0);
    EXPECT_EQ(waitForFile(out()), expectedOutput({(m_dir.path() / "drive_c" / "tool").string(), "enterprise",
                                                  "/dC:\\My Bases\\Trade\\", "/m", "/nUser"}));
    EXPECT_TRUE(waitUntilReaped(pid));
}

TEST_F(PosixShellTest, ShellCharactersArriveLiterallyAndRunNothing) {
    writeScript(m_dir.path() / "drive_c" / "tool", recorder);
    platform::PosixShell shell(m_paths, m_bridge);
    const std::string marker = (m_dir.path() / "pwned").string();
    const std::string dangerous =
        "/d\"C:\\a;touch " + marker + "\" $(touch " + marker + ") `touch " + marker + "` && touch " + marker + " | >x";
    const pid_t pid = shell.start("C:\\tool", dangerous);
    ASSERT_GT(pid, 0);
    EXPECT_EQ(waitForFile(out()),
              expectedOutput({(m_dir.path() / "drive_c" / "tool").string(), "/dC:\\a;touch " + marker, "$(touch",
                              marker + ")", "`touch", marker + "`", "&&", "touch", marker, "|", ">x"}));
    EXPECT_TRUE(waitUntilReaped(pid));
    EXPECT_FALSE(fs::exists(marker));
}

// Wine's helper gets the program's Windows path and the command line a Windows shell would
// build: the quoted program name, one blank and the argument string byte for byte.
TEST_F(PosixShellTest, AnExeGoesToWinesHelperWithTheExactCommandLine) {
    fakeWine();
    const std::string lcAll = std::getenv("LC_ALL") ? std::getenv("LC_ALL") : ""; // inherited, not replaced
    const std::string unixExe = (m_dir.path() / "drive_c" / "x.exe").string();
    const struct {
        std::string program, arguments, windows, line;
    } cases[] = {
        {R"(C:\1Cv77\BIN\1cv7s.EXE)", R"(enterprise /d"C:\Bases\Trade 2\" /nИванов  И.И.)", R"(C:\1Cv77\BIN\1cv7s.EXE)",
         R"("C:\1Cv77\BIN\1cv7s.EXE" enterprise /d"C:\Bases\Trade 2\" /nИванов  И.И.)"},
        {R"(\\srv\1c\BIN\1cv7s.exe)", "config /dX", R"(\\srv\1c\BIN\1cv7s.exe)",
         R"("\\srv\1c\BIN\1cv7s.exe" config /dX)"},
        {unixExe, "debug ", R"(C:\x.exe)", R"("C:\x.exe" debug )"},
        {R"(c:\a.exe)", "", R"(c:\a.exe)", R"("c:\a.exe")"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(wineLog());
        platform::PosixShell shell(m_paths, m_bridge, [] { return false; });
        ASSERT_GT(shell.start(c.program, c.arguments), 0) << c.program;
        EXPECT_EQ(wineStart(), "[tarvesk-bridge32.exe]{run}{" + c.windows + "}{" + c.line + "}{" + c.line +
                                   "} WINEPREFIX=/some/prefix LC_ALL=" + lcAll);
    }
}

TEST_F(PosixShellTest, ThePasswordIsBlankedInWhatTheProcessListShows) {
    fakeWine();
    platform::PosixShell shell(m_paths, m_bridge, [] { return true; });
    ASSERT_GT(shell.start(R"(C:\1cv7s.exe)", R"(enterprise /nUser /pp"w  x /@C:\b.prm)", R"(p"w  x)"), 0);
    const std::string line = R"("C:\1cv7s.exe" enterprise /nUser /pp"w  x /@C:\b.prm)";
    const std::string shown = R"("C:\1cv7s.exe" enterprise /nUser /p       /@C:\b.prm)";
    const std::string start = wineStart();
    EXPECT_EQ(start.substr(0, start.find(" WINEPREFIX")),
              "[tarvesk-bridge32.exe]{run}{C:\\1cv7s.exe}{" + line + "}{" + shown + "}")
        << "one blank per character";
}

TEST(PosixShellPassword, BlanksOneBlankPerUtf16UnitWhereverTheSwitchCarriesIt) {
    using platform::PosixShell;
    const struct {
        const char* line;
        const char* password;
        const char* shown;
    } cases[] = {
        {"enterprise /nU /pSecret123 /uC:\\U\\", "Secret123", "enterprise /nU /p          /uC:\\U\\"},
        {"e /pпароль 1", "пароль 1", "e /p        "},
        {"e /p\xF0\x9F\x94\x91x", "\xF0\x9F\x94\x91x", "e /p   "}, // a key emoji is two UTF-16 units
        {"e /dC:\\pw /ppw", "pw", "e /dC:\\pw /p  "},              // only after " /p"
        {"e /pab /pab", "ab", "e /p   /p  "},
        {"e /nU", "", "e /nU"},
        {"e /nU /pother", "pw", "e /nU /pother"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PosixShell::blankPassword(c.line, c.password), c.shown) << c.line;
}

TEST_F(PosixShellTest, ASixtyFourBitProgramGetsTheSixtyFourBitHelper) {
    fakeWine();
    std::string pe(0x100, '\0');
    pe[0] = 'M';
    pe[1] = 'Z';
    pe[0x3C] = static_cast<char>(0x80);
    pe.replace(0x80, 6, std::string("PE\0\0\x64\x86", 6));
    testsupport::writeFile(m_dir.path() / "drive_c" / "x64.exe", pe);
    platform::PosixShell shell(m_paths, m_bridge, [] { return true; });
    ASSERT_GT(shell.start(R"(C:\x64.exe)", "e"), 0);
    EXPECT_EQ(wineStart().substr(0, 22), "[tarvesk-bridge64.exe]");
}

TEST_F(PosixShellTest, WineGetsTheRussianLocaleWhenTheCurrentOneLacksCp1251) {
    fakeWine();
    const ScopedVariable locale("LC_ALL", "C.UTF-8");
    platform::PosixShell shell(m_paths, m_bridge, [] { return true; });
    std::vector<std::string> notices;
    shell.setNotice([&notices](const std::string& text) { notices.push_back(text); });
    ASSERT_GT(shell.start("C:\\a.exe", ""), 0);
    EXPECT_NE(wineStart().find(" LC_ALL=ru_RU.UTF-8"), std::string::npos) << wineStart();
    EXPECT_STREQ(std::getenv("LC_ALL"), "C.UTF-8"); // only the child's environment changed
    EXPECT_TRUE(notices.empty());
}

TEST_F(PosixShellTest, WithoutARussianLocaleTheUserIsToldOnceAndTheLaunchGoesOn) {
    fakeWine();
    const ScopedVariable locale("LC_ALL", "C.UTF-8");
    platform::PosixShell shell(m_paths, m_bridge, [] { return false; });
    std::vector<std::string> notices;
    shell.setNotice([&notices](const std::string& text) { notices.push_back(text); });
    ASSERT_GT(shell.start("C:\\a.exe", "enterprise"), 0);
    ASSERT_GT(shell.start("C:\\a.exe", "config"), 0);
    EXPECT_EQ(testsupport::fakeWineStarts(wineLog(), 2).size(), 2u);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices.front().find("ru_RU.UTF-8"), std::string::npos);
    EXPECT_NE(notices.front().find("locale-gen"), std::string::npos);
}

TEST_F(PosixShellTest, NothingStartsWithoutADriveWineOrTheHelper) {
    platform::PosixShell shell(m_paths, m_bridge);
    fakeWine();
    EXPECT_EQ(shell.start("Q:\\tool.exe", ""), -1); // no such drive
    EXPECT_EQ(shell.start("Q:\\tool", ""), -1);
    EXPECT_EQ(shell.start("relative\\tool.exe", ""), -1);
    EXPECT_EQ(shell.start("/nowhere/tool.exe", ""), -1); // no drive leads there
    EXPECT_EQ(shell.start("C:\\missing", ""), -1);
    platform::WineBridge noHelper("/p", (m_dir.path() / "empty").string());
    platform::PosixShell without(m_paths, noHelper);
    EXPECT_EQ(without.start("C:\\a.exe", ""), -1);
    setenv("PATH", (m_dir.path() / "nothing").string().c_str(), 1); // no wine anywhere
    EXPECT_EQ(shell.start("C:\\a.exe", ""), -1);
    shell.runProgram("C:\\a.exe", "x", ""); // silent
    EXPECT_TRUE(testsupport::fakeWineStarts(wineLog(), 0).empty());
}

TEST(PosixShellLocale, Cp1251LocalesAreRecognised) {
    const struct {
        const char* lcAll;
        const char* lcCtype;
        const char* lang;
        bool cp1251;
    } cases[] = {
        {"ru_RU.UTF-8", nullptr, nullptr, true},  {nullptr, "uk_UA.UTF-8", "C", true},
        {nullptr, nullptr, "be_BY.UTF-8", true},  {"C.UTF-8", nullptr, "ru_RU.UTF-8", false},
        {nullptr, nullptr, "en_US.UTF-8", false}, {nullptr, nullptr, nullptr, false},
        {"", "", "ru_RU.CP1251", true},
    };
    const char* names[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    std::vector<std::optional<std::string>> saved;
    for (const char* n : names)
        saved.push_back(std::getenv(n) ? std::optional<std::string>(std::getenv(n)) : std::nullopt);
    for (const auto& c : cases) {
        const char* values[] = {c.lcAll, c.lcCtype, c.lang};
        for (int i = 0; i < 3; ++i)
            values[i] ? setenv(names[i], values[i], 1) : unsetenv(names[i]);
        EXPECT_EQ(platform::PosixShell::localeGivesCp1251(), c.cp1251)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcCtype ? c.lcCtype : "-") << " " << (c.lang ? c.lang : "-");
    }
    for (int i = 0; i < 3; ++i)
        saved[static_cast<std::size_t>(i)] ? setenv(names[i], saved[static_cast<std::size_t>(i)]->c_str(), 1)
                                           : unsetenv(names[i]);
}

TEST_F(PosixShellTest, TheHelpersAnswerComesBackAndItRunsInThePrefixQuietly) {
    // Without 32-bit Wine the 32-bit helper cannot run: the 64-bit one answers, and is kept.
    writeScript(m_dir.path() / "bin" / "wine", "echo \"${1##*/}\" >> \"$OUT\"\n"
                                               "case \"$1\" in *32.exe) [ -n \"$NO32\" ] && exit 1;; esac\n"
                                               "printf '%s|%s|%s|' \"${1##*/}\" \"$WINEPREFIX\" \"$WINEDEBUG\"\ncat\n");
    const std::string request("reg\0list\0HKCU\0Software\\Тест\0", 27);
    EXPECT_EQ(m_bridge.exchange(request), "tarvesk-bridge32.exe|/some/prefix|-all|" + request);
    {
        const ScopedVariable no32("NO32", "1");
        platform::WineBridge without32("/some/prefix", testsupport::bridgeDirectory());
        EXPECT_EQ(without32.exchange(request), "tarvesk-bridge64.exe|/some/prefix|-all|" + request);
        EXPECT_EQ(without32.exchange(request), "tarvesk-bridge64.exe|/some/prefix|-all|" + request);
    }
    EXPECT_EQ(testsupport::readFile(out()),
              "tarvesk-bridge32.exe\ntarvesk-bridge32.exe\ntarvesk-bridge64.exe\ntarvesk-bridge64.exe\n");
    writeScript(m_dir.path() / "bin" / "wine", "cat >/dev/null\nexit 2\n");
    EXPECT_EQ(platform::WineBridge("/p", testsupport::bridgeDirectory()).exchange(request), std::nullopt);
}

TEST_F(PosixShellTest, InputReachesTheChildWholeAndItsOutputComesBack) {
    writeScript(m_dir.path() / "bin" / "echo-twice", "cat > \"$OUT\"\ncat \"$OUT\" \"$OUT\"\n");
    std::string input(300000, 'x'); // more than a pipe holds by default
    for (std::size_t i = 0; i < input.size(); i += 7)
        input[i] = static_cast<char>(i % 251);
    const auto finished =
        ProcessLauncher::runWithInput({(m_dir.path() / "bin" / "echo-twice").string()},
                                      ProcessLauncher::currentEnvironment(), input, std::chrono::seconds(30));
    EXPECT_EQ(finished.exitCode, 0);
    EXPECT_EQ(finished.output, input + input);

    // A process the child leaves behind may keep the output open: what the child wrote still counts.
    writeScript(m_dir.path() / "bin" / "leaves", "printf answer\n(sleep 10 &)\n");
    const auto started = std::chrono::steady_clock::now();
    const auto left =
        ProcessLauncher::runWithInput({(m_dir.path() / "bin" / "leaves").string()},
                                      ProcessLauncher::currentEnvironment(), "", std::chrono::seconds(20));
    EXPECT_EQ(left.output, "answer");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(9));
}

TEST_F(PosixShellTest, AHangingChildIsKilledAfterTheTimeLimit) {
    const fs::path pidFile = m_dir.path() / "pid";
    writeScript(m_dir.path() / "bin" / "hang", "echo $$ > \"" + pidFile.string() + "\"\nexec sleep 1000\n");
    EXPECT_EQ(ProcessLauncher::runWithTimeout({(m_dir.path() / "bin" / "hang").string()},
                                              ProcessLauncher::currentEnvironment(), std::chrono::milliseconds(300)),
              -1);
    const std::string pid = testsupport::readFile(pidFile);
    if (!pid.empty()) { // the script may have been killed before it wrote its pid
        EXPECT_TRUE(waitUntilReaped(std::stoi(pid)));
    }
    writeScript(m_dir.path() / "bin" / "fails", "exit 3\n");
    EXPECT_EQ(ProcessLauncher::runWithTimeout({(m_dir.path() / "bin" / "fails").string()},
                                              ProcessLauncher::currentEnvironment(), std::chrono::seconds(30)),
              3);
}
