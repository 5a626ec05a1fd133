#include "platform/posix/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool replaceFileAtomically(const std::string& path, const std::string& bytes) {
    char resolved[PATH_MAX];
    const std::string target = ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
    struct stat st {};
    const bool existed = ::stat(target.c_str(), &st) == 0;
    const auto slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

    std::string pattern = dir + "/." + base + ".tarvesk-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes);
    if (ok && existed) {
        ok = ::fchmod(fd, st.st_mode & 07777) == 0;
        if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
            // only root may hand a file to another owner; the content matters more
        }
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(name.data(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(name.data());
        return false;
    }
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

} // namespace platform
