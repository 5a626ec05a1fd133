#include "settings/AutoStartEntries.h"

#include "platform/PathMapper.h"
#include "platform/WholeFile.h"
#include "shell/ShellLinkInfo.h"
#include "shell/WinShell.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace settings {

namespace {

namespace fs = std::filesystem;
using platform::RegistryRoot;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The folder's XDG entry; empty when the folder is not used.
fs::path desktopEntryPath(const std::string& directory) {
    if (directory.empty())
        return {};
    return fs::path(directory) / std::string(AutoStartEntries::DesktopEntryName);
}

void removeQuietly(const fs::path& file) {
    std::error_code ignored;
    if (!file.empty())
        fs::remove(file, ignored);
}

} // namespace

XdgAutostart XdgAutostart::fromEnvironment(std::string winePrefix) {
    XdgAutostart xdg;
    // Only an absolute XDG_CONFIG_HOME counts; a relative one is to be ignored.
    if (const auto config = environment("XDG_CONFIG_HOME"); !config.empty() && config.front() == '/')
        xdg.userDirectory = config + "/autostart";
    else if (const auto home = environment("HOME"); !home.empty())
        xdg.userDirectory = home + "/.config/autostart";
    xdg.systemDirectory = "/etc/xdg/autostart";
    xdg.winePrefix = std::move(winePrefix);
    return xdg;
}

AutoStartEntries::AutoStartEntries(platform::Registry& registry, shell::WinShell& shell,
                                   const platform::PathMapper& paths, std::string programFile, XdgAutostart xdg)
    : m_registry(registry), m_shell(shell), m_paths(paths), m_programFile(std::move(programFile)),
      m_xdg(std::move(xdg)) {}

void AutoStartEntries::applyAutoStart(const Choice& choice) {
    if (choice.autoStart && !choice.sysRegistry && !choice.startUpMenu)
        return; // no source chosen: nothing changes
    try {
        if (!choice.autoStart) {
            DeleteRunValue(RegistryRoot::LocalMachine);
            DeleteRunValue(RegistryRoot::CurrentUser);
            DeleteStartupShortcut(AllUsersRow);
            DeleteStartupShortcut(CurrentUserRow);
        } else if (choice.sysRegistry) {
            DeleteStartupShortcut(AllUsersRow);
            DeleteStartupShortcut(CurrentUserRow);
            if (choice.allUser) {
                DeleteRunValue(RegistryRoot::CurrentUser);
                WriteRunValue(RegistryRoot::LocalMachine);
            }
            if (choice.curUser) {
                DeleteRunValue(RegistryRoot::LocalMachine);
                WriteRunValue(RegistryRoot::CurrentUser);
            }
        } else {
            DeleteRunValue(RegistryRoot::LocalMachine);
            DeleteRunValue(RegistryRoot::CurrentUser);
            if (choice.allUser) {
                DeleteStartupShortcut(CurrentUserRow);
                CreateStartupShortcut(AllUsersRow);
            }
            if (choice.curUser) {
                DeleteStartupShortcut(AllUsersRow);
                CreateStartupShortcut(CurrentUserRow);
            }
        }
    } catch (...) {
        // Entries already removed stay removed; their XDG entries go with them. The first error
        // is the one reported.
        try {
            syncDesktopEntries();
        } catch (...) {
        }
        throw;
    }
    syncDesktopEntries();
}

void AutoStartEntries::WriteRunValue(RegistryRoot root) {
    const auto key = m_registry.openKey(root, std::string(RunKeyPath));
    if (!key)
        return;
    key->writeString(std::string(RunValueName), "\"" + programWindowsPath() + "\"");
    key->flush();
}

void AutoStartEntries::DeleteRunValue(RegistryRoot root) {
    if (const auto key = m_registry.openKey(root, std::string(RunKeyPath))) {
        key->deleteValue(std::string(RunValueName));
        key->flush();
    }
}

void AutoStartEntries::CreateStartupShortcut(int row) {
    const auto file = m_shell.CreateSpecialFolderShortcut(
        "Tarvesk", "", shell::SpecialFolders.at(static_cast<std::size_t>(row)).FolderId);
    const auto program = programWindowsPath();
    shell::TShellLinkInfo info;
    info.TargetPath = program;
    info.Description = std::string(Description);
    info.WorkingDirectory = program.substr(0, program.find_last_of("\\/") + 1);
    info.IconPath = program;
    info.IconIndex = 0;
    info.ShowCommand = 0;
    info.HotKey = 0;
    m_shell.WriteShortcut(file, info);
}

void AutoStartEntries::DeleteStartupShortcut(int row) {
    removeQuietly(startupShortcutHostPath(row));
}

std::string AutoStartEntries::programWindowsPath() const {
    if (m_programFile.empty() || m_programFile.front() != '/')
        return m_programFile;
    auto windows = m_paths.toWindows(m_programFile);
    return windows.empty() ? m_programFile : windows;
}

std::string AutoStartEntries::desktopEntryText() const {
    std::string exec;
    if (!m_xdg.winePrefix.empty())
        exec = "/usr/bin/env " + execArgument("WINEPREFIX=" + m_xdg.winePrefix) + " ";
    exec += execArgument(m_programFile);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tarvesk\n"
           "Comment=" +
           std::string(Description) +
           "\n"
           "Exec=" +
           exec +
           "\n"
           "Terminal=false\n";
}

std::string AutoStartEntries::execArgument(std::string_view argument) {
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool quote = argument.empty() || argument.find_first_of(reserved) != std::string_view::npos;
    std::string quoted;
    if (quote)
        quoted += '"';
    for (const char c : argument) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            quoted += '\\';
        if (c == '%')
            quoted += '%'; // a lone "%" would start a field code
        quoted += c;
    }
    if (quote)
        quoted += '"';
    // The string-value escapes are undone before the quoting, so they go on top.
    std::string value;
    for (const char c : quoted) {
        switch (c) {
        case '\\':
            value += "\\\\";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\t':
            value += "\\t";
            break;
        case '\r':
            value += "\\r";
            break;
        default:
            value += c;
        }
    }
    return value;
}

bool AutoStartEntries::runValueExists(RegistryRoot root) {
    const auto key = m_registry.openKey(root, std::string(RunKeyPath));
    return key && key->hasValue(std::string(RunValueName));
}

std::string AutoStartEntries::startupShortcutHostPath(int row) const {
    const auto folder =
        m_shell.SpecialFolderPath(shell::SpecialFolders.at(static_cast<std::size_t>(row)).FolderId, false);
    // Without a folder the name alone would point at the current drive's root: nothing of ours.
    if (folder.empty())
        return {};
    return m_paths.toHost(folder + "\\" + std::string(ShortcutName));
}

void AutoStartEntries::syncDesktopEntries() {
    const auto exists = [](const std::string& host) {
        std::error_code ignored;
        return !host.empty() && fs::exists(host, ignored);
    };
    const bool user = runValueExists(RegistryRoot::CurrentUser) || exists(startupShortcutHostPath(CurrentUserRow));
    const bool allUsers = runValueExists(RegistryRoot::LocalMachine) || exists(startupShortcutHostPath(AllUsersRow));
    const auto userEntry = desktopEntryPath(m_xdg.userDirectory);
    const auto systemEntry = desktopEntryPath(m_xdg.systemDirectory);
    const auto text = desktopEntryText();

    // Like the Run key under HKEY_LOCAL_MACHINE, the system folder is skipped where it may not be
    // written.
    if (!allUsers)
        removeQuietly(systemEntry);
    else if (!systemEntry.empty())
        (void)platform::replaceWholeFile(systemEntry.string(), text);

    if (!user) {
        removeQuietly(userEntry);
    } else if (!userEntry.empty()) {
        std::error_code ec;
        fs::create_directories(userEntry.parent_path(), ec);
        if (const auto replaced = platform::replaceWholeFile(userEntry.string(), text); !replaced)
            throw std::runtime_error("Не удалось записать файл автозапуска " + userEntry.string() + ": " +
                                     replaced.explanation());
    }
}

} // namespace settings
