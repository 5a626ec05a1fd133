#include "explorer/ExplorerPaths.h"

#include "platform/PathMapper.h"

namespace explorer {
namespace {

// True when root is path or one of its ancestors, comparing whole names only.
bool holds(const std::string& root, const std::string& path) {
    if (root == "/")
        return !path.empty() && path.front() == '/';
    return path.compare(0, root.size(), root) == 0 && (path.size() == root.size() || path[root.size()] == '/');
}

std::string parentOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return path.substr(0, slash);
}

} // namespace

std::string selectedDirectory(ShellControl focused, const std::optional<std::string>& item,
                              const platform::PathMapper& paths) {
    if (focused == ShellControl::Other)
        return {};
    const std::string windows = item ? paths.toWindows(*item) : std::string();
    if (windows.empty())
        return focused == ShellControl::FileList ? std::string() : std::string("\\");
    return windows + "\\";
}

int containingRoot(const std::vector<widgets::FolderRoot>& roots, const std::string& hostPath) {
    int best = -1;
    for (std::size_t i = 0; i < roots.size(); ++i) {
        const std::string& root = roots[i].hostPath;
        if (holds(root, hostPath) && (best < 0 || root.size() > roots[static_cast<std::size_t>(best)].hostPath.size()))
            best = static_cast<int>(i);
    }
    return best;
}

std::vector<std::string> folderChain(const std::string& root, const std::string& hostPath) {
    if (!holds(root, hostPath))
        return {};
    std::vector<std::string> chain;
    for (std::string path = hostPath; path != root; path = parentOf(path))
        chain.insert(chain.begin(), path);
    chain.insert(chain.begin(), root);
    return chain;
}

std::string folderAbove(const std::vector<widgets::FolderRoot>& roots, const std::string& hostPath) {
    for (const auto& root : roots)
        if (root.hostPath == hostPath)
            return hostPath;
    return hostPath == "/" ? hostPath : parentOf(hostPath);
}

} // namespace explorer
