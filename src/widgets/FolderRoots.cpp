#include "widgets/FolderRoots.h"

#include <cstdlib>
#include <filesystem>

namespace widgets {
namespace {

// True when root is path or one of its ancestors, comparing whole names only.
bool holds(const std::string& root, const std::string& path) {
    if (root == "/")
        return !path.empty() && path.front() == '/';
    return path.compare(0, root.size(), root) == 0 && (path.size() == root.size() || path[root.size()] == '/');
}

} // namespace

std::vector<FolderRoot> folderRoots(const platform::PathMapper& paths) {
    std::vector<FolderRoot> roots;
    std::error_code ec;
    if (const char* home = std::getenv("HOME"); home && *home && std::filesystem::is_directory(home, ec))
        roots.push_back({"Домашняя папка", home});
    for (const auto& [letter, host] : paths.drives()) {
        if (std::filesystem::is_directory(host, ec))
            roots.push_back({std::string(1, letter) + ":", host});
    }
    roots.push_back({"/", "/"});
    return roots;
}

int containingRoot(const std::vector<FolderRoot>& roots, const std::string& hostPath, int preferred) {
    int best = -1;
    for (std::size_t i = 0; i < roots.size(); ++i) {
        const std::string& root = roots[i].hostPath;
        if (!holds(root, hostPath))
            continue;
        const std::size_t bestSize = best < 0 ? 0 : roots[static_cast<std::size_t>(best)].hostPath.size();
        if (best < 0 || root.size() > bestSize || (root.size() == bestSize && static_cast<int>(i) == preferred))
            best = static_cast<int>(i);
    }
    return best;
}

std::vector<std::string> folderChain(const std::string& root, const std::string& hostPath) {
    if (!holds(root, hostPath))
        return {};
    std::vector<std::string> chain;
    for (std::string path = hostPath; path != root; path = parentFolder(path))
        chain.insert(chain.begin(), path);
    chain.insert(chain.begin(), root);
    return chain;
}

std::string parentFolder(const std::string& hostPath) {
    const auto slash = hostPath.find_last_of('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return hostPath.substr(0, slash);
}

} // namespace widgets
