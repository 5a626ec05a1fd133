#pragma once
#include "platform/Registry.h"
#include "settings/AutoStart.h"

#include <string>
#include <string_view>

namespace platform {
class PathMapper;
}
namespace shell {
class WinShell;
}

namespace settings {

// The desktop's own autostart folders (XDG autostart). Wine runs neither Run values nor Startup
// shortcuts at logon, so beside them the program keeps an entry "Tarvesk.desktop" here. An empty
// directory is not used.
struct XdgAutostart {
    std::string userDirectory;   // $XDG_CONFIG_HOME/autostart, else ~/.config/autostart
    std::string systemDirectory; // /etc/xdg/autostart
    std::string winePrefix;      // the WINEPREFIX the started program is to see; empty: none

    // The folders named by the environment (XDG_CONFIG_HOME, HOME), with the given prefix.
    static XdgAutostart fromEnvironment(std::string winePrefix);
};

// The four start-with-the-system entries: the value "Tarvesk" under the Run key of
// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, and the shortcut "Tarvesk.lnk" in the all-users and
// the current user's Startup folder. applyAutoStart writes the chosen one and removes the others;
// the XDG entry of a scope exists exactly while one of that scope's two entries does.
class AutoStartEntries : public AutoStart {
public:
    static constexpr std::string_view RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr std::string_view RunValueName = "Tarvesk";
    static constexpr std::string_view ShortcutName = "Tarvesk.lnk";
    static constexpr std::string_view DesktopEntryName = "Tarvesk.desktop";
    static constexpr std::string_view Description = "Стартовый модуль для 1С:Предприятия";
    static constexpr int AllUsersRow = 8;     // SpecialFolders "Common Startup"
    static constexpr int CurrentUserRow = 28; // SpecialFolders "Startup"

    // programFile: the program's own executable as the host names it (a Windows path on Windows,
    // an absolute Unix path on Linux); the entries hold its Windows path.
    AutoStartEntries(platform::Registry& registry, shell::WinShell& shell, const platform::PathMapper& paths,
                     std::string programFile, XdgAutostart xdg = {});

    void applyAutoStart(const Choice& choice) override;

    // Sets the Run value under root to the quoted program path; skipped when the Run key cannot
    // be opened. RegistryError "Failed to set data for 'Tarvesk'" when the value cannot be set.
    void WriteRunValue(platform::RegistryRoot root);
    // Removes the Run value under root; nothing happens when the key or the value is missing.
    void DeleteRunValue(platform::RegistryRoot root);
    // Makes "Tarvesk.lnk" anew in the Startup folder of the SpecialFolders row; ShellError when
    // it cannot be written.
    void CreateStartupShortcut(int row);
    // Deletes "Tarvesk.lnk" from the Startup folder of the row; a missing file is no error.
    void DeleteStartupShortcut(int row);

    // The program's Windows path (its host path when no drive maps it).
    std::string programWindowsPath() const;
    // The whole text of the XDG autostart entry.
    std::string desktopEntryText() const;
    // One argument of a Desktop Entry Exec line: quoted when it holds a reserved character, with
    // the quoting escapes, "%" doubled and the string-value escapes applied on top.
    static std::string execArgument(std::string_view argument);

private:
    bool runValueExists(platform::RegistryRoot root);
    std::string startupShortcutHostPath(int row) const;
    // Writes or removes the XDG entry of each scope after the entries changed; raises when the
    // current user's entry cannot be written.
    void syncDesktopEntries();

    platform::Registry& m_registry;
    shell::WinShell& m_shell;
    const platform::PathMapper& m_paths;
    std::string m_programFile;
    XdgAutostart m_xdg;
};

} // namespace settings
