#include "platform/posix/WineBridge.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A cold Wine start takes about a second; a server that does not answer in this time is stuck.
constexpr auto exchangeTimeLimit = std::chrono::seconds(15);

bool isFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

WineBridge::WineBridge(std::string prefix, std::string directory)
    : m_prefix(std::move(prefix)), m_directory(std::move(directory)) {}

std::string WineBridge::defaultDirectory() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return {};
    const std::string executable(buffer, static_cast<std::size_t>(n));
    const std::string directory = executable.substr(0, executable.rfind('/'));
    if (isFile(directory + "/tarvesk-bridge32.exe"))
        return directory;
    return directory + "/../lib/tarvesk";
}

std::string WineBridge::file(bool sixtyFour) const {
    const std::string path = m_directory + (sixtyFour ? "/tarvesk-bridge64.exe" : "/tarvesk-bridge32.exe");
    return isFile(path) ? path : std::string();
}

std::vector<std::string> WineBridge::argv(bool sixtyFour) const {
    const std::string wine = ProcessLauncher::findOnPath("wine");
    const std::string helper = file(sixtyFour);
    if (wine.empty() || helper.empty())
        return {};
    return {wine, helper};
}

ProcessLauncher::Environment WineBridge::environment(Variables variables) const {
    if (!m_prefix.empty())
        variables.emplace_back("WINEPREFIX", m_prefix);
    return ProcessLauncher::currentEnvironment(variables);
}

pid_t WineBridge::start(const std::string& request, bool sixtyFour, const Variables& variables) const {
    const auto command = argv(sixtyFour);
    if (command.empty())
        return -1;
    return ProcessLauncher::spawnDetached(command, environment(variables), request);
}

std::optional<std::string> WineBridge::exchange(const std::string& request) const {
    const std::vector<int> order = m_exchangeBits ? std::vector<int>{m_exchangeBits} : std::vector<int>{32, 64};
    for (const int bits : order) {
        const auto command = argv(bits == 64);
        if (command.empty())
            continue;
        auto finished =
            ProcessLauncher::runWithInput(command, environment({{"WINEDEBUG", "-all"}}), request, exchangeTimeLimit);
        if (finished.exitCode == 0) {
            m_exchangeBits = bits;
            return std::move(finished.output);
        }
    }
    return std::nullopt;
}

} // namespace platform
