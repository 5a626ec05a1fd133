#include "platform/posix/WinePrefix.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The name Debian's Wine keeps in $WINEPREFIX/wineserver (e.g. "wine-X86i7o"); empty when there
// is none or it is not a plain file name.
std::string debianServerName(const std::string& prefix) {
    const int fd = ::open((prefix + "/wineserver").c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return {};
    char buffer[256];
    struct stat st {};
    const ssize_t n = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? ::read(fd, buffer, sizeof buffer) : -1;
    ::close(fd);
    if (n <= 0)
        return {};
    std::string name(buffer, static_cast<std::size_t>(n));
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r'))
        name.pop_back();
    if (name.empty() || name == "." || name == ".." || name.find_first_of(std::string("/\0", 2)) != std::string::npos)
        return {};
    return name;
}

// True when another process holds a lock on the file's first byte, as the Wine server does.
bool lockedByAnother(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    const bool locked = ::fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}

} // namespace

std::string WinePrefix::defaultPath() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    std::string home;
    if (const char* env = std::getenv("HOME"); env && *env)
        home = env;
    else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        home = pw->pw_dir;
    return home + "/.wine";
}

std::string WinePrefix::userName() {
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name && *pw->pw_name)
        return pw->pw_name;
    for (const char* name : {"USER", "LOGNAME"})
        if (const char* value = std::getenv(name); value && *value)
            return value;
    return "user";
}

std::vector<std::string> WinePrefix::serverDirectories(const std::string& prefix) {
    struct stat st {};
    if (prefix.empty() || stat(prefix.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return {};
    char server[64];
    std::snprintf(server, sizeof server, "server-%llx-%llx", static_cast<unsigned long long>(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));
    std::vector<std::string> directories{"/tmp/.wine-" + std::to_string(getuid()) + "/" + server};
    if (const auto name = debianServerName(prefix); !name.empty())
        directories.push_back("/tmp/" + name + "/" + server);
    return directories;
}

bool WinePrefix::serverRunning(const std::string& prefix) {
    for (const auto& directory : serverDirectories(prefix)) {
        struct stat st {};
        if (lstat((directory + "/socket").c_str(), &st) == 0 && S_ISSOCK(st.st_mode) &&
            lockedByAnother(directory + "/lock"))
            return true;
    }
    return false;
}

} // namespace platform
