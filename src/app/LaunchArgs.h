#pragma once
#include <string>

namespace app {

// The values a 1C:Enterprise argument string carries after its switches.
struct LaunchArgs {
    std::string directory;     // /d
    std::string userName;      // /n
    std::string password;      // /p, plain
    std::string userDirectory; // /u
    std::string batchFile;     // /@
};

} // namespace app
