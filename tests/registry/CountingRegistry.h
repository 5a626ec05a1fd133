#pragma once
#include "platform/Registry.h"

#include <memory>
#include <string>
#include <vector>

namespace registrytest {

// Passes everything to another registry and records every value written, so a test can tell
// "rewritten with the same data" from "left alone".
class CountingRegistry : public platform::Registry {
public:
    explicit CountingRegistry(platform::Registry& inner) : m_inner(inner) {}

    std::unique_ptr<platform::RegistryKey> openKey(platform::RegistryRoot root, const std::string& path) override {
        return wrap(m_inner.openKey(root, path));
    }
    std::unique_ptr<platform::RegistryKey> createKey(platform::RegistryRoot root, const std::string& path) override {
        return wrap(m_inner.createKey(root, path));
    }

    std::vector<std::string> written; // value names, in write order

private:
    class Key : public platform::RegistryKey {
    public:
        Key(std::unique_ptr<platform::RegistryKey> inner, std::vector<std::string>& written)
            : m_inner(std::move(inner)), m_written(written) {}
        std::vector<std::string> valueNames() const override { return m_inner->valueNames(); }
        bool hasValue(const std::string& name) const override { return m_inner->hasValue(name); }
        std::optional<std::string> readString(const std::string& name) const override {
            return m_inner->readString(name);
        }
        void writeString(const std::string& name, const std::string& data) override {
            m_written.push_back(name);
            m_inner->writeString(name, data);
        }
        bool deleteValue(const std::string& name) override { return m_inner->deleteValue(name); }
        void flush() override { m_inner->flush(); }

    private:
        std::unique_ptr<platform::RegistryKey> m_inner;
        std::vector<std::string>& m_written;
    };

    std::unique_ptr<platform::RegistryKey> wrap(std::unique_ptr<platform::RegistryKey> key) {
        return key ? std::make_unique<Key>(std::move(key), written) : nullptr;
    }

    platform::Registry& m_inner;
};

} // namespace registrytest
