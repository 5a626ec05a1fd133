#pragma once
#include "platform/ShellFolders.h"

#include <map>
#include <string>
#include <vector>

namespace platform {

// Special folders from a table set by the test; records which folders were asked to be created.
class FakeShellFolders : public ShellFolders {
public:
    void setFolder(int csidl, const std::string& windowsPath) { m_folders[csidl] = windowsPath; }

    std::string specialFolderPath(int csidl, bool create) override;

    // Ids asked for with create true, in call order.
    const std::vector<int>& createdFolders() const { return m_created; }

private:
    std::map<int, std::string> m_folders;
    std::vector<int> m_created;
};

} // namespace platform
