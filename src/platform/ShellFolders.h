#pragma once
#include <string>

namespace platform {

// File-system folders of the shell's special folder ids (CSIDL numbers).
class ShellFolders {
public:
    virtual ~ShellFolders() = default;
    // Windows path of the folder, without a trailing "\"; empty when the id has no file-system
    // folder. With create true a missing folder is made.
    virtual std::string specialFolderPath(int csidl, bool create) = 0;
};

} // namespace platform
