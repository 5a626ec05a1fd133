#include "main/ShortcutImport.h"

#include "app/Common.h"
#include "platform/PathMapper.h"
#include "settings/SettingsView.h"
#include "shell/WinShell.h"

#include <exception>

namespace mainwin {

namespace {

// cmbShortCut: what happens to a directory already in table folder. Nothing selected (-1) acts
// as "Не добавлять".
enum class MatchMode { Keep = 0, Update = 1, Add = 2 };

MatchMode matchMode(int index) {
    switch (index) {
    case 1:
        return MatchMode::Update;
    case 2:
        return MatchMode::Add;
    default:
        return MatchMode::Keep;
    }
}

template <typename F> void quietly(F step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

} // namespace

ShortcutImport::ShortcutImport(const shell::WinShell& shell, platform::Registry& registry, InfobaseRows& rows,
                               const settings::SettingsView& settings)
    : m_shell(shell), m_registry(registry), m_rows(rows), m_settings(settings) {}

void ShortcutImport::ImportDroppedShortcuts(const std::vector<std::string>& files) {
    for (const auto& file : files)
        importShortcut(file);
}

void ShortcutImport::importShortcut(const std::string& file) {
    if (!app::IsShortcutFile(file))
        return;
    const auto link = m_shell.ReadShortcut(file);
    if (!app::IsEnterpriseExe(link.TargetPath))
        return;
    const auto args = app::ParseLaunchArgs(link.Arguments);
    const auto title = shortcutTitle(file);
    if (args.directory.empty())
        return;

    // The Titles entry takes the shortcut's name whatever happens in the table.
    app::TitleWrite(m_registry, args.directory, title);

    const bool found = m_rows.locatePath(args.directory);
    const auto mode = matchMode(m_settings.shortcutMatchMode());
    if (!found || mode != MatchMode::Keep) {
        if (found && mode == MatchMode::Update)
            m_rows.edit();
        else
            m_rows.insert();
        try {
            m_rows.setField("NAME", title);
            m_rows.setField("PATH", args.directory);
            m_rows.setField("USERNAME", args.userName);
            m_rows.setField("PASSWORD", app::ScramblePassword(args.password));
            m_rows.setField("USERPATH", args.userDirectory);
            m_rows.setField("PRMFILE", args.batchFile);
            m_rows.post();
            m_rows.refreshSearch();
        } catch (const std::exception&) {
            // A row that cannot be stored is given up without a message, and undoing it must not
            // raise a second error.
            quietly([this] { m_rows.cancel(); });
            quietly([this] { m_rows.refreshSearch(); });
        }
    }
    m_rows.refreshFolder();
}

std::vector<std::string> ShortcutImport::droppedFiles(const std::vector<std::string>& hostPaths,
                                                      const platform::PathMapper& paths) {
    std::vector<std::string> files;
    files.reserve(hostPaths.size());
    for (const auto& host : hostPaths) {
        auto windows = paths.toWindows(host);
        files.push_back(windows.empty() ? host : std::move(windows));
    }
    return files;
}

std::string ShortcutImport::shortcutTitle(std::string_view file) {
    const auto separator = file.find_last_of("\\/");
    auto name = separator == std::string_view::npos ? file : file.substr(separator + 1);
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos)
        name = name.substr(0, dot);
    return std::string(name);
}

} // namespace mainwin
