#include "registry/TitlesImport.h"

#include "app/Common.h"

namespace registry {

namespace {
enum class AnswerMode { Ask, UpdateAll, SkipAll };
}

void importTitles(platform::Registry& registry, const std::vector<TitlesFileEntry>& entries, KeyExistsAsker& asker) {
    AnswerMode mode = AnswerMode::Ask;
    for (const auto& entry : entries) {
        asker.showKey(entry.key);
        bool write = !app::TitleExists(registry, entry.key) || mode == AnswerMode::UpdateAll;
        if (!write && mode == AnswerMode::Ask) {
            switch (static_cast<KeyExistsAnswer>(asker.ask())) {
            case KeyExistsAnswer::Yes:
                write = true;
                break;
            case KeyExistsAnswer::YesToAll:
                write = true;
                mode = AnswerMode::UpdateAll;
                break;
            case KeyExistsAnswer::NoToAll:
                mode = AnswerMode::SkipAll;
                break;
            case KeyExistsAnswer::Cancel:
                return;
            default: // no, or anything else: the entry stays
                break;
            }
        }
        if (write)
            app::TitleWrite(registry, entry.key, entry.value);
    }
}

} // namespace registry
