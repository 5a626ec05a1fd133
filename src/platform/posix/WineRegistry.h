#pragma once
#include "platform/Registry.h"
#include "platform/posix/HiveFile.h"
#include "platform/posix/WinePrefix.h"
#include "platform/posix/WineServerRegistry.h"

#include <functional>
#include <string>
#include <vector>

namespace platform {

class WineBridge;

// The registry of a Wine prefix: HKEY_CURRENT_USER is its user.reg, HKEY_LOCAL_MACHINE its
// system.reg. While no Wine server runs for the prefix, reads parse the files and writes rewrite
// them atomically. While one runs it holds the registry in memory and overwrites the files with
// its own copy, so reads and writes then go through the server (WineServerRegistry) and never to
// the files behind its back. A missing prefix or file means every key is missing; the layer never
// creates one.
class WineRegistry : public Registry {
public:
    // True while a Wine server runs for the prefix.
    using ServerProbe = std::function<bool()>;

    WineRegistry(std::string prefix, const WineBridge& bridge);
    // The hive files alone, as if no Wine server ran (tools and tests).
    explicit WineRegistry(std::string prefix);
    WineRegistry(std::string prefix, ServerProbe serverRunning, WineServerRegistry::Exchange exchange);

    std::unique_ptr<RegistryKey> openKey(RegistryRoot root, const std::string& path) override;
    std::unique_ptr<RegistryKey> createKey(RegistryRoot root, const std::string& path) override;

    const std::string& prefix() const { return m_prefix; }

    // What the keys use. values: the hive file's (the server's are taken when a key opens), and
    // a number that changes whenever they may have.
    std::vector<HiveValue> fileValues(RegistryRoot root, const std::string& path);
    std::uint64_t fileGeneration(RegistryRoot root);
    bool setString(RegistryRoot root, const std::string& path, const std::string& name, const std::string& data);
    bool removeValue(RegistryRoot root, const std::string& path, const std::string& name);

private:
    HiveFile& hiveFile(RegistryRoot root) { return root == RegistryRoot::CurrentUser ? m_user : m_machine; }
    bool serverRunning() const { return m_serverRunning && m_serverRunning(); }

    std::string m_prefix;
    HiveFile m_user;
    HiveFile m_machine;
    ServerProbe m_serverRunning;
    WineServerRegistry m_server;
};

} // namespace platform
