#pragma once
#include "platform/Registry.h"
#include "platform/posix/WineHive.h"

#include <memory>
#include <optional>
#include <unordered_map>
#include <string>

namespace platform {

class WineRegistry;

// An open key of a WineRegistry. A key opened from the hive file looks at the file as it is now
// at every call; a key opened while a Wine server runs holds the values the server gave when it
// was opened, with its own writes applied. Names and data pass through Windows-1251 as the ANSI
// registry calls do: what the code page cannot hold is '?'.
class WineRegistryKey : public RegistryKey {
public:
    WineRegistryKey(WineRegistry& registry, RegistryRoot root, const std::string& path);
    WineRegistryKey(WineRegistry& registry, RegistryRoot root, const std::string& path,
                    std::vector<HiveValue> serverValues);

    std::vector<std::string> valueNames() const override;
    bool hasValue(const std::string& name) const override;
    std::optional<std::string> readString(const std::string& name) const override;
    void writeString(const std::string& name, const std::string& data) override;
    bool deleteValue(const std::string& name) override;
    void flush() override {} // every write is already on disk or with the server

private:
    // The key's values with their look-up by name, built once per content of the key.
    struct Lookup {
        std::vector<HiveValue> values;
        std::unordered_map<std::string, std::size_t> byName;     // upper-cased name
        std::unordered_map<std::string, std::size_t> byAnsiName; // upper-cased Windows-1251 form
    };
    const Lookup& lookup() const;

    // The stored value the name stands for: the same name without regard to case, else one whose
    // ANSI form is the same (so a name read back from valueNames() finds its value).
    std::optional<HiveValue> resolve(const std::string& name) const;

    WineRegistry& m_registry;
    RegistryRoot m_root;
    std::string m_path;
    std::optional<std::vector<HiveValue>> m_serverValues;
    mutable std::shared_ptr<const Lookup> m_lookup;
    mutable std::uint64_t m_lookupGeneration = 0;
};

} // namespace platform
