#include "platform/WholeFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

int g_failAt = 0;
int g_calls = 0;

// Every system call that may fail the replacement goes through here first.
bool injectedFailure() {
    ++g_calls;
    if (g_failAt > 0 && g_calls == g_failAt) {
        errno = EIO;
        return true;
    }
    return false;
}

FileReplacement failure(int error) {
    return {FileReplacement::Status::failed, std::strerror(error)};
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The target of the path: a symbolic link is followed to the file it names (which may not exist
// yet); anything else is the path itself.
std::string resolvedTarget(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (::realpath(path.c_str(), resolved))
            return resolved;
        // A dangling link: the file it names is made.
        std::vector<char> target(PATH_MAX);
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size() - 1);
        if (n > 0) {
            std::string name(target.data(), static_cast<std::size_t>(n));
            if (name.front() == '/')
                return name;
            const auto slash = path.rfind('/');
            return slash == std::string::npos ? name : path.substr(0, slash + 1) + name;
        }
    }
    return path;
}

bool writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        if (injectedFailure())
            return false;
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

void failWholeFileCall(int nth) {
    g_failAt = nth;
    g_calls = 0;
}

int wholeFileCalls() {
    return g_calls;
}

WholeFile readWholeFile(const std::string& path, std::size_t maxBytes) {
    WholeFile file;
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        file.status = errno == ENOENT || errno == ENOTDIR ? WholeFile::Status::missing : WholeFile::Status::failed;
        file.reason = std::strerror(errno);
        return file;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        file.status = WholeFile::Status::notRegular;
        return file;
    }
    if (static_cast<std::size_t>(st.st_size) > maxBytes) {
        ::close(fd);
        file.status = WholeFile::Status::tooLarge;
        return file;
    }
    file.bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == file.bytes.size()) {
            if (done > maxBytes)
                break;
            file.bytes.resize(std::min(done * 2 + 4096, maxBytes + 1));
        }
        const ssize_t n = ::read(fd, file.bytes.data() + done, file.bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            file.reason = std::strerror(errno);
            ::close(fd);
            file.bytes.clear();
            return file;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (done > maxBytes) {
        file.bytes.clear();
        file.status = WholeFile::Status::tooLarge;
        return file;
    }
    file.bytes.resize(done);
    file.status = WholeFile::Status::read;
    return file;
}

FileReplacement replaceWholeFile(const std::string& path, std::string_view bytes) {
    const std::string target = resolvedTarget(path);
    struct stat st {};
    const bool existed = ::stat(target.c_str(), &st) == 0;
    if (existed) {
        if (!S_ISREG(st.st_mode))
            return failure(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        // Read-only for everybody is the Windows read-only attribute; root is held to it too.
        if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
            return {FileReplacement::Status::readOnly, {}};
    }
    const auto slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

    std::string pattern = dir + "/." + base + ".tarvesk-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (injectedFailure())
        return failure(errno);
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return failure(errno);
    const auto abandon = [&](int error, bool open) {
        if (open)
            ::close(fd);
        ::unlink(name.data());
        return failure(error);
    };
    if (!writeAll(fd, bytes))
        return abandon(errno, true);
    const mode_t mode = existed ? (st.st_mode & 07777) : (0666 & ~currentUmask());
    if (injectedFailure() || ::fchmod(fd, mode) != 0)
        return abandon(errno, true);
    // Only root may give a file to another owner; the content matters more than the owner.
    if (existed && (st.st_uid != ::geteuid() || st.st_gid != ::getegid()))
        (void)!::fchown(fd, st.st_uid, st.st_gid);
    if (injectedFailure() || ::fsync(fd) != 0)
        return abandon(errno, true);
    if (injectedFailure()) {
        const int error = errno;
        ::close(fd);
        return abandon(error, false);
    }
    if (::close(fd) != 0)
        return abandon(errno, false);
    if (injectedFailure() || ::rename(name.data(), target.c_str()) != 0)
        return abandon(errno, false);
    // The rename is done; making it durable at once is the best that can be had.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {FileReplacement::Status::replaced, {}};
}

} // namespace platform
