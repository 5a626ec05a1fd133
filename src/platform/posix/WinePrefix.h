#pragma once
#include <string>
#include <vector>

namespace platform {

// Facts about a Wine prefix (the directory holding drive_c, dosdevices and the hive files).
class WinePrefix {
public:
    // $WINEPREFIX when set, else ~/.wine.
    static std::string defaultPath();
    // The login name Wine names the user's profile after (drive_c/users/<name>).
    static std::string userName();
    // Directories where a Wine server for the prefix keeps its socket and lock file, named by the
    // prefix directory's device and inode in lowercase hex: upstream Wine's
    // /tmp/.wine-<uid>/server-<dev>-<inode>, and Debian's /tmp/<name>/server-<dev>-<inode>, where
    // <name> is what the prefix's file "wineserver" holds. Empty when the prefix does not exist.
    static std::vector<std::string> serverDirectories(const std::string& prefix);
    // True while a Wine server holds the prefix's registry: in one of the server directories the
    // socket exists and the lock file is locked by another process (a server that died leaves
    // its socket behind, but not its lock).
    static bool serverRunning(const std::string& prefix);
};

} // namespace platform
