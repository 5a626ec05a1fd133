#pragma once
#include "shell/ShellLinkInfo.h"

#include <functional>
#include <optional>
#include <string>

namespace launch {
class LaunchData;
class MainWindowView;
class TC1C;
} // namespace launch
namespace platform {
class PathMapper;
}
namespace shell {
class WinShell;
}

namespace mainwin {

// The commands of the infobase list's context menu that write a shortcut starting 1C:Enterprise
// on the current infobase: "Создать ярлык на рабочем столе" (its items "всех пользователей",
// Tag 4, and "текущего пользователя", Tag 11) and "Создать ярлык в каталоге...". Shell errors
// reach the caller, which shows them in the general error report; nothing is rolled back.
class ShortcutCommands {
public:
    // The directory the user picked in the directory chooser ("Выбор каталога"), as a Windows
    // path; std::nullopt when the chooser was not confirmed.
    using DirectoryChooser = std::function<std::optional<std::string>()>;

    ShortcutCommands(shell::WinShell& shell, launch::LaunchData& data, launch::TC1C& launcher,
                     const launch::MainWindowView& mainWindow, const platform::PathMapper& paths);

    // The shared handler of the desktop items: a shortcut in the special folder of the
    // SpecialFolders row given by the item's Tag. Returns the shortcut file's path; "" when there
    // is no infobase to make a shortcut for.
    std::string pmiDesktopClick(int tag);
    // A shortcut in the directory the chooser gives; "" when it was cancelled or there is no
    // infobase.
    std::string pmiFolderShortCutClick(const DirectoryChooser& chooseDirectory);

    // The fields of the current infobase's shortcut: the current executable started with the
    // shortcut form of the argument string (never with the password), the infobase's name as
    // description and the executable's icon of the chosen regime.
    shell::TShellLinkInfo shortcutInfo(const std::string& name);

private:
    // A path the table holds as the host's (an absolute Unix path) as the shortcut must hold it.
    std::string windowsPath(const std::string& path) const;

    shell::WinShell& m_shell;
    launch::LaunchData& m_data;
    launch::TC1C& m_launcher;
    const launch::MainWindowView& m_mainWindow;
    const platform::PathMapper& m_paths;
};

} // namespace mainwin
