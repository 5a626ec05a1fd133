#pragma once
#include "platform/posix/WineHive.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace platform {

// One hive file of a prefix, read on demand and read again whenever the file changed since (size,
// modification time or inode), so a long-lived object sees what Wine or another program wrote.
// The file is never created: a missing file is a hive without keys that takes no edits.
class HiveFile {
public:
    explicit HiveFile(std::string path) : m_path(std::move(path)) {}

    const std::string& path() const { return m_path; }
    // The current content; nullptr when the file is missing, unreadable or not a hive.
    const WineHive* hive();
    // Applies change to the current content and, when it changed the text, replaces the file
    // atomically. False when there is no valid hive, change returned false or the write failed.
    bool edit(const std::function<bool(WineHive&)>& change);
    // Changes whenever the content hive() gives changes (read again or edited).
    std::uint64_t generation() const { return m_generation; }

private:
    struct Stamp {
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t seconds = 0, nanoseconds = 0;
        bool operator==(const Stamp&) const = default;
    };
    static std::optional<Stamp> stampOf(const std::string& path);

    std::string m_path;
    std::optional<Stamp> m_stamp;
    std::optional<WineHive> m_hive;
    std::uint64_t m_generation = 0;
};

} // namespace platform
