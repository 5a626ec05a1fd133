#pragma once
#include <string>

namespace platform {

// Facts about a Wine prefix (the directory holding drive_c, dosdevices and the hive files).
class WinePrefix {
public:
    // $WINEPREFIX when set, else ~/.wine.
    static std::string defaultPath();
    // The login name Wine names the user's profile after (drive_c/users/<name>).
    static std::string userName();
    // Socket of the Wine server for the prefix: /tmp/.wine-<uid>/server-<dev>-<inode>/socket, the
    // prefix directory's device and inode in lowercase hex; empty when the prefix does not exist.
    static std::string serverSocketPath(const std::string& prefix);
    // True while a Wine server holds the prefix's registry (its socket exists).
    static bool serverRunning(const std::string& prefix);
};

} // namespace platform
