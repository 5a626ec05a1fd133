#pragma once
#include <string>
#include <utility>
#include <vector>

namespace platform {

// Windows paths, as 1C:Enterprise sees them ("C:\Bases\Trade\"), against the paths of the host's
// file system. On Windows both sides are the same.
class PathMapper {
public:
    virtual ~PathMapper() = default;
    // Host path of a Windows path (drive letters and names without regard to case, a trailing
    // "\" kept as "/"); an absolute host path is returned unchanged; empty when no drive maps it.
    virtual std::string toHost(const std::string& windowsPath) const = 0;
    // Windows path of an absolute host path (the longest matching drive wins); a trailing "/"
    // is kept as "\". Empty when no drive holds it, or when a name below the drive holds "\".
    virtual std::string toWindows(const std::string& hostPath) const = 0;
    // Drive letters (upper case) with the absolute host directories they stand for, by letter.
    virtual std::vector<std::pair<char, std::string>> drives() const = 0;
};

} // namespace platform
