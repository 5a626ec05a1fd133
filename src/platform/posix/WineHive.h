#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Registry value types as a hive stores them.
namespace hivetype {
inline constexpr std::uint32_t none = 0;
inline constexpr std::uint32_t sz = 1;
inline constexpr std::uint32_t expandSz = 2;
inline constexpr std::uint32_t binary = 3;
inline constexpr std::uint32_t dword = 4;
inline constexpr std::uint32_t multiSz = 7;
} // namespace hivetype

struct HiveValue {
    std::string name; // UTF-8; empty for the default value "@"
    bool isDefault = false;
    std::uint32_t type = hivetype::none;
    bool textForm = false; // data is UTF-8 text (quoted form); otherwise the raw bytes of hex/dword
    std::string data;
    std::size_t line = 0;      // first physical line of the value in the file
    std::size_t lineCount = 1; // physical lines, with "\" continuations
};

// Modification time of a key as Wine writes it: Unix seconds on the key line and a FILETIME
// (100 ns since 1601) on the "#time=" line.
struct HiveTime {
    std::int64_t unixSeconds = 0;
    std::uint64_t fileTime = 0;
    static HiveTime now();
    static HiveTime fromUnix(std::int64_t seconds, std::uint32_t hundredNanoseconds = 0);
};

// One registry branch in Wine's text format ("WINE REGISTRY Version 2"). The text is kept as
// physical lines; edits replace, insert or remove only the lines of the value and the key line of
// the key they touch, so everything else stays byte for byte. A text without the header line is
// invalid: it shows no keys and takes no edits. Lines that do not parse are kept and skipped.
// Key paths use "\" between names; names compare without regard to case.
class WineHive {
public:
    explicit WineHive(std::string_view text);

    bool isValid() const { return m_valid; }
    std::string text() const;

    // True when the key has a section or is the parent of one (Wine writes no section for a key
    // that only has subkeys); the root always exists in a valid hive.
    bool keyExists(std::string_view path) const;
    // The key's values, merged over repeated sections (a later line wins, the order is that of
    // first appearance).
    std::vector<HiveValue> values(std::string_view path) const;
    std::optional<HiveValue> value(std::string_view path, std::string_view name) const;

    // Creates or replaces a REG_SZ value (empty name: the default value), creating the key's
    // section when there is none. False when the hive is invalid.
    bool setString(std::string_view path, std::string_view name, std::string_view data, const HiveTime& time);
    // Removes every line of the value; false when it does not exist.
    bool removeValue(std::string_view path, std::string_view name, const HiveTime& time);
    // Adds an empty section for a missing key; true when the key exists afterwards.
    bool addKey(std::string_view path, const HiveTime& time);

    // For checks and tools: the paths of the keys that have sections (upper-cased, in file
    // order, once each), and the line numbers (0-based, sorted) an edit of the value may change:
    // the key line and "#time=" line of each of the key's sections and every line of the value.
    std::vector<std::string> sectionPaths() const;
    std::vector<std::size_t> linesOf(std::string_view path, std::string_view name) const;

private:
    struct Section {
        std::vector<std::string> upperNames; // path components, upper-cased
        std::size_t header = 0;
        std::size_t end = 0; // one past the section's last line
        std::optional<std::size_t> timeLine;
        std::vector<HiveValue> values;
    };

    void parse();
    void parseValue(Section& section, std::size_t& index);
    std::vector<std::size_t> sectionsOf(const std::vector<std::string>& upperPath) const;
    void touch(const Section& section, const HiveTime& time);
    std::size_t insertionLineFor(const Section& section, const std::string& upperName) const;
    std::size_t insertionLineForKey(const std::vector<std::string>& upperPath) const;
    void insertSection(const std::vector<std::string>& parts, const HiveTime& time);
    std::string lineEnd() const;

    std::vector<std::string> m_lines; // each with its line terminator
    std::vector<Section> m_sections;
    // Sections by their upper-cased path joined with "\", and every key that exists (each
    // section's path and all its ancestors), so look-ups take constant time in large hives.
    std::unordered_map<std::string, std::vector<std::size_t>> m_sectionsByPath;
    std::unordered_set<std::string> m_keys;
    bool m_valid = false;
};

} // namespace platform
