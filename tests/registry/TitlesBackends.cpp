#include "TitlesBackends.h"

#include "app/Common.h"
#include "engine/CodePage.h"
#include "platform/fake/MemoryRegistry.h"
#include "platform/posix/WineRegistry.h"
#include "support/TempDir.h"

#include <cstdio>

namespace registrytest {

namespace {

using platform::RegistryRoot;

// A string as Wine's hive files spell it: "\" and quotes escaped, everything outside ASCII as a
// four-digit \x escape of its UTF-16 code unit.
std::string hiveString(const std::string& utf8) {
    std::string out;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t cp = engine::decodeUtf8(utf8, pos).value_or(U'?');
        if (cp == U'\\' || cp == U'"') {
            out += '\\';
            out += static_cast<char>(cp);
        } else if (cp >= 0x20 && cp < 0x7F) {
            out += static_cast<char>(cp);
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%04x", static_cast<unsigned>(cp));
            out += buffer;
        }
    }
    return out;
}

class MemoryBackend : public TitlesBackend {
public:
    MemoryBackend(const std::vector<Planted>& planted, bool titlesKey) {
        const std::string path(app::TitlesKeyPath);
        if (titlesKey)
            m_registry.plantKey(RegistryRoot::CurrentUser, path);
        for (const auto& value : planted) {
            if (value.isString)
                m_registry.plantString(RegistryRoot::CurrentUser, path, value.name, value.data);
            else
                m_registry.plantNonString(RegistryRoot::CurrentUser, path, value.name);
        }
    }
    platform::Registry& registry() override { return m_registry; }

private:
    platform::MemoryRegistry m_registry;
};

class WineBackend : public TitlesBackend {
public:
    WineBackend(const std::vector<Planted>& planted, bool titlesKey) {
        std::string hive =
            "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
            "#arch=win32\n\n[Software\\\\Wine] 1700000000\n#time=1da1747c66d0000\n\"Version\"=\"win7\"\n\n";
        if (titlesKey) {
            hive += "[Software\\\\1C\\\\1Cv7\\\\7.7\\\\Titles] 1700000000\n#time=1da1747c66d0000\n";
            for (const auto& value : planted)
                hive += "\"" + hiveString(value.name) + "\"=" +
                        (value.isString ? "\"" + hiveString(value.data) + "\"" : std::string("dword:0000002a")) + "\n";
        }
        testsupport::writeFile(m_prefix.path() / "user.reg", hive);
        m_registry = std::make_unique<platform::WineRegistry>(m_prefix.path().string());
    }
    platform::Registry& registry() override { return *m_registry; }

private:
    testsupport::TempDir m_prefix;
    std::unique_ptr<platform::WineRegistry> m_registry;
};

} // namespace

std::vector<std::string> TitlesBackend::names() {
    const auto key = registry().openKey(RegistryRoot::CurrentUser, std::string(app::TitlesKeyPath));
    return key ? key->valueNames() : std::vector<std::string>{};
}

std::optional<std::string> TitlesBackend::value(const std::string& name) {
    const auto key = registry().openKey(RegistryRoot::CurrentUser, std::string(app::TitlesKeyPath));
    return key ? key->readString(name) : std::nullopt;
}

bool TitlesBackend::titlesKeyExists() {
    return registry().openKey(RegistryRoot::CurrentUser, std::string(app::TitlesKeyPath)) != nullptr;
}

std::unique_ptr<TitlesBackend> makeBackend(BackendKind kind, const std::vector<TitlesBackend::Planted>& planted,
                                           bool titlesKey) {
    if (kind == BackendKind::Memory)
        return std::make_unique<MemoryBackend>(planted, titlesKey);
    return std::make_unique<WineBackend>(planted, titlesKey);
}

std::string backendName(BackendKind kind) {
    return kind == BackendKind::Memory ? "Memory" : "WinePrefix";
}

} // namespace registrytest
