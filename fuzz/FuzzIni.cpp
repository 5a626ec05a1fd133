// The settings file's reader and editor under arbitrary input: the text comes back byte for byte
// when nothing is set, and a value set as the settings writer sets it reads back as it was.
//
// Input: section, key and value each ended by NUL, then the file's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/IniDocument.h"

namespace {

std::string field(std::string_view& rest) {
    const auto end = rest.find('\0');
    std::string text(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return text;
}

constexpr std::string_view kBlanks = " \t\r\n\v\f\x1A";

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

// What the settings writer accepts (IniFile::writeString): a section and a key that are not blank,
// a key without "=" that cannot be taken for a comment or a section, no line breaks anywhere.
bool writable(std::string_view section, std::string_view key, std::string_view value) {
    const auto breaks = std::string_view("\r\n", 2);
    if (trim(section).empty() || trim(key).empty())
        return false;
    if (section.find_first_of(breaks) != std::string_view::npos ||
        key.find_first_of(breaks) != std::string_view::npos || value.find_first_of(breaks) != std::string_view::npos)
        return false;
    const auto k = trim(key);
    return k.find('=') == std::string_view::npos && k.front() != ';' && k.front() != '[' &&
           trim(section).find(']') == std::string_view::npos;
}

// As the writer stores a value: quoted when blanks around it or a pair of quotes would be lost.
std::string stored(const std::string& value) {
    const bool outerBlank = !value.empty() && (kBlanks.find(value.front()) != std::string_view::npos ||
                                               kBlanks.find(value.back()) != std::string_view::npos);
    const bool quotedPair =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return outerBlank || quotedPair ? "\"" + value + "\"" : value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string section = field(rest);
    const std::string key = field(rest);
    const std::string value = field(rest);
    const std::string text(rest);

    settings::IniDocument document(text);
    if (document.bytes() != text)
        std::abort();
    (void)document.value(section, key);
    if (!writable(section, key, value))
        return 0;
    document.setValue(section, key, stored(value));
    const settings::IniDocument reread(document.bytes());
    if (reread.value(section, key) != value)
        std::abort();
    // Setting it again reads back the same, and leaves the other lines alone.
    settings::IniDocument again(document.bytes());
    again.setValue(section, key, stored(value));
    if (settings::IniDocument(again.bytes()).value(section, key) != value)
        std::abort();
    return 0;
}
