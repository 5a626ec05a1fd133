#include "shell/WinShell.h"

#include <cstdint>

#include "platform/WholeFile.h"
#include "shell/ShellError.h"
#include "shell/ShellLinkFile.h"

namespace shell {

namespace {

// Characters Windows does not allow in a file name. "/" is among them: on the host it would
// lead into another directory.
bool isValidFileName(std::string_view name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

// Shortcut files are a few kilobytes; anything far larger is not read into memory.
constexpr std::uintmax_t maxShortcutSize = 16u << 20;

std::string readShortcutFile(const std::string& host, const std::string& file) {
    auto read = platform::readWholeFile(host, maxShortcutSize);
    switch (read.status) {
    case platform::WholeFile::Status::read:
        return std::move(read.bytes);
    case platform::WholeFile::Status::tooLarge:
        throw ShellError("Файл " + file + " не является ярлыком Windows: файл слишком велик");
    case platform::WholeFile::Status::notRegular:
        throw ShellError("Не удалось открыть ярлык " + file + ": это не обычный файл");
    case platform::WholeFile::Status::missing:
    case platform::WholeFile::Status::failed:
        break;
    }
    throw ShellError("Не удалось открыть ярлык " + file);
}

// Replaces the shortcut file whole; a read-only file is refused, as Windows refuses it.
void writeShortcutFile(const std::string& host, const std::string& file, const std::string& bytes) {
    if (const auto replaced = platform::replaceWholeFile(host, bytes); !replaced)
        throw ShellError("Не удалось записать ярлык " + file + ": " + replaced.explanation());
}

} // namespace

WinShell::WinShell(platform::PathMapper& paths, platform::ShellFolders& folders) : m_paths(paths), m_folders(folders) {}

std::string WinShell::SpecialFolderPath(int folderId, bool create) const {
    std::string path = m_folders.specialFolderPath(folderId, create);
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

std::string WinShell::CreateSpecialFolderShortcut(const std::string& target, const std::string& description,
                                                  int folderId) {
    const auto folder = SpecialFolderPath(folderId, false);
    if (folder.empty())
        throw ShellError("Не удалось создать ярлык: специальная папка " + std::to_string(folderId) + " недоступна");
    return createShortcut(target, description, folder);
}

std::string WinShell::CreateDirectoryShortcut(const std::string& target, const std::string& description,
                                              const std::string& directory) {
    return createShortcut(target, description, directory);
}

std::string WinShell::createShortcut(const std::string& target, const std::string& description,
                                     const std::string& folder) {
    const auto name = shortcutFileName(target);
    if (!isValidFileName(name))
        throw ShellError("Не удалось создать ярлык: имя файла «" + name + "» недопустимо");
    // A host directory (an absolute Unix path) gets its own separator.
    const char separator = !folder.empty() && folder.front() == '/' ? '/' : '\\';
    std::string file = folder;
    if (file.empty() || file.back() != separator)
        file += separator;
    file += name;
    TShellLinkInfo info;
    info.TargetPath = target;
    info.Description = description;
    writeShortcutFile(hostPath(file), file, ShellLinkFile::encode(info));
    return file;
}

TShellLinkInfo WinShell::ReadShortcut(const std::string& file) const {
    return ShellLinkFile::decode(readShortcutFile(hostPath(file), file), file);
}

void WinShell::WriteShortcut(const std::string& file, const TShellLinkInfo& info) {
    const auto host = hostPath(file);
    ShellLinkFile::decode(readShortcutFile(host, file), file); // must be an existing shortcut
    writeShortcutFile(host, file, ShellLinkFile::encode(info));
}

std::string WinShell::shortcutFileName(std::string_view target) {
    const auto separator = target.find_last_of("\\:");
    std::string name(separator == std::string_view::npos ? target : target.substr(separator + 1));
    const auto dot = name.rfind('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return name + ".lnk";
}

std::string WinShell::hostPath(const std::string& file) const {
    auto host = m_paths.toHost(file);
    if (host.empty())
        throw ShellError("Путь " + file + " не относится ни к одному диску");
    return host;
}

} // namespace shell
