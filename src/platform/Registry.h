#pragma once
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The registry as the program sees it on every platform: Windows' own, the hive files of a Wine
// prefix on Linux, or an in-memory fake in tests. Key paths use "\" as separator. All names and
// data are UTF-8 in the program; names compare without regard to case, Cyrillic included.
namespace platform {

enum class RegistryRoot { CurrentUser, LocalMachine };

// A registry failure that Windows would report to the caller; its message is the user's text
// ("Invalid data type for '%s'", "Failed to set data for '%s'").
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An open key. It lives no longer than the Registry that opened it.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // Names of the key's values in enumeration order (the unnamed default value is not listed).
    virtual std::vector<std::string> valueNames() const = 0;
    virtual bool hasValue(const std::string& name) const = 0;
    // Data of a string value (REG_SZ or REG_EXPAND_SZ) as the ANSI calls give it: a character
    // Windows-1251 cannot hold comes back as '?'. std::nullopt when the value does not exist;
    // RegistryError "Invalid data type for '<name>'" when it is not a string.
    virtual std::optional<std::string> readString(const std::string& name) const = 0;
    // Creates or replaces a REG_SZ value; RegistryError "Failed to set data for '<name>'" when
    // the value cannot be set.
    virtual void writeString(const std::string& name, const std::string& data) = 0;
    // Removes a value; false when it did not exist or could not be removed.
    virtual bool deleteValue(const std::string& name) = 0;
    // Makes the key's changes durable at once.
    virtual void flush() = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Opens an existing key with full access; nullptr when it is missing or cannot be opened.
    virtual std::unique_ptr<RegistryKey> openKey(RegistryRoot root, const std::string& path) = 0;
    // Opens a key, creating it and its missing parents; nullptr when that is impossible.
    virtual std::unique_ptr<RegistryKey> createKey(RegistryRoot root, const std::string& path) = 0;
};

} // namespace platform
