#pragma once
#include "platform/Registry.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// An in-memory registry for tests. Key paths and value names compare without regard to case
// (Cyrillic too); a path's empty components are ignored ("A\\B\\" is "A\B"). Open keys share the
// registry's state, so a write through one is seen through every other at once.
class MemoryRegistry : public Registry {
public:
    using KeyId = std::pair<RegistryRoot, std::string>;

    MemoryRegistry();
    ~MemoryRegistry() override;
    MemoryRegistry(const MemoryRegistry&) = delete;
    MemoryRegistry& operator=(const MemoryRegistry&) = delete;

    std::unique_ptr<RegistryKey> openKey(RegistryRoot root, const std::string& path) override;
    // Creates missing keys (parents first) and records each in createdKeys().
    std::unique_ptr<RegistryKey> createKey(RegistryRoot root, const std::string& path) override;

    // Set-up: keys and values that exist before the code under test runs (not recorded).
    void plantKey(RegistryRoot root, const std::string& path);
    void plantString(RegistryRoot root, const std::string& path, const std::string& name, const std::string& data);
    // A value that is not a string (as a REG_DWORD would be): readString raises on it.
    void plantNonString(RegistryRoot root, const std::string& path, const std::string& name);
    // With false, writeString raises "Failed to set data for '<name>'" and deleteValue fails.
    void setValuesWritable(bool writable) { m_writable = writable; }

    // Inspection.
    bool keyExists(RegistryRoot root, const std::string& path) const;
    // Data of a string value as stored; std::nullopt when the key or value is missing.
    std::optional<std::string> stringValue(RegistryRoot root, const std::string& path, const std::string& name) const;
    // Value names of a key in creation order; empty when the key is missing.
    std::vector<std::string> valueNames(RegistryRoot root, const std::string& path) const;
    // Keys made by createKey, in order, each with its path as first spelt (normalised).
    const std::vector<KeyId>& createdKeys() const { return m_created; }
    // How many times flush() was called on any key.
    int flushCount() const { return m_flushes; }

private:
    class Key;
    struct Value {
        std::string name;
        std::string data;
        bool isString = true;
    };
    struct Node {
        std::string path;
        std::vector<Value> values;
        Value* find(const std::string& name);
        const Value* find(const std::string& name) const;
    };

    // Node of a key, nullptr when it does not exist (the root always exists).
    Node* node(RegistryRoot root, const std::string& path);
    const Node* node(RegistryRoot root, const std::string& path) const;
    Node& ensure(RegistryRoot root, const std::string& path, bool record);

    std::map<KeyId, Node> m_keys; // by root and folded path
    std::vector<KeyId> m_created;
    bool m_writable = true;
    int m_flushes = 0;
};

} // namespace platform
