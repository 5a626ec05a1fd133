#include "registry/TitlesImport.h"

#include "CountingRegistry.h"
#include "TitlesBackends.h"
#include "registry/TitlesSync.h"
#include "support/TempDir.h"

#include <deque>
#include <gtest/gtest.h>

namespace {

using registry::KeyExistsAnswer;
using registry::TitlesFileEntry;
using registrytest::BackendKind;
using Planted = registrytest::TitlesBackend::Planted;

// Answers the key exists question from a script; records what it was shown and asked.
class ScriptedAsker : public registry::KeyExistsAsker {
public:
    explicit ScriptedAsker(std::deque<int> answers = {}) : m_answers(std::move(answers)) {}
    void showKey(const std::string& key) override { shown.push_back(key); }
    int ask() override {
        asked.push_back(shown.back());
        if (m_answers.empty())
            throw std::logic_error("unexpected question for " + shown.back());
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    std::vector<std::string> shown;
    std::vector<std::string> asked;

private:
    std::deque<int> m_answers;
};

constexpr int answer(KeyExistsAnswer a) {
    return static_cast<int>(a);
}

const std::vector<Planted> kThree = {
    {"C:\\1C\\Торговля\\", "Торговля и склад"}, {"D:\\Bases\\Зарплата", "Зарплата"}, {"E:\\Учёт", "Учёт"}};

class TitlesImportTest : public ::testing::TestWithParam<BackendKind> {
protected:
    void useTitles(const std::vector<Planted>& planted, bool titlesKey = true) {
        m_backend = registrytest::makeBackend(GetParam(), planted, titlesKey);
        m_counting = std::make_unique<registrytest::CountingRegistry>(m_backend->registry());
    }
    platform::Registry& reg() { return *m_counting; }
    // Exports the Titles list as the window shows it and reads the file back.
    std::vector<TitlesFileEntry> exportAndReload() {
        std::vector<std::string> lines;
        for (const auto& entry : registry::readTitles(reg()))
            lines.push_back(entry.line());
        registry::saveTitlesFile(m_dir.file("keys.txt"), lines);
        return registry::loadTitlesFile(m_dir.file("keys.txt"));
    }

    testsupport::TempDir m_dir;
    std::unique_ptr<registrytest::TitlesBackend> m_backend;
    std::unique_ptr<registrytest::CountingRegistry> m_counting;
};

TEST_P(TitlesImportTest, NewKeysAreWrittenWithoutAsking) {
    useTitles({});
    ScriptedAsker asker;
    registry::importTitles(reg(), {{"C:\\A\\", "Альфа"}, {"C:\\B\\", "Бета"}}, asker);
    EXPECT_EQ(asker.shown, (std::vector<std::string>{"C:\\A\\", "C:\\B\\"}));
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(m_backend->value("C:\\A\\"), "Альфа");
    EXPECT_EQ(m_backend->value("C:\\B\\"), "Бета");
}

TEST_P(TitlesImportTest, ExportThenImportWithSkipAllWritesNothing) {
    useTitles(kThree);
    ScriptedAsker asker({answer(KeyExistsAnswer::NoToAll)});
    registry::importTitles(reg(), exportAndReload(), asker);
    EXPECT_EQ(asker.asked.size(), 1u);
    EXPECT_TRUE(m_counting->written.empty());
}

TEST_P(TitlesImportTest, ExportThenImportWithUpdateAllRewritesEveryEntryWithTheSameData) {
    useTitles(kThree);
    const auto entries = exportAndReload();
    ScriptedAsker asker({answer(KeyExistsAnswer::YesToAll)});
    registry::importTitles(reg(), entries, asker);
    EXPECT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(m_counting->written.size(), 3u);
    for (const auto& planted : kThree)
        EXPECT_EQ(m_backend->value(planted.name), planted.data);
    EXPECT_EQ(m_backend->names().size(), 3u); // the final CR LF made no extra entry
}

TEST_P(TitlesImportTest, CancelAtTheThirdConflictKeepsWhatWasWritten) {
    useTitles({{"C:\\K1", "old 1"}, {"C:\\K2", "old 2"}, {"C:\\K3", "old 3"}});
    ScriptedAsker asker({answer(KeyExistsAnswer::Yes), answer(KeyExistsAnswer::No), answer(KeyExistsAnswer::Cancel)});
    registry::importTitles(reg(),
                           {{"C:\\N1", "new 1"},
                            {"c:\\k1", "new K1"},
                            {"C:\\N2", "new 2"},
                            {"C:\\K2", "new K2"},
                            {"C:\\K3", "new K3"},
                            {"C:\\N3", "new 3"}},
                           asker);
    EXPECT_EQ(asker.asked, (std::vector<std::string>{"c:\\k1", "C:\\K2", "C:\\K3"}));
    EXPECT_EQ(m_backend->value("C:\\N1"), "new 1");
    EXPECT_EQ(m_backend->value("C:\\K1"), "new K1");
    EXPECT_EQ(m_backend->value("C:\\N2"), "new 2");
    EXPECT_EQ(m_backend->value("C:\\K2"), "old 2");
    EXPECT_EQ(m_backend->value("C:\\K3"), "old 3");
    EXPECT_EQ(m_backend->value("C:\\N3"), std::nullopt);
}

TEST_P(TitlesImportTest, ARepeatedKeyIsAskedAboutAndGetsTheFirstLinesValue) {
    useTitles({});
    testsupport::writeFile(m_dir.file("keys.txt"), "C:\\X=first\r\nc:\\x=second\r\n");
    ScriptedAsker asker({answer(KeyExistsAnswer::Yes)});
    registry::importTitles(reg(), registry::loadTitlesFile(m_dir.file("keys.txt")), asker);
    EXPECT_EQ(asker.asked, std::vector<std::string>{"c:\\x"});
    EXPECT_EQ(m_counting->written.size(), 2u);
    EXPECT_EQ(m_backend->names().size(), 1u);
    EXPECT_EQ(m_backend->value("C:\\X"), "first");
}

TEST_P(TitlesImportTest, LongKeysAndValuesAreWrittenCutTo255Characters) {
    useTitles({});
    std::string longValue;
    for (int i = 0; i < 300; ++i)
        longValue += "ж";
    testsupport::writeFile(m_dir.file("keys.txt"), std::string(300, 'K') + "=" + std::string(300, '\xE6') + "\r\n");
    ScriptedAsker asker;
    registry::importTitles(reg(), registry::loadTitlesFile(m_dir.file("keys.txt")), asker);
    EXPECT_EQ(m_backend->names(), std::vector<std::string>{std::string(255, 'K')});
    EXPECT_EQ(m_backend->value(std::string(255, 'K')), longValue.substr(0, 255 * 2));
}

TEST_P(TitlesImportTest, AnswersOtherThanTheFiveLeaveTheEntry) {
    useTitles({{"C:\\K", "old"}});
    ScriptedAsker asker({0, answer(KeyExistsAnswer::No)});
    registry::importTitles(reg(), {{"C:\\K", "a"}, {"C:\\K", "b"}}, asker);
    EXPECT_EQ(asker.asked.size(), 2u); // the mode is still "ask"
    EXPECT_TRUE(m_counting->written.empty());
}

TEST_P(TitlesImportTest, WithoutTheTitlesKeyNothingIsWrittenOrAsked) {
    useTitles({}, false);
    ScriptedAsker asker;
    registry::importTitles(reg(), {{"C:\\A", "A"}}, asker);
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_FALSE(m_backend->titlesKeyExists());
}

INSTANTIATE_TEST_SUITE_P(Backends, TitlesImportTest, ::testing::Values(BackendKind::Memory, BackendKind::Wine),
                         registrytest::backendParamName);

} // namespace
