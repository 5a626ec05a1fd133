#include "platform/posix/ProcessLauncher.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
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

// A descriptor closed when it goes out of scope.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    Fd(Fd&& other) noexcept : m_fd(other.release()) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            reset();
            m_fd = other.release();
        }
        return *this;
    }
    ~Fd() { reset(); }
    int get() const { return m_fd; }
    int release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void reset() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

struct Pipe {
    Fd read, write;
    bool open() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return false;
        read = Fd(fds[0]);
        write = Fd(fds[1]);
        return true;
    }
};

// A pipe whose read end holds all of input, the write end closed: the child reads it to the end
// without anyone waiting on it. Invalid when input does not fit into a pipe.
Fd inputPipe(const std::string& input) {
    Pipe pipe;
    if (!pipe.open())
        return {};
    if (input.size() > 65536 && ::fcntl(pipe.write.get(), F_SETPIPE_SZ, static_cast<int>(input.size())) < 0)
        return {};
    // A full pipe fails the write instead of waiting for a reader that is not there yet.
    ::fcntl(pipe.write.get(), F_SETFL, O_NONBLOCK);
    std::size_t done = 0;
    while (done < input.size()) {
        const ssize_t n = ::write(pipe.write.get(), input.data() + done, input.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return {};
        done += static_cast<std::size_t>(n);
    }
    return std::move(pipe.read);
}

// Spawn attributes and file actions shared by every way of starting a child.
class SpawnSetup {
public:
    // stdinFd: the child's standard input, or -1 for /dev/null; stdoutFd: its standard output, or
    // -1 to keep the parent's (quiet sends both output streams to /dev/null instead).
    SpawnSetup(short flags, int stdinFd = -1, int stdoutFd = -1, bool quiet = false) {
        posix_spawn_file_actions_init(&m_actions);
        posix_spawnattr_init(&m_attr);
        if (stdinFd >= 0)
            posix_spawn_file_actions_adddup2(&m_actions, stdinFd, STDIN_FILENO);
        else
            posix_spawn_file_actions_addopen(&m_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        if (stdoutFd >= 0)
            posix_spawn_file_actions_adddup2(&m_actions, stdoutFd, STDOUT_FILENO);
        if (quiet || stdoutFd >= 0)
            posix_spawn_file_actions_addopen(&m_actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (quiet && stdoutFd < 0)
            posix_spawn_file_actions_adddup2(&m_actions, STDERR_FILENO, STDOUT_FILENO);
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
        if (flags & POSIX_SPAWN_SETPGROUP)
            posix_spawnattr_setpgroup(&m_attr, 0);
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

private:
    posix_spawn_file_actions_t m_actions;
    posix_spawnattr_t m_attr;
};

// Waits for a child of its own process group until the deadline, then kills the group; the
// exit code, or -1 when it was killed or died of a signal. onWait runs between the polls.
template <class OnWait> int waitOrKill(pid_t pid, std::chrono::steady_clock::time_point deadline, OnWait onWait) {
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
        onWait();
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Appends what can be read from fd now (waiting up to wait for the first byte); false at its end.
bool readAvailable(int fd, std::string& out, int waitMs) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, waitMs) <= 0)
        return true;
    char buffer[8192];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
        out.append(buffer, static_cast<std::size_t>(n));
        return true;
    }
    return n < 0 && (errno == EINTR || errno == EAGAIN);
}

} // namespace

pid_t ProcessLauncher::spawnDetached(const std::vector<std::string>& argv, const Environment& environment,
                                     const std::string& input) {
    Fd in;
    if (!input.empty()) {
        in = inputPipe(input);
        if (in.get() < 0)
            return -1;
    }
    SpawnSetup setup(POSIX_SPAWN_SETSID, in.get());
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
    SpawnSetup setup(POSIX_SPAWN_SETPGROUP, -1, -1, true);
    const pid_t pid = setup.spawn(argv, environment);
    if (pid <= 0)
        return -1;
    return waitOrKill(pid, std::chrono::steady_clock::now() + timeout,
                      [] { std::this_thread::sleep_for(std::chrono::milliseconds(10)); });
}

ProcessLauncher::Finished ProcessLauncher::runWithInput(const std::vector<std::string>& argv,
                                                        const Environment& environment, const std::string& input,
                                                        std::chrono::milliseconds timeout) {
    Finished finished;
    Fd in = inputPipe(input);
    Pipe out;
    if (in.get() < 0 || !out.open())
        return finished;
    SpawnSetup setup(POSIX_SPAWN_SETPGROUP, in.get(), out.write.get());
    const pid_t pid = setup.spawn(argv, environment);
    in.reset();
    out.write.reset();
    if (pid <= 0)
        return finished;
    // Wakes up for output and for the child's end alike, so an answer is taken at once.
    Fd exited(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool open = true;
    finished.exitCode = waitOrKill(pid, deadline, [&] {
        pollfd fds[2] = {{open ? out.read.get() : -1, POLLIN, 0}, {exited.get(), POLLIN, 0}};
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        const int wait = exited.get() >= 0 ? static_cast<int>(std::clamp<long long>(left.count(), 0, 1000)) : 10;
        if (::poll(fds, 2, wait) > 0 && (fds[0].revents & (POLLIN | POLLHUP)))
            open = readAvailable(out.read.get(), finished.output, 0);
    });
    // What the child wrote before it ended; a process it left behind may hold the pipe open, so
    // only what is there now counts.
    for (;;) {
        pollfd p{out.read.get(), POLLIN, 0};
        if (!open || ::poll(&p, 1, 0) <= 0)
            break;
        open = readAvailable(out.read.get(), finished.output, 0);
    }
    return finished;
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
