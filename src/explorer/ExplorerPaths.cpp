#include "explorer/ExplorerPaths.h"

#include "platform/PathMapper.h"

namespace explorer {

std::string selectedDirectory(ShellControl focused, const std::optional<std::string>& item,
                              const platform::PathMapper& paths) {
    if (focused == ShellControl::Other)
        return {};
    const std::string windows = item ? paths.toWindows(*item) : std::string();
    if (windows.empty())
        return focused == ShellControl::FileList ? std::string() : std::string("\\");
    return windows + "\\";
}

std::string folderAbove(const std::vector<widgets::FolderRoot>& roots, const std::string& hostPath) {
    for (const auto& root : roots)
        if (root.hostPath == hostPath)
            return hostPath;
    return widgets::parentFolder(hostPath);
}

} // namespace explorer
