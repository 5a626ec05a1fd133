#pragma once
#include <array>
#include <string>
#include <string_view>

#include "platform/PathMapper.h"
#include "platform/ShellFolders.h"
#include "shell/ShellLinkInfo.h"

namespace shell {

// One row of the special folder table: a name and the shell's folder number (CSIDL).
struct TSpecialFolderInfo {
    std::string_view Name;
    int FolderId;
};

// The fixed table of special folders, in alphabetical order of their names. Callers select a row
// by index (the Tag of a menu item or radio button).
inline constexpr std::array<TSpecialFolderInfo, 30> SpecialFolders{{
    {"Alt Startup", 29},
    {"Application Data", 26},
    {"Recycle Bin", 10},
    {"Common Alt Startup", 30},
    {"Common Desktop", 25},
    {"Common Favorites", 31},
    {"Common Programs", 23},
    {"Common Start Menu", 22},
    {"Common Startup", 24},
    {"Controls", 3},
    {"Cookies", 33},
    {"Desktop", 0},
    {"Desktop Directory", 16},
    {"Drives", 17},
    {"Favorites", 6},
    {"Fonts", 20},
    {"History", 34},
    {"Internet", 1},
    {"Internet Cache", 32},
    {"Network Neighborhood", 19},
    {"Network Top", 18},
    {"Personal", 5},
    {"Printers", 4},
    {"Printer Links", 27},
    {"Programs", 2},
    {"Recent Documents", 8},
    {"Send To", 9},
    {"Start Menu", 11},
    {"Startup", 7},
    {"Templates", 21},
}};

// Special folders and shortcut files. Every path the program passes is a Windows path; file
// operations reach the host's file system through the PathMapper (an absolute host path passes
// unchanged). Paths inside a shortcut stay Windows paths. Failures raise ShellError.
class WinShell {
public:
    WinShell(platform::PathMapper& paths, platform::ShellFolders& folders);

    // The folder's Windows path without a trailing "\"; empty when the platform has none.
    std::string SpecialFolderPath(int folderId, bool create) const;

    // Writes a shortcut to target (with the description when not empty) into the special folder,
    // named by shortcutFileName, replacing an existing file; returns the file's Windows path.
    std::string CreateSpecialFolderShortcut(const std::string& target, const std::string& description, int folderId);
    // The same into directory, as given (a "\" is put between it and the name unless it ends
    // with one).
    std::string CreateDirectoryShortcut(const std::string& target, const std::string& description,
                                        const std::string& directory);

    TShellLinkInfo ReadShortcut(const std::string& file) const;
    // Rewrites an existing shortcut file with every field of info; a missing file or one that is
    // not a shortcut raises ShellError and is left as it was.
    void WriteShortcut(const std::string& file, const TShellLinkInfo& info);

    // File name of the shortcut for target: the text after the last "\" or ":", its extension
    // (from the last "." on) replaced by ".lnk", or ".lnk" appended when it has no ".".
    static std::string shortcutFileName(std::string_view target);

private:
    std::string createShortcut(const std::string& target, const std::string& description, const std::string& folder);
    std::string hostPath(const std::string& file) const;

    platform::PathMapper& m_paths;
    platform::ShellFolders& m_folders;
};

} // namespace shell
