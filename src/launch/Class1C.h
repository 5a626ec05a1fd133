#pragma once
#include "app/LaunchSource.h"

#include <string>

namespace platform {
class Registry;
class Shell;
} // namespace platform
namespace settings {
class SettingsView;
}

namespace launch {

class LaunchData;
class MainWindowView;
class ExplorerView;

// The launcher: turns a launch request into the argument string of a 1C:Enterprise 7.7 executable
// and starts it. Every value is read at the moment of the request from the window the request
// came from, the data module and the settings window. The fields keep the last request; each
// request overwrites all of them before use.
class TC1C {
public:
    TC1C(platform::Registry& registry, platform::Shell& shell);

    // The parts the launcher reads from. A view that is not set reads as nothing chosen.
    void setDataModule(LaunchData* data) { m_data = data; }
    void setMainWindowView(const MainWindowView* view) { m_main = view; }
    void setExplorerView(const ExplorerView* view) { m_explorer = view; }
    void setSettingsView(const settings::SettingsView* view) { m_settings = view; }

    // Regime and its keyword; an index outside 0..4 is taken as 0 (enterprise).
    void SetRegime(int index);
    // " /m" only for regime 0 with the flag, so it must follow SetRegime.
    void SetExclusive(bool flag);
    // Chooses BatchFile between the infobase's own file and the settings' default, and BatchArg.
    void SetBatchFile(const std::string& own);
    // Fills every field for one request.
    void Prepare(app::LaunchSource source);
    // Prepare, then keyword, " /d" and directory (quoted when it holds a blank), " /m", the user
    // part and " /@" with the batch file.
    std::string BuildCommandLine(app::LaunchSource source);
    // Keeps the Titles key in step and starts the current executable; nothing for a shortcut.
    void Launch(app::LaunchSource source);
    // PATH of the current executable row.
    std::string GetProgramPath();

    app::LaunchSource Source = app::LaunchSource::lsMainWindow;
    bool Exclusive = false;
    std::string ExclusiveArg;
    int Regime = 0;
    std::string RegimeKeyword;
    std::string Path;
    std::string PathArg;
    std::string BatchFile;
    std::string BatchArg;
    std::string UserArgs;

private:
    // Composes the argument string and starts the current executable with it.
    void start(app::LaunchSource source);

    // The plain password UserArgs carries, handed to the shell so it can keep it out of sight.
    std::string m_password;

    platform::Registry& m_registry;
    platform::Shell& m_shell;
    LaunchData* m_data = nullptr;
    const MainWindowView* m_main = nullptr;
    const ExplorerView* m_explorer = nullptr;
    const settings::SettingsView* m_settings = nullptr;
};

} // namespace launch
