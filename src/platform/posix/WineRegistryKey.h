#pragma once
#include "platform/Registry.h"
#include "platform/posix/WineHive.h"

#include <optional>
#include <string>

namespace platform {

class WineRegistry;

// An open key of a WineRegistry. Every call looks at the hive file as it is now. Names and data
// pass through Windows-1251 as the ANSI registry calls do: what the code page cannot hold is '?'.
class WineRegistryKey : public RegistryKey {
public:
    WineRegistryKey(WineRegistry& registry, RegistryRoot root, const std::string& path);

    std::vector<std::string> valueNames() const override;
    bool hasValue(const std::string& name) const override;
    std::optional<std::string> readString(const std::string& name) const override;
    void writeString(const std::string& name, const std::string& data) override;
    bool deleteValue(const std::string& name) override;
    void flush() override {} // every write is already on disk

    // "HKCU\Software\..." as Wine's reg tool names the key.
    std::string fullPath() const;

private:
    // The stored value the name stands for: the same name without regard to case, else one whose
    // ANSI form is the same (so a name read back from valueNames() finds its value).
    std::optional<HiveValue> resolve(const std::string& name) const;

    WineRegistry& m_registry;
    RegistryRoot m_root;
    std::string m_path;
};

} // namespace platform
