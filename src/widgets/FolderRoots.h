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

// Host paths below are absolute and clean: no "." or ".." parts, no trailing "/" (except "/").

// Index of the root that holds hostPath (the root itself or a folder below it); the deepest such
// root wins, so a folder of a drive is shown under its drive letter, not under the home folder.
// Between roots of the same folder ("Z:" and "/" both stand for "/") the preferred one wins, else
// the first. -1 when no root holds it.
int containingRoot(const std::vector<FolderRoot>& roots, const std::string& hostPath, int preferred = -1);

// The folders from root down to hostPath, both included; empty when root does not hold it.
std::vector<std::string> folderChain(const std::string& root, const std::string& hostPath);

// The folder holding hostPath; "/" for "/" itself and for a folder right below it.
std::string parentFolder(const std::string& hostPath);

} // namespace widgets
