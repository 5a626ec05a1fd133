#include "platform/posix/WinePrefix.h"

#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

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

std::string WinePrefix::serverSocketPath(const std::string& prefix) {
    struct stat st {};
    if (prefix.empty() || stat(prefix.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return {};
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "/tmp/.wine-%u/server-%llx-%llx/socket", static_cast<unsigned>(getuid()),
                  static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino));
    return buffer;
}

bool WinePrefix::serverRunning(const std::string& prefix) {
    const std::string socket = serverSocketPath(prefix);
    struct stat st {};
    return !socket.empty() && lstat(socket.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

} // namespace platform
