#pragma once
// Dropped-shortcut tests: shortcut files written into a temporary drive C:.
#include "platform/fake/FakePathMapper.h"
#include "platform/fake/FakeShellFolders.h"
#include "platform/fake/MemoryRegistry.h"
#include "shell/ShellLinkFile.h"
#include "shell/WinShell.h"
#include "support/TempDir.h"

#include <filesystem>
#include <string>

namespace shortcuttest {

inline const std::string kTitles = R"(Software\1C\1Cv7\7.7\Titles)";
inline const std::string kEnterprise = R"(C:\Program Files\1Cv77\BIN\1cv7s.exe)";

// Drive C: in a temporary directory, a shell on it, a registry with the Titles key.
class DropFixture {
public:
    DropFixture() {
        m_paths.addDrive('C', (m_dir.path() / "drive_c").string());
        std::filesystem::create_directories(host(R"(C:\Drop)"));
        m_registry.plantKey(platform::RegistryRoot::CurrentUser, kTitles);
    }

    std::string host(const std::string& windows) const { return m_paths.toHost(windows); }

    // Writes C:\Drop\<name> as a shortcut to target with the arguments; returns its Windows path.
    std::string link(const std::string& name, const std::string& arguments, const std::string& target = kEnterprise) {
        shell::TShellLinkInfo info;
        info.TargetPath = target;
        info.Arguments = arguments;
        const std::string file = R"(C:\Drop\)" + name;
        testsupport::writeFile(host(file), shell::ShellLinkFile::encode(info));
        return file;
    }
    // Writes C:\Drop\<name> with the bytes (not a shortcut).
    std::string plainFile(const std::string& name, const std::string& bytes = "text") {
        const std::string file = R"(C:\Drop\)" + name;
        testsupport::writeFile(host(file), bytes);
        return file;
    }

    std::optional<std::string> title(const std::string& directory) const {
        return m_registry.stringValue(platform::RegistryRoot::CurrentUser, kTitles, directory);
    }

    testsupport::TempDir m_dir;
    platform::FakePathMapper m_paths;
    platform::FakeShellFolders m_folders;
    shell::WinShell m_shell{m_paths, m_folders};
    platform::MemoryRegistry m_registry;
};

} // namespace shortcuttest
