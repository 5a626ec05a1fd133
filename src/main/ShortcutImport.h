#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class PathMapper;
class Registry;
} // namespace platform
namespace settings {
class SettingsView;
}
namespace shell {
class WinShell;
}

namespace mainwin {

// What the import does with table folder: look-ups and writes on the look-up data set (no index,
// no filter), then a refresh of the main infobase list. Failures raise exceptions.
class InfobaseRows {
public:
    virtual ~InfobaseRows() = default;
    // Makes the first row whose PATH equals directory, without regard to case, current.
    virtual bool locatePath(const std::string& directory) = 0;
    virtual void edit() = 0;   // the current row
    virtual void insert() = 0; // a new row with the new-row defaults (category and division)
    virtual void setField(std::string_view field, const std::string& value) = 0; // cut to the width
    virtual void post() = 0;
    virtual void cancel() = 0;
    virtual void refreshSearch() = 0;
    virtual void refreshFolder() = 0; // the main infobase list
};

// Turns shortcut files dropped on the main window into infobases. A dropped shortcut that starts
// a 1C:Enterprise executable with a directory switch is entered in the Titles key under the
// shortcut's name and, as the setting cmbShortCut says, added to table folder or updated there;
// every other dropped file is skipped.
class ShortcutImport {
public:
    ShortcutImport(const shell::WinShell& shell, platform::Registry& registry, InfobaseRows& rows,
                   const settings::SettingsView& settings);

    // The files in the order given (Windows paths, or host paths no drive maps). A shortcut that
    // cannot be read raises its ShellError, which the caller shows in the general error report:
    // the files after it are not processed, what the files before it wrote stays.
    void ImportDroppedShortcuts(const std::vector<std::string>& files);

    // Dropped files named by the host (absolute paths, from the desktop's URI list) as the
    // program names them: their Windows paths, or the host path where no drive maps it.
    static std::vector<std::string> droppedFiles(const std::vector<std::string>& hostPaths,
                                                 const platform::PathMapper& paths);
    // The infobase name a shortcut file gives: its file name without directory and extension.
    static std::string shortcutTitle(std::string_view file);

private:
    void importShortcut(const std::string& file);

    const shell::WinShell& m_shell;
    platform::Registry& m_registry;
    InfobaseRows& m_rows;
    const settings::SettingsView& m_settings;
};

} // namespace mainwin
