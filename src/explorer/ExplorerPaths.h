#pragma once
#include "widgets/FolderRoots.h"

#include <optional>
#include <string>
#include <vector>

namespace platform {
class PathMapper;
}

// The path rules of the explorer window, apart from its widgets. Host paths here are absolute
// and clean: no "." or ".." parts and no trailing "/" (except "/" itself).
namespace explorer {

// The three shell controls of the window, and everything else that can hold the focus.
enum class ShellControl { FolderDropDown, FolderTree, FileList, Other };

// The directory picked in the window, as the launcher reads it. focused: the window's focus
// widget; item: the host path of the drop-down's current item, the tree's selected folder or the
// list's selected item (file or folder), std::nullopt when there is none.
// Drop-down and tree give the Windows path followed by "\" ("\" alone without a current folder);
// the list gives the same for its selected item and empty without one; any other control gives
// empty. A drive root thus ends in "\\". A host path that no drive maps counts as no item.
std::string selectedDirectory(ShellControl focused, const std::optional<std::string>& item,
                              const platform::PathMapper& paths);

// The folder "Вверх" goes to: the parent of hostPath, or hostPath itself when it is a root's own
// folder or the file system root (a top entry has nothing above it in the tree).
std::string folderAbove(const std::vector<widgets::FolderRoot>& roots, const std::string& hostPath);

} // namespace explorer
