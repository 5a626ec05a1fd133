#include "shell/WinShell.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

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

// Writes bytes to a temporary file beside host and renames it over host, so a reader sees either
// the old file or the complete new one.
void writeFileAtomically(const std::string& host, const std::string& file, const std::string& bytes) {
    namespace fs = std::filesystem;
    const fs::path target(host);
    std::random_device random;
    const fs::path temporary = target.string() + ".tmp" + std::to_string(random());
    const auto fail = [&](const std::string& reason) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw ShellError("Не удалось записать ярлык " + file + ": " + reason);
    };
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            fail(std::error_code(errno, std::generic_category()).message());
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out)
            fail("ошибка записи");
    }
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec)
        fail(ec.message());
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
    writeFileAtomically(hostPath(file), file, ShellLinkFile::encode(info));
    return file;
}

TShellLinkInfo WinShell::ReadShortcut(const std::string& file) const {
    return ShellLinkFile::decode(readShortcutFile(hostPath(file), file), file);
}

void WinShell::WriteShortcut(const std::string& file, const TShellLinkInfo& info) {
    const auto host = hostPath(file);
    ShellLinkFile::decode(readShortcutFile(host, file), file); // must be an existing shortcut
    writeFileAtomically(host, file, ShellLinkFile::encode(info));
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
