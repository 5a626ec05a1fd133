#include "platform/posix/WineRegistry.h"

#include "platform/posix/WineBridge.h"
#include "platform/posix/WineRegistryKey.h"

namespace platform {

WineRegistry::WineRegistry(std::string prefix, const WineBridge& bridge)
    : WineRegistry(
          prefix, [prefix] { return WinePrefix::serverRunning(prefix); },
          [&bridge](const std::string& request) { return bridge.exchange(request); }) {}

WineRegistry::WineRegistry(std::string prefix) : WineRegistry(std::move(prefix), {}, {}) {}

WineRegistry::WineRegistry(std::string prefix, ServerProbe serverRunning, WineServerRegistry::Exchange exchange)
    : m_prefix(std::move(prefix)), m_user(m_prefix + "/user.reg"), m_machine(m_prefix + "/system.reg"),
      m_serverRunning(std::move(serverRunning)), m_server(std::move(exchange)) {}

std::unique_ptr<RegistryKey> WineRegistry::openKey(RegistryRoot root, const std::string& path) {
    if (serverRunning()) {
        auto listing = m_server.list(root, path);
        if (listing.result == WineServerRegistry::Result::missing)
            return nullptr;
        if (listing.result == WineServerRegistry::Result::done)
            return std::make_unique<WineRegistryKey>(*this, root, path, std::move(listing.values));
        // The server could not be asked: the file is the best that is left.
    }
    const WineHive* hive = hiveFile(root).hive();
    if (!hive || !hive->keyExists(path))
        return nullptr;
    return std::make_unique<WineRegistryKey>(*this, root, path);
}

std::unique_ptr<RegistryKey> WineRegistry::createKey(RegistryRoot root, const std::string& path) {
    if (serverRunning()) {
        auto listing = m_server.createAndList(root, path);
        if (listing.result != WineServerRegistry::Result::done)
            return nullptr;
        return std::make_unique<WineRegistryKey>(*this, root, path, std::move(listing.values));
    }
    HiveFile& file = hiveFile(root);
    const WineHive* hive = file.hive();
    if (!hive)
        return nullptr;
    if (!hive->keyExists(path) && !file.edit([&](WineHive& h) { return h.addKey(path, HiveTime::now()); }))
        return nullptr;
    // A server started meanwhile may have read the file before the key was in it.
    if (serverRunning() && m_server.createAndList(root, path).result != WineServerRegistry::Result::done)
        return nullptr;
    return std::make_unique<WineRegistryKey>(*this, root, path);
}

std::vector<HiveValue> WineRegistry::fileValues(RegistryRoot root, const std::string& path) {
    const WineHive* hive = hiveFile(root).hive();
    return hive ? hive->values(path) : std::vector<HiveValue>();
}

std::uint64_t WineRegistry::fileGeneration(RegistryRoot root) {
    HiveFile& file = hiveFile(root);
    file.hive(); // read again when the file changed
    return file.generation();
}

bool WineRegistry::setString(RegistryRoot root, const std::string& path, const std::string& name,
                             const std::string& data) {
    if (serverRunning())
        return m_server.setString(root, path, name, data) == WineServerRegistry::Result::done;
    const bool written =
        hiveFile(root).edit([&](WineHive& hive) { return hive.setString(path, name, data, HiveTime::now()); });
    // A server started meanwhile may have read the file before the value was in it.
    if (written && serverRunning())
        return m_server.setString(root, path, name, data) == WineServerRegistry::Result::done;
    return written;
}

bool WineRegistry::removeValue(RegistryRoot root, const std::string& path, const std::string& name) {
    if (serverRunning())
        return m_server.removeValue(root, path, name) == WineServerRegistry::Result::done;
    const bool removed =
        hiveFile(root).edit([&](WineHive& hive) { return hive.removeValue(path, name, HiveTime::now()); });
    if (removed && serverRunning())
        m_server.removeValue(root, path, name);
    return removed;
}

} // namespace platform
