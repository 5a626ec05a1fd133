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

std::vector<HiveValue> WineRegistryKey::values() const {
    return m_serverValues ? *m_serverValues : m_registry.fileValues(m_root, m_path);
}

std::optional<HiveValue> WineRegistryKey::resolve(const std::string& name) const {
    const auto values = this->values();
    const auto upper = engine::upperUtf8(name);
    for (const auto& value : values)
        if (engine::upperUtf8(value.name) == upper)
            return value;
    const auto upperAnsi = engine::upperUtf8(ansi(name));
    for (const auto& value : values)
        if (engine::upperUtf8(ansi(value.name)) == upperAnsi)
            return value;
    return std::nullopt;
}

std::vector<std::string> WineRegistryKey::valueNames() const {
    std::vector<std::string> names;
    for (const auto& value : values())
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
    }
}

bool WineRegistryKey::deleteValue(const std::string& name) {
    const auto existing = resolve(name);
    if (!existing || !m_registry.removeValue(m_root, m_path, existing->name))
        return false;
    if (m_serverValues) {
        const auto upper = engine::upperUtf8(existing->name);
        std::erase_if(*m_serverValues, [&](const HiveValue& v) { return engine::upperUtf8(v.name) == upper; });
    }
    return true;
}

} // namespace platform
