#pragma once
#include "platform/Registry.h"
#include "platform/posix/HiveFile.h"
#include "platform/posix/WinePrefix.h"

#include <functional>
#include <string>
#include <vector>

namespace platform {

// The registry of a Wine prefix: HKEY_CURRENT_USER is its user.reg, HKEY_LOCAL_MACHINE its
// system.reg. Reads parse the files; writes rewrite them atomically. While a Wine server runs for
// the prefix it keeps the registry in memory and would overwrite the file with its own copy, so
// every write then also goes to the server through Wine's "reg" tool. A missing prefix or file
// means every key is missing; the layer never creates one.
class WineRegistry : public Registry {
public:
    // True while a Wine server runs for the prefix.
    using ServerProbe = std::function<bool()>;
    // Runs a full argv ("wine", "reg", ...); true when the tool succeeded.
    using RegRunner = std::function<bool(const std::vector<std::string>& argv)>;

    explicit WineRegistry(std::string prefix = WinePrefix::defaultPath());
    WineRegistry(std::string prefix, ServerProbe serverRunning, RegRunner runReg);

    std::unique_ptr<RegistryKey> openKey(RegistryRoot root, const std::string& path) override;
    std::unique_ptr<RegistryKey> createKey(RegistryRoot root, const std::string& path) override;

    const std::string& prefix() const { return m_prefix; }
    HiveFile& hiveFile(RegistryRoot root) { return root == RegistryRoot::CurrentUser ? m_user : m_machine; }
    // Hands a change to the running Wine server; true when none runs or the tool succeeded.
    bool sendToServer(const std::vector<std::string>& argv);

    // Runs "wine reg ..." without a shell, input from /dev/null, with LC_ALL=C.UTF-8 (so names
    // outside ASCII arrive intact) and WINEPREFIX set, killed after a few seconds.
    static bool runWineReg(const std::string& prefix, const std::vector<std::string>& argv);

private:
    std::string m_prefix;
    HiveFile m_user;
    HiveFile m_machine;
    ServerProbe m_serverRunning;
    RegRunner m_runReg;
};

} // namespace platform
