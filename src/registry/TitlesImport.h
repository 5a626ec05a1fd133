#pragma once
#include "registry/TitlesFile.h"

#include <string>
#include <vector>

namespace platform {
class Registry;
}

// Writing the entries of a Titles export file into the Titles key, asking about existing ones.
namespace registry {

// Answers of the key exists question, as its dialog's modal results.
enum class KeyExistsAnswer : int { Cancel = 2, Yes = 6, No = 7, NoToAll = 9, YesToAll = 10 };

// The key exists dialog as the import sees it.
class KeyExistsAsker {
public:
    virtual ~KeyExistsAsker() = default;
    // Shows the key in question (every key of the file passes here).
    virtual void showKey(const std::string& key) = 0;
    // Asks whether the existing entry of the key shown is to be overwritten; a modal result.
    virtual int ask() = 0;
};

// Writes each entry in file order: a new key at once; an existing one as the answer mode says.
// The mode starts at "ask"; yes to all and no to all fix it for the rest of the entries; cancel
// stops, keeping what was written. Without the Titles key nothing is written and nothing asked.
// A RegistryError of a write reaches the caller.
void importTitles(platform::Registry& registry, const std::vector<TitlesFileEntry>& entries, KeyExistsAsker& asker);

} // namespace registry
