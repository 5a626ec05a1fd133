#include "widgets/FolderRoots.h"

#include <cstdlib>
#include <filesystem>

namespace widgets {

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

} // namespace widgets
