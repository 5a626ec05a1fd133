#include "settings/IniFile.h"

#include "engine/CodePage.h"
#include "platform/WholeFile.h"
#include "settings/IniDocument.h"

#include <limits>
#include <optional>

namespace settings {
namespace {

constexpr std::size_t kMaxValueLength = 2047;

// The whole file; std::nullopt when it cannot be read (missing included).
// Settings files are small; a larger one is not read into memory.
constexpr std::size_t kMaxFileSize = 16u << 20;

std::optional<std::string> readBytes(const std::filesystem::path& path) {
    auto file = platform::readWholeFile(path.string(), kMaxFileSize);
    if (file.status != platform::WholeFile::Status::read)
        return std::nullopt;
    return std::move(file.bytes);
}

// Signed decimal, or 32-bit hexadecimal after "0x"/"0X"; std::nullopt for anything else.
std::optional<std::int32_t> parseInteger(std::string_view t) {
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        std::uint64_t v = 0;
        for (char c : t.substr(2)) {
            const int d = engine::hexDigitValue(c);
            if (d < 0)
                return std::nullopt;
            v = v * 16 + static_cast<std::uint64_t>(d);
            if (v > std::numeric_limits<std::uint32_t>::max())
                return std::nullopt;
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    }
    bool negative = false;
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    if (t.empty())
        return std::nullopt;
    std::int64_t v = 0;
    for (char c : t) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(v);
}

bool hasOuterBlank(std::string_view s) {
    constexpr std::string_view blanks = " \t\v\f\x1A";
    return !s.empty() &&
           (blanks.find(s.front()) != std::string_view::npos || blanks.find(s.back()) != std::string_view::npos);
}

bool isQuotedPair(std::string_view s) {
    return s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front();
}

// Cuts UTF-8 text after at most max characters.
std::string cutCharacters(const std::string& utf8, std::size_t max) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < max && pos < utf8.size(); ++n)
        engine::decodeUtf8(utf8, pos);
    return utf8.substr(0, pos);
}

} // namespace

IniFile::IniFile(std::filesystem::path path) : m_path(std::move(path)) {}

std::string IniFile::fullPath() const {
    std::error_code ec;
    const auto full = std::filesystem::absolute(m_path, ec);
    return (ec ? m_path : full).string();
}

void IniFile::refuse(const std::string& reason) const {
    throw IniWriteError("Unable to write to " + fullPath() + (reason.empty() ? "" : ": " + reason));
}

// Windows-1251 bytes of a name or value; refuses what the file cannot hold or what would break
// its lines.
std::string IniFile::encode(std::string_view utf8, const char* what) const {
    const auto bytes = engine::cp1251FromUtf8(utf8);
    if (!bytes)
        refuse(std::string(what) + " holds \"" + engine::firstNonCp1251Char(utf8) +
               "\", which Windows-1251 cannot store");
    if (bytes->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        refuse(std::string(what) + " holds a line break or NUL");
    return *bytes;
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view defaultValue) const {
    std::optional<std::string> found;
    const auto s = engine::cp1251FromUtf8(section);
    const auto k = engine::cp1251FromUtf8(key);
    if (s && k) {
        if (const auto bytes = readBytes(m_path))
            found = IniDocument(*bytes).value(*s, *k);
    }
    if (found)
        return engine::utf8FromCp1251(std::string_view(*found).substr(0, kMaxValueLength));
    std::string def(defaultValue);
    def.erase(def.find_last_not_of(' ') + 1);
    return cutCharacters(def, kMaxValueLength);
}

std::int32_t IniFile::readInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
    const auto text = readString(section, key, "");
    return parseInteger(text).value_or(defaultValue);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::uint32_t IniFile::readColor(std::string_view section, std::string_view key, std::uint32_t defaultValue) const {
    return static_cast<std::uint32_t>(readInteger(section, key, static_cast<std::int32_t>(defaultValue)));
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    const auto s = encode(section, "the section name");
    const auto k = encode(key, "the key name");
    auto v = encode(value, "the value");
    if (s.find_first_not_of(" \t\v\f\x1A") == std::string::npos)
        refuse("the section name is empty");
    const auto keyStart = k.find_first_not_of(" \t\v\f\x1A");
    if (keyStart == std::string::npos)
        refuse("the key name is empty");
    if (k.find('=') != std::string::npos || k[keyStart] == ';' || k[keyStart] == '[')
        refuse("the key name \"" + std::string(key) + "\" cannot be stored");
    if (hasOuterBlank(v) || isQuotedPair(v))
        v = "\"" + v + "\"";

    std::string old;
    std::error_code ec;
    const auto status = std::filesystem::status(m_path, ec);
    if (std::filesystem::exists(status)) {
        const auto bytes = readBytes(m_path);
        if (!bytes) // rewriting a file we cannot read would lose its other settings
            refuse("");
        old = *bytes;
    }
    IniDocument doc(old);
    doc.setValue(s, k, v);
    // A read-only file stays as it is, as Windows keeps it; the message is the same for every cause.
    if (!platform::replaceWholeFile(m_path.string(), doc.bytes()))
        refuse("");
}

void IniFile::writeInteger(std::string_view section, std::string_view key, std::int32_t value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void IniFile::writeColor(std::string_view section, std::string_view key, std::uint32_t value) {
    writeInteger(section, key, static_cast<std::int32_t>(value));
}

} // namespace settings
