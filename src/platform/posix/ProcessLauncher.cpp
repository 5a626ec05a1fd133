#include "platform/posix/ProcessLauncher.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

std::vector<char*> pointers(const std::vector<std::string>& strings) {
    std::vector<char*> out;
    out.reserve(strings.size() + 1);
    for (const auto& s : strings)
        out.push_back(const_cast<char*>(s.c_str()));
    out.push_back(nullptr);
    return out;
}

// Spawn attributes and file actions shared by both ways of starting a child.
class SpawnSetup {
public:
    SpawnSetup(bool quietOutput, short flags) {
        posix_spawn_file_actions_init(&m_actions);
        posix_spawnattr_init(&m_attr);
        posix_spawn_file_actions_addopen(&m_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        if (quietOutput) {
            posix_spawn_file_actions_addopen(&m_actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_adddup2(&m_actions, STDOUT_FILENO, STDERR_FILENO);
        }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        // Descriptors without close-on-exec (a lock file, a socket) must not live on in the child.
        posix_spawn_file_actions_addclosefrom_np(&m_actions, STDERR_FILENO + 1);
#endif
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&m_attr, &none);
        sigset_t all;
        sigfillset(&all);
        sigdelset(&all, SIGKILL);
        sigdelset(&all, SIGSTOP);
        posix_spawnattr_setsigdefault(&m_attr, &all);
        posix_spawnattr_setflags(&m_attr, static_cast<short>(POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | flags));
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&m_actions);
        posix_spawnattr_destroy(&m_attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    pid_t spawn(const std::vector<std::string>& argv, const ProcessLauncher::Environment& environment) {
        if (argv.empty())
            return -1;
        auto args = pointers(argv);
        auto env = pointers(environment);
        pid_t pid = -1;
        if (posix_spawn(&pid, args[0], &m_actions, &m_attr, args.data(), env.data()) != 0)
            return -1;
        return pid;
    }

    posix_spawnattr_t& attr() {
        return m_attr;
    }

private:
    posix_spawn_file_actions_t m_actions;
    posix_spawnattr_t m_attr;
};

} // namespace

pid_t ProcessLauncher::spawnDetached(const std::vector<std::string>& argv, const Environment& environment) {
    SpawnSetup setup(false, POSIX_SPAWN_SETSID);
    const pid_t pid = setup.spawn(argv, environment);
    if (pid > 0) {
        std::thread([pid] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    }
    return pid;
}

int ProcessLauncher::runWithTimeout(const std::vector<std::string>& argv, const Environment& environment,
                                    std::chrono::milliseconds timeout) {
    SpawnSetup setup(true, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&setup.attr(), 0);
    const pid_t pid = setup.spawn(argv, environment);
    if (pid <= 0)
        return -1;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR)
            return -1;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(-pid, SIGKILL);
            kill(pid, SIGKILL);
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ProcessLauncher::Environment
ProcessLauncher::currentEnvironment(const std::vector<std::pair<std::string, std::string>>& overrides) {
    Environment out;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string item(*entry);
        const auto name = item.substr(0, item.find('='));
        bool replaced = false;
        for (const auto& [key, value] : overrides)
            replaced = replaced || key == name;
        if (!replaced)
            out.push_back(item);
    }
    for (const auto& [key, value] : overrides)
        out.push_back(key + "=" + value);
    return out;
}

std::string ProcessLauncher::findOnPath(const std::string& name) {
    auto executable = [](const std::string& path) {
        struct stat st {};
        return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
    };
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return executable(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    const std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t stop = std::min(dirs.find(':', start), dirs.size());
        // An empty entry would mean the current directory; a launcher does not look there.
        if (stop > start) {
            const std::string candidate = dirs.substr(start, stop - start) + "/" + name;
            if (executable(candidate))
                return candidate;
        }
        start = stop + 1;
    }
    return {};
}

} // namespace platform
