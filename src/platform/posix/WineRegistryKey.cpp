#include "platform/posix/WineRegistryKey.h"

#include "engine/CodePage.h"
#include "platform/posix/WineRegistry.h"

#include <algorithm>

namespace platform {

namespace {

std::string ansi(const std::string& utf8) {
    return engine::utf8FromCp1251(engine::cp1251FromUtf8Lossy(utf8));
}

std::string normalisedPath(const std::string& path) {
    std::string out;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t stop = std::min(path.find('\\', start), path.size());
        if (stop > start) {
            if (!out.empty())
                out += '\\';
            out += path.substr(start, stop - start);
        }
        start = stop + 1;
    }
    return out;
}

// Text of a string value: the quoted form as read, or UTF-16LE bytes of a hex form; up to the
// first NUL, as a string read stops there.
std::string textOf(const HiveValue& value) {
    std::string text;
    if (value.textForm) {
        text = value.data;
    } else {
        std::u16string units;
        for (std::size_t i = 0; i + 1 < value.data.size(); i += 2)
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(value.data[i]) |
                                                  (static_cast<unsigned char>(value.data[i + 1]) << 8)));
        for (std::size_t i = 0; i < units.size(); ++i) {
            char32_t cp = units[i];
            if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000)
                cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00);
            else if (cp >= 0xD800 && cp < 0xE000)
                cp = 0xFFFD;
            engine::appendUtf8(text, cp);
        }
    }
    return text.substr(0, text.find('\0'));
}

} // namespace

WineRegistryKey::WineRegistryKey(WineRegistry& registry, RegistryRoot root, const std::string& path)
    : m_registry(registry), m_root(root), m_path(normalisedPath(path)) {}

WineRegistryKey::WineRegistryKey(WineRegistry& registry, RegistryRoot root, const std::string& path,
                                 std::vector<HiveValue> serverValues)
    : m_registry(registry), m_root(root), m_path(normalisedPath(path)), m_serverValues(std::move(serverValues)) {}

const WineRegistryKey::Lookup& WineRegistryKey::lookup() const {
    // A key of the hive file follows the file; one of the server holds what it was given.
    const std::uint64_t generation = m_serverValues ? 0 : m_registry.fileGeneration(m_root);
    if (m_lookup && generation == m_lookupGeneration)
        return *m_lookup;
    auto lookup = std::make_shared<Lookup>();
    lookup->values = m_serverValues ? *m_serverValues : m_registry.fileValues(m_root, m_path);
    for (std::size_t i = 0; i < lookup->values.size(); ++i) {
        const std::string& name = lookup->values[i].name;
        lookup->byName.try_emplace(engine::upperUtf8(name), i);
        lookup->byAnsiName.try_emplace(engine::upperUtf8(ansi(name)), i);
    }
    m_lookup = std::move(lookup);
    m_lookupGeneration = generation;
    return *m_lookup;
}

std::optional<HiveValue> WineRegistryKey::resolve(const std::string& name) const {
    const Lookup& found = lookup();
    auto it = found.byName.find(engine::upperUtf8(name));
    if (it == found.byName.end())
        it = found.byAnsiName.find(engine::upperUtf8(ansi(name)));
    if (it == found.byAnsiName.end())
        return std::nullopt;
    return found.values[it->second];
}

std::vector<std::string> WineRegistryKey::valueNames() const {
    std::vector<std::string> names;
    for (const auto& value : lookup().values)
        if (!value.isDefault && !value.name.empty())
            names.push_back(ansi(value.name));
    return names;
}

bool WineRegistryKey::hasValue(const std::string& name) const {
    return resolve(name).has_value();
}

std::optional<std::string> WineRegistryKey::readString(const std::string& name) const {
    const auto value = resolve(name);
    if (!value)
        return std::nullopt;
    if (value->type != hivetype::sz && value->type != hivetype::expandSz)
        throw RegistryError("Invalid data type for '" + name + "'");
    return ansi(textOf(*value));
}

void WineRegistryKey::writeString(const std::string& name, const std::string& data) {
    const auto existing = resolve(name);
    const std::string storedName = existing ? existing->name : ansi(name);
    const std::string text = ansi(data);
    if (!m_registry.setString(m_root, m_path, storedName, text))
        throw RegistryError("Failed to set data for '" + name + "'");
    if (m_serverValues) {
        HiveValue value;
        value.name = storedName;
        value.isDefault = storedName.empty();
        value.type = hivetype::sz;
        value.textForm = true;
        value.data = text;
        auto& values = *m_serverValues;
        const auto upper = engine::upperUtf8(storedName);
        const auto it = std::find_if(values.begin(), values.end(),
                                     [&](const HiveValue& v) { return engine::upperUtf8(v.name) == upper; });
        if (it == values.end())
            values.push_back(std::move(value));
        else
            *it = std::move(value);
        m_lookup.reset();
    }
}

bool WineRegistryKey::deleteValue(const std::string& name) {
    const auto existing = resolve(name);
    if (!existing || !m_registry.removeValue(m_root, m_path, existing->name))
        return false;
    if (m_serverValues) {
        const auto upper = engine::upperUtf8(existing->name);
        std::erase_if(*m_serverValues, [&](const HiveValue& v) { return engine::upperUtf8(v.name) == upper; });
        m_lookup.reset();
    }
    return true;
}

} // namespace platform
