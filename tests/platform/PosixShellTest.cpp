#include "platform/posix/PosixShell.h"
#include "platform/posix/ProcessLauncher.h"
#include "platform/posix/WineRegistry.h"

#include "platform/fake/FakePathMapper.h"
#include "support/TempDir.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
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
    std::string expectedOutput(const std::vector<std::string>& argv, const std::string& lcAll = "",
                               const std::string& prefix = "") {
        std::string text;
        for (const auto& a : argv)
            text += a + "\n";
        return text + "LC_ALL=" + lcAll + "\nWINEPREFIX=" + prefix + "\n";
    }

    testsupport::TempDir m_dir;
    platform::FakePathMapper m_paths;
    std::string m_oldPath;
};

} // namespace

TEST_F(PosixShellTest, StartsAProgramWithItsArgumentsAsSplit) {
    writeScript(m_dir.path() / "drive_c" / "tool", recorder);
    platform::PosixShell shell(m_paths, "", [] { return true; });
    const pid_t pid = shell.start("C:\\tool", R"(enterprise /d"C:\My Bases\Trade\" /m /nUser)");
    ASSERT_GT(pid, 0);
    EXPECT_EQ(waitForFile(out()), expectedOutput({(m_dir.path() / "drive_c" / "tool").string(), "enterprise",
                                                  "/dC:\\My Bases\\Trade\\", "/m", "/nUser"}));
    EXPECT_TRUE(waitUntilReaped(pid));
}

TEST_F(PosixShellTest, ShellCharactersArriveLiterallyAndRunNothing) {
    writeScript(m_dir.path() / "drive_c" / "tool", recorder);
    platform::PosixShell shell(m_paths);
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

TEST_F(PosixShellTest, AnExeStartsThroughWineFromPath) {
    writeScript(m_dir.path() / "bin" / "wine", recorder);
    fs::create_directories(m_dir.path() / "drive_c" / "1Cv77" / "BIN");
    platform::PosixShell shell(m_paths, "/some/prefix", [] { return false; });
    const pid_t pid = shell.start("C:\\1Cv77\\BIN\\1cv7s.EXE", "enterprise /d\"C:\\Bases\\Trade 2\\\"");
    ASSERT_GT(pid, 0);
    const std::string lcAll = std::getenv("LC_ALL") ? std::getenv("LC_ALL") : ""; // inherited, not replaced
    EXPECT_EQ(waitForFile(out()), expectedOutput({(m_dir.path() / "bin" / "wine").string(),
                                                  (m_dir.path() / "drive_c" / "1Cv77" / "BIN" / "1cv7s.EXE").string(),
                                                  "enterprise", "/dC:\\Bases\\Trade 2\\"},
                                                 lcAll, "/some/prefix"));
    EXPECT_TRUE(waitUntilReaped(pid));
}

TEST_F(PosixShellTest, WineGetsTheRussianLocaleWhenTheCurrentOneLacksCp1251) {
    writeScript(m_dir.path() / "bin" / "wine", recorder);
    const char* old = std::getenv("LC_ALL");
    const std::string saved = old ? old : "";
    setenv("LC_ALL", "C.UTF-8", 1);
    platform::PosixShell shell(m_paths, "", [] { return true; });
    const pid_t pid = shell.start("C:\\a.exe", "");
    ASSERT_GT(pid, 0);
    EXPECT_EQ(waitForFile(out()),
              expectedOutput({(m_dir.path() / "bin" / "wine").string(), (m_dir.path() / "drive_c" / "a.exe").string()},
                             "ru_RU.UTF-8"));
    EXPECT_TRUE(waitUntilReaped(pid));
    EXPECT_STREQ(std::getenv("LC_ALL"), "C.UTF-8"); // only the child's environment changed
    old ? setenv("LC_ALL", saved.c_str(), 1) : unsetenv("LC_ALL");
}

TEST_F(PosixShellTest, NothingStartsWithoutAMappingOrWine) {
    platform::PosixShell shell(m_paths);
    EXPECT_EQ(shell.start("Q:\\tool", ""), -1);
    EXPECT_EQ(shell.start("relative\\tool", ""), -1);
    EXPECT_EQ(shell.start("C:\\missing", ""), -1);
    setenv("PATH", (m_dir.path() / "bin").string().c_str(), 1); // no wine there
    EXPECT_EQ(shell.start("C:\\a.exe", ""), -1);
    shell.runProgram("C:\\a.exe", "x"); // silent
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

TEST_F(PosixShellTest, RegToolRunsWithItsEnvironment) {
    writeScript(m_dir.path() / "bin" / "wine", recorder);
    EXPECT_TRUE(
        platform::WineRegistry::runWineReg("/the/prefix", {"wine", "reg", "add", "HKCU\\Software\\Тест", "/f"}));
    EXPECT_EQ(waitForFile(out()),
              expectedOutput({(m_dir.path() / "bin" / "wine").string(), "reg", "add", "HKCU\\Software\\Тест", "/f"},
                             "C.UTF-8", "/the/prefix"));
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
