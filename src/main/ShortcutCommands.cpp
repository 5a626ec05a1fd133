#include "main/ShortcutCommands.h"

#include "app/LaunchSource.h"
#include "launch/Class1C.h"
#include "launch/LaunchData.h"
#include "launch/LaunchViews.h"
#include "platform/PathMapper.h"
#include "shell/WinShell.h"

namespace mainwin {

ShortcutCommands::ShortcutCommands(shell::WinShell& shell, launch::LaunchData& data, launch::TC1C& launcher,
                                   const launch::MainWindowView& mainWindow, const platform::PathMapper& paths)
    : m_shell(shell), m_data(data), m_launcher(launcher), m_mainWindow(mainWindow), m_paths(paths) {}

std::string ShortcutCommands::pmiDesktopClick(int tag) {
    const auto name = m_data.InfobaseName();
    // Without an infobase the file would be named ".lnk" and start nothing.
    if (name.empty())
        return {};
    const int folderId = shell::SpecialFolders.at(static_cast<std::size_t>(tag)).FolderId;
    const auto file = m_shell.CreateSpecialFolderShortcut(name, "", folderId);
    m_shell.WriteShortcut(file, shortcutInfo(name));
    return file;
}

std::string ShortcutCommands::pmiFolderShortCutClick(const DirectoryChooser& chooseDirectory) {
    if (m_data.InfobaseName().empty())
        return {};
    const auto directory = chooseDirectory();
    if (!directory)
        return {};
    const auto name = m_data.InfobaseName();
    const auto file = m_shell.CreateDirectoryShortcut(name, "", *directory);
    m_shell.WriteShortcut(file, shortcutInfo(name));
    return file;
}

shell::TShellLinkInfo ShortcutCommands::shortcutInfo(const std::string& name) {
    shell::TShellLinkInfo info;
    info.TargetPath = windowsPath(m_data.ExecutablePath());
    info.Arguments = m_launcher.BuildCommandLine(app::LaunchSource::lsShortcut);
    info.Description = name;
    info.WorkingDirectory = "";
    info.IconPath = windowsPath(m_launcher.GetProgramPath());
    info.IconIndex = m_mainWindow.startRegime();
    info.ShowCommand = 0;
    info.HotKey = 0;
    return info;
}

std::string ShortcutCommands::windowsPath(const std::string& path) const {
    if (path.empty() || path.front() != '/')
        return path;
    auto windows = m_paths.toWindows(path);
    return windows.empty() ? path : windows;
}

} // namespace mainwin
