#pragma once
#include <cstdint>
#include <string>

namespace shell {

// The fields of one shortcut file, as the program reads and writes them. Strings are UTF-8;
// paths are Windows paths.
struct TShellLinkInfo {
    std::string TargetPath;
    std::string Arguments;
    std::string Description;
    std::string WorkingDirectory;
    std::string IconPath;
    std::int32_t IconIndex = 0;
    std::int32_t ShowCommand = 1; // SW_SHOWNORMAL, what a new shortcut gets
    std::uint16_t HotKey = 0;

    bool operator==(const TShellLinkInfo&) const = default;
};

} // namespace shell
