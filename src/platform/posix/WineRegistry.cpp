#include "platform/posix/WineRegistry.h"

#include "platform/posix/ProcessLauncher.h"
#include "platform/posix/WineRegistryKey.h"

namespace platform {

namespace {

constexpr auto regTimeLimit = std::chrono::seconds(5);

} // namespace

WineRegistry::WineRegistry(std::string prefix)
    : WineRegistry(
          prefix, [prefix] { return WinePrefix::serverRunning(prefix); },
          [prefix](const std::vector<std::string>& argv) { return runWineReg(prefix, argv); }) {}

WineRegistry::WineRegistry(std::string prefix, ServerProbe serverRunning, RegRunner runReg)
    : m_prefix(std::move(prefix)), m_user(m_prefix + "/user.reg"), m_machine(m_prefix + "/system.reg"),
      m_serverRunning(std::move(serverRunning)), m_runReg(std::move(runReg)) {}

std::unique_ptr<RegistryKey> WineRegistry::openKey(RegistryRoot root, const std::string& path) {
    const WineHive* hive = hiveFile(root).hive();
    if (!hive || !hive->keyExists(path))
        return nullptr;
    return std::make_unique<WineRegistryKey>(*this, root, path);
}

std::unique_ptr<RegistryKey> WineRegistry::createKey(RegistryRoot root, const std::string& path) {
    HiveFile& file = hiveFile(root);
    const WineHive* hive = file.hive();
    if (!hive)
        return nullptr;
    if (!hive->keyExists(path)) {
        const HiveTime time = HiveTime::now();
        if (!file.edit([&](WineHive& h) { return h.addKey(path, time); }))
            return nullptr;
        auto key = std::make_unique<WineRegistryKey>(*this, root, path);
        // A failure here is not fatal: the server learns of the key with its first value.
        sendToServer({"wine", "reg", "add", key->fullPath(), "/f"});
        return key;
    }
    return std::make_unique<WineRegistryKey>(*this, root, path);
}

bool WineRegistry::sendToServer(const std::vector<std::string>& argv) {
    if (!m_serverRunning || !m_serverRunning())
        return true;
    return m_runReg && m_runReg(argv);
}

bool WineRegistry::runWineReg(const std::string& prefix, const std::vector<std::string>& argv) {
    if (argv.empty())
        return false;
    std::vector<std::string> command = argv;
    command[0] = ProcessLauncher::findOnPath(argv[0]);
    if (command[0].empty())
        return false;
    const auto environment =
        ProcessLauncher::currentEnvironment({{"LC_ALL", "C.UTF-8"}, {"WINEPREFIX", prefix}, {"WINEDEBUG", "-all"}});
    return ProcessLauncher::runWithTimeout(command, environment, regTimeLimit) == 0;
}

} // namespace platform
