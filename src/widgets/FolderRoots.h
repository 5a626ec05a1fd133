#pragma once
#include "platform/PathMapper.h"

#include <string>
#include <vector>

namespace widgets {

// A top entry of the folder trees (the directory chooser and the explorer window).
struct FolderRoot {
    std::string caption;  // shown to the user
    std::string hostPath; // absolute host directory
};

// The top entries of every folder tree of the program, in this order: the user's home, the Wine
// prefix's drives by letter ("C:", "D:", ... with the folder each stands for), the file system
// root. Entries whose folder does not exist are left out.
std::vector<FolderRoot> folderRoots(const platform::PathMapper& paths);

} // namespace widgets
