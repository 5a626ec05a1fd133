#include "platform/posix/WineRegistryKey.h"

#include "engine/CodePage.h"
#include "platform/posix/WineRegistry.h"

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

std::string WineRegistryKey::fullPath() const {
    const std::string root = m_root == RegistryRoot::CurrentUser ? "HKCU" : "HKLM";
    return m_path.empty() ? root : root + "\\" + m_path;
}

std::optional<HiveValue> WineRegistryKey::resolve(const std::string& name) const {
    const WineHive* hive = m_registry.hiveFile(m_root).hive();
    if (!hive)
        return std::nullopt;
    const auto values = hive->values(m_path);
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
    if (const WineHive* hive = m_registry.hiveFile(m_root).hive())
        for (const auto& value : hive->values(m_path))
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
    const HiveTime time = HiveTime::now();
    const bool written = m_registry.hiveFile(m_root).edit(
        [&](WineHive& hive) { return hive.setString(m_path, storedName, text, time); });
    std::vector<std::string> argv{"wine", "reg", "add", fullPath()};
    if (storedName.empty())
        argv.push_back("/ve");
    else
        argv.insert(argv.end(), {"/v", storedName});
    argv.insert(argv.end(), {"/t", "REG_SZ", "/d", text, "/f"});
    if (!written || !m_registry.sendToServer(argv))
        throw RegistryError("Failed to set data for '" + name + "'");
}

bool WineRegistryKey::deleteValue(const std::string& name) {
    const auto existing = resolve(name);
    if (!existing)
        return false;
    const HiveTime time = HiveTime::now();
    if (!m_registry.hiveFile(m_root).edit(
            [&](WineHive& hive) { return hive.removeValue(m_path, existing->name, time); }))
        return false;
    std::vector<std::string> argv{"wine", "reg", "delete", fullPath()};
    if (existing->name.empty())
        argv.push_back("/ve");
    else
        argv.insert(argv.end(), {"/v", existing->name});
    argv.push_back("/f");
    return m_registry.sendToServer(argv);
}

} // namespace platform
