#include "platform/fake/FakeShellFolders.h"

namespace platform {

std::string FakeShellFolders::specialFolderPath(int csidl, bool create) {
    const auto it = m_folders.find(csidl);
    if (it == m_folders.end())
        return {};
    if (create)
        m_created.push_back(csidl);
    return it->second;
}

} // namespace platform
