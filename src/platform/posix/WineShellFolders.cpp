#include "platform/posix/WineShellFolders.h"

#include <array>
#include <filesystem>
#include <system_error>

namespace platform {

namespace {

constexpr const char* shellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

enum class Base { None, Profile, Public, ProgramData, Windows };

struct Folder {
    int csidl;
    RegistryRoot root;
    const char* valueName; // in "Shell Folders"
    Base base;
    const char* defaultTail; // below the base
};

constexpr auto roaming = "AppData\\Roaming";
constexpr auto hkcu = RegistryRoot::CurrentUser;
constexpr auto hklm = RegistryRoot::LocalMachine;

// Alt Startup is the non-localised Startup folder: on Wine, the same as Startup.
constexpr std::array<Folder, 30> folders{{
    {0, hkcu, "Desktop", Base::Profile, "Desktop"},
    {1, hkcu, nullptr, Base::None, nullptr}, // Internet
    {2, hkcu, "Programs", Base::Profile, "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
    {3, hkcu, nullptr, Base::None, nullptr}, // Controls
    {4, hkcu, nullptr, Base::None, nullptr}, // Printers
    {5, hkcu, "Personal", Base::Profile, "Documents"},
    {6, hkcu, "Favorites", Base::Profile, "Favorites"},
    {7, hkcu, "Startup", Base::Profile, "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp"},
    {8, hkcu, "Recent", Base::Profile, "AppData\\Roaming\\Microsoft\\Windows\\Recent"},
    {9, hkcu, "SendTo", Base::Profile, "AppData\\Roaming\\Microsoft\\Windows\\SendTo"},
    {10, hkcu, nullptr, Base::None, nullptr}, // Recycle Bin
    {11, hkcu, "Start Menu", Base::Profile, "AppData\\Roaming\\Microsoft\\Windows\\Start Menu"},
    {16, hkcu, "Desktop", Base::Profile, "Desktop"},
    {17, hkcu, nullptr, Base::None, nullptr}, // Drives
    {18, hkcu, nullptr, Base::None, nullptr}, // Network
    {19, hkcu, "NetHood", Base::Profile, "AppData\\Roaming\\Microsoft\\Windows\\Network Shortcuts"},
    {20, hkcu, "Fonts", Base::Windows, "Fonts"},
    {21, hkcu, "Templates", Base::Profile, "AppData\\Roaming\\Microsoft\\Windows\\Templates"},
    {22, hklm, "Common Start Menu", Base::ProgramData, "Microsoft\\Windows\\Start Menu"},
    {23, hklm, "Common Programs", Base::ProgramData, "Microsoft\\Windows\\Start Menu\\Programs"},
    {24, hklm, "Common Startup", Base::ProgramData, "Microsoft\\Windows\\Start Menu\\Programs\\StartUp"},
    {25, hklm, "Common Desktop", Base::Public, "Desktop"},
    {26, hkcu, "AppData", Base::Profile, roaming},
    {27, hkcu, "PrintHood", Base::Profile, "AppData\\Roaming\\Microsoft\\Windows\\Printer Shortcuts"},
    {29, hkcu, "Startup", Base::Profile, "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp"},
    {30, hklm, "Common Startup", Base::ProgramData, "Microsoft\\Windows\\Start Menu\\Programs\\StartUp"},
    {31, hklm, "Common Favorites", Base::Public, "Favorites"},
    {32, hkcu, "Cache", Base::Profile, "AppData\\Local\\Microsoft\\Windows\\INetCache"},
    {33, hkcu, "Cookies", Base::Profile, "AppData\\Local\\Microsoft\\Windows\\INetCookies"},
    {34, hkcu, "History", Base::Profile, "AppData\\Local\\Microsoft\\Windows\\History"},
}};

std::string withoutTrailingSeparator(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    return path;
}

} // namespace

WineShellFolders::WineShellFolders(Registry& registry, const PathMapper& paths, std::string userName)
    : m_registry(registry), m_paths(paths), m_userName(std::move(userName)) {}

std::string WineShellFolders::specialFolderPath(int csidl, bool create) {
    const Folder* folder = nullptr;
    for (const auto& f : folders)
        if (f.csidl == csidl)
            folder = &f;
    if (!folder || folder->base == Base::None)
        return {};

    std::string path;
    try {
        if (const auto key = m_registry.openKey(folder->root, shellFoldersKey))
            path = key->readString(folder->valueName).value_or("");
    } catch (const RegistryError&) {
        path.clear(); // a value of another type: fall back to the default
    }
    path = withoutTrailingSeparator(path);
    if (path.size() < 3 || path[1] != ':') {
        switch (folder->base) {
        case Base::Profile:
            path = "C:\\users\\" + m_userName;
            break;
        case Base::Public:
            path = "C:\\users\\Public";
            break;
        case Base::ProgramData:
            path = "C:\\ProgramData";
            break;
        case Base::Windows:
            path = "C:\\windows";
            break;
        case Base::None:
            break;
        }
        path += std::string("\\") + folder->defaultTail;
    }
    if (create) {
        const std::string host = m_paths.toHost(path);
        std::error_code ec;
        if (!host.empty())
            std::filesystem::create_directories(host, ec);
    }
    return path;
}

} // namespace platform
