#pragma once
#include "registry/FolderStore.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform {
class Registry;
}

// The comparison of 1C:Enterprise's Titles key with table folder and the import of its entries.
namespace registry {

// One Titles entry: the value name (the infobase directory) and its data (the title).
struct TitleEntry {
    std::string name;
    std::string title;
    std::string line() const { return name + "=" + title; }
    bool operator==(const TitleEntry&) const = default;
};

// The parts of a line directory "=" title, split at its first "=" (a line without one is all
// directory).
struct LineParts {
    std::string directory;
    std::string title;
};
LineParts splitTitlesLine(std::string_view line);

// Every entry of the Titles key, ordered by their lines (TitlesOrder). Empty when the key is
// missing or cannot be opened; RegistryError "Invalid data type for '<name>'" when a value is not
// a string.
std::vector<TitleEntry> readTitles(platform::Registry& registry);

// The lines of the entries whose directory table folder does not hold, in the entries' order. The
// directory is upper-cased as the UPPER(PATH) key is (a-z and Cyrillic) and sought as a prefix, so
// a stored PATH that begins with it counts; any other difference (a trailing "\", "/" for "\")
// makes it unaccounted. Errors of the store reach the caller.
std::vector<std::string> unaccountedLines(const std::vector<TitleEntry>& entries, FolderStore& store);

// Adds the line's directory and title (split at the first "=") to table folder as a new row.
// A failing post is cancelled and dropped: false. A failure before the post cancels the pending
// row and reaches the caller.
bool importLine(FolderStore& store, std::string_view line);

} // namespace registry
