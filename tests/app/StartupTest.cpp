#include "app/entry/StartupSteps.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

TEST(StartupSteps, AnEscapingErrorIsReportedAndStartUpGoesOn) {
    std::vector<std::string> ran;
    std::vector<std::string> reports;
    const std::vector<app::StartupStep> steps = {
        {"TDM",
         [&] {
             ran.push_back("TDM");
             throw std::runtime_error("Cannot open folder.dbf");
         }},
        {"TfrmMain", [&] { ran.push_back("TfrmMain"); }},
        {"TfrmExplorer", [&] { ran.push_back("TfrmExplorer"); }},
    };
    EXPECT_EQ(app::runStartupSteps(steps, [&](const std::string& m) { reports.push_back(m); }), 1);
    EXPECT_EQ(ran, (std::vector<std::string>{"TDM", "TfrmMain", "TfrmExplorer"}));
    EXPECT_EQ(reports, std::vector<std::string>{"Cannot open folder.dbf"});
}

namespace {

pid_t startProgram(const std::string& program, const std::string& runtimeDir) {
    const std::string runtime = "XDG_RUNTIME_DIR=" + runtimeDir;
    std::vector<std::string> env = {runtime, "QT_QPA_PLATFORM=offscreen", "HOME=" + runtimeDir};
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string arg0 = program;
    char* argv[] = {arg0.data(), nullptr};
    pid_t pid = -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, "/"); // started from elsewhere
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits for the process to end, up to the limit; its exit status, or -1 while it still runs.
int waitFor(pid_t pid, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
}

} // namespace

// The real program in a program directory of its own, started from "/": it opens its tables
// beside the executable; a second start ends at once and opens nothing.
TEST(Startup, SecondStartOfTheRealProgramEndsAndTheFirstKeepsRunning) {
    testsupport::TempDir dir;
    const std::filesystem::path programDir = dir.path() / "prog";
    const std::filesystem::path runtimeDir = dir.path() / "run";
    std::filesystem::create_directories(programDir);
    std::filesystem::create_directories(runtimeDir);
    std::filesystem::permissions(runtimeDir, std::filesystem::perms::owner_all);
    const std::filesystem::path program = programDir / "tarvesk";
    std::filesystem::copy_file(TARVESK_PROGRAM, program);

    const pid_t first = startProgram(program.string(), runtimeDir.string());
    ASSERT_GT(first, 0);
    // The first instance is up once it has created its tables (its socket comes before them).
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    const auto up = [&] {
        return std::filesystem::exists(runtimeDir / "TarveskMutex.socket") &&
               std::filesystem::exists(programDir / "folder.dbf");
    };
    while (!up() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(up());

    const pid_t second = startProgram(program.string(), runtimeDir.string());
    ASSERT_GT(second, 0);
    EXPECT_EQ(waitFor(second, std::chrono::seconds(60)), 0);
    EXPECT_EQ(waitFor(first, std::chrono::seconds(0)), -1) << "the first instance still runs";
    EXPECT_FALSE(std::filesystem::exists(programDir / "Tarvesk.ini")) << "nothing was written";

    kill(first, SIGTERM);
    waitFor(first, std::chrono::seconds(30));
}
