#include "registry/TitlesSync.h"

#include "app/Common.h"
#include "engine/CodePage.h"
#include "platform/Registry.h"
#include "registry/TitlesOrder.h"

#include <algorithm>

namespace registry {

LineParts splitTitlesLine(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return {std::string(line), {}};
    return {std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))};
}

std::vector<TitleEntry> readTitles(platform::Registry& registry) {
    std::vector<TitleEntry> entries;
    const auto key = registry.openKey(platform::RegistryRoot::CurrentUser, std::string(app::TitlesKeyPath));
    if (!key)
        return entries;
    std::vector<std::pair<TitlesSortKey, TitleEntry>> keyed;
    for (auto& name : key->valueNames()) {
        auto data = key->readString(name);
        TitleEntry entry{std::move(name), data.value_or(std::string())};
        keyed.emplace_back(titlesSortKey(entry.line()), std::move(entry));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    entries.reserve(keyed.size());
    for (auto& [sortKey, entry] : keyed)
        entries.push_back(std::move(entry));
    return entries;
}

std::vector<std::string> unaccountedLines(const std::vector<TitleEntry>& entries, FolderStore& store) {
    std::vector<std::string> lines;
    if (entries.empty())
        return lines;
    store.prepareSeeks();
    for (const auto& entry : entries) {
        const auto line = entry.line();
        if (!store.seekPath(engine::upperUtf8(splitTitlesLine(line).directory)))
            lines.push_back(line);
    }
    return lines;
}

bool importLine(FolderStore& store, std::string_view line) {
    const auto parts = splitTitlesLine(line);
    try {
        store.insert();
        store.setField("PATH", parts.directory);
        store.setField("NAME", parts.title);
    } catch (...) {
        store.cancel();
        throw;
    }
    try {
        store.post();
        return true;
    } catch (...) {
        store.cancel();
        return false;
    }
}

} // namespace registry
