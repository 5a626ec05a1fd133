#pragma once
#include "settings/IniWriteError.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace settings {

// One settings file, read and written key by key with the Windows private-profile rules (see
// IniDocument). Nothing is cached: every call goes to the file, so accessors on one file see each
// other's writes at once. The file is Windows-1251; the API is UTF-8. A missing or unreadable
// file gives every default; the first write creates the file (not its directory). Every write
// replaces the whole file atomically and raises IniWriteError when it fails.
class IniFile {
public:
    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return m_path; }

    // The key's text, or the default (without its trailing blanks, as the profile calls give
    // it); at most 2047 characters.
    std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // Signed decimal, or hexadecimal after "0x"/"0X" (32 bits, so 0xFFFFFFFF is -1); any other
    // text, or a number outside 32 bits, gives the default.
    std::int32_t readInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
    // An integer; anything but 0 is true.
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;
    // A colour value stored as a signed integer (0x8000000F is stored as -2147483633).
    std::uint32_t readColor(std::string_view section, std::string_view key, std::uint32_t defaultValue) const;

    // Writes the text so that readString gives it back: text with blanks at either end, or
    // enclosed in a pair of the same quote, is written inside an extra pair of double quotes.
    // Refused (IniWriteError, file untouched): a character Windows-1251 cannot hold, a line
    // break or NUL anywhere, an empty section or key, a key holding "=" or starting with ";" or
    // "[".
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, std::int32_t value);
    void writeBool(std::string_view section, std::string_view key, bool value);
    void writeColor(std::string_view section, std::string_view key, std::uint32_t value);

private:
    std::string fullPath() const;
    [[noreturn]] void refuse(const std::string& reason) const;
    std::string encode(std::string_view utf8, const char* what) const;

    std::filesystem::path m_path;
};

} // namespace settings
