#pragma once
#include "platform/PathMapper.h"
#include "platform/Registry.h"
#include "platform/ShellFolders.h"
#include "platform/posix/WinePrefix.h"

#include <string>

namespace platform {

// Special folders of a Wine prefix as Windows paths ("C:\users\<user>\Desktop"): the folders Wine
// recorded under Explorer's "Shell Folders" keys (HKCU for the user's, HKLM for the common ones),
// else the defaults of current Wine releases. Ids without a file-system folder give "".
class WineShellFolders : public ShellFolders {
public:
    // userName: the login name the profile folder is named after.
    WineShellFolders(Registry& registry, const PathMapper& paths, std::string userName = WinePrefix::userName());

    std::string specialFolderPath(int csidl, bool create) override;

private:
    Registry& m_registry;
    const PathMapper& m_paths;
    std::string m_userName;
};

} // namespace platform
