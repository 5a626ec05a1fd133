#include "registry/TitlesSync.h"

#include "CaseNames.h"
#include "FakeFolderStore.h"
#include "TitlesBackends.h"
#include "engine/EngineError.h"

#include <gtest/gtest.h>

namespace {

using registry::TitleEntry;
using registrytest::BackendKind;
using registrytest::FakeFolderStore;
using Row = FakeFolderStore::Row;

class TitlesSyncTest : public ::testing::TestWithParam<BackendKind> {
protected:
    std::unique_ptr<registrytest::TitlesBackend>
    backend(const std::vector<registrytest::TitlesBackend::Planted>& planted, bool titlesKey = true) {
        return registrytest::makeBackend(GetParam(), planted, titlesKey);
    }
};

TEST_P(TitlesSyncTest, ReadsEveryEntrySortedByWholeLines) {
    auto reg = backend({{"D:\\Склад\\", "Склад"}, {"c:\\1c\\trade\\", "Торговля"}, {"C:\\1C\\Бух\\", "Бухгалтерия"}});
    EXPECT_EQ(registry::readTitles(reg->registry()),
              (std::vector<TitleEntry>{
                  {"c:\\1c\\trade\\", "Торговля"}, {"C:\\1C\\Бух\\", "Бухгалтерия"}, {"D:\\Склад\\", "Склад"}}));
}

TEST_P(TitlesSyncTest, WithoutTheTitlesKeyThereAreNoEntries) {
    EXPECT_TRUE(registry::readTitles(backend({}, false)->registry()).empty());
    EXPECT_TRUE(registry::readTitles(backend({})->registry()).empty());
}

TEST_P(TitlesSyncTest, AValueThatIsNotAStringStopsTheReading) {
    auto reg = backend({{"C:\\A\\", "A"}, {"Count", "", false}});
    try {
        registry::readTitles(reg->registry());
        FAIL() << "no error";
    } catch (const platform::RegistryError& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for 'Count'");
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, TitlesSyncTest, ::testing::Values(BackendKind::Memory, BackendKind::Wine),
                         registrytest::backendParamName);

struct AccountCase {
    const char* what;
    std::string titlesDirectory;
    bool unaccounted;
};

void PrintTo(const AccountCase& c, std::ostream* os) {
    *os << c.what;
}

class Accounting : public ::testing::TestWithParam<AccountCase> {};

// Table folder as stored (PATH as typed by the user).
const std::vector<Row> kStored = {
    {"C:\\1C\\TRADE\\", "Торговля"}, {"C:\\Bases\\Stock", "Склад"}, {"C:\\Базы\\Зарплата\\", "Зарплата"}};

TEST_P(Accounting, ListsOnlyDirectoriesTheTableDoesNotHold) {
    FakeFolderStore store;
    store.rows = kStored;
    const TitleEntry entry{GetParam().titlesDirectory, "Название"};
    const auto lines = registry::unaccountedLines({entry}, store);
    EXPECT_EQ(lines, GetParam().unaccounted ? std::vector<std::string>{entry.line()} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Cases, Accounting,
                         ::testing::Values(AccountCase{"same", "C:\\1C\\TRADE\\", false},
                                           AccountCase{"other case of a-z", "c:\\1c\\Trade\\", false},
                                           AccountCase{"other case of Cyrillic letters", "c:\\БАЗЫ\\зарплата\\", false},
                                           AccountCase{"leading part of a stored path", "C:\\1C\\", false},
                                           AccountCase{"trailing backslash the stored path lacks", "C:\\Bases\\Stock\\",
                                                       true},
                                           AccountCase{"slash for backslash", "C:/1C/TRADE/", true},
                                           AccountCase{"not stored", "D:\\New\\", true},
                                           AccountCase{"longer than a stored path", "C:\\1C\\TRADE\\2024\\", true}),
                         registrytest::caseName<::testing::TestParamInfo<AccountCase>>);

TEST(TitlesSync, SeeksTheUpperCasedDirectoryOfEachEntryAfterOneRefresh) {
    FakeFolderStore store;
    registry::unaccountedLines({{"c:\\база=x\\", "T"}, {"d:\\ёлка\\", "E"}}, store);
    EXPECT_EQ(store.prepared, 1);
    // The directory ends at the first "=", also when the value name holds one.
    EXPECT_EQ(store.sought, (std::vector<std::string>{"C:\\БАЗА", "D:\\ЁЛКА\\"}));
}

TEST(TitlesSync, AnEqualsSignInsideADirectoryMovesTheRestIntoTheTitle) {
    FakeFolderStore store;
    const auto lines = registry::unaccountedLines({{"C:\\A=B\\", "Тест"}}, store);
    ASSERT_EQ(lines, std::vector<std::string>{"C:\\A=B\\=Тест"});
    EXPECT_TRUE(registry::importLine(store, lines[0]));
    EXPECT_EQ(store.rows, (std::vector<Row>{{"C:\\A", "B\\=Тест"}}));
}

TEST(TitlesSync, AFailingPostIsCancelledAndDropped) {
    FakeFolderStore store;
    store.failingNames = {"Плохая"};
    EXPECT_FALSE(registry::importLine(store, "C:\\Bad\\=Плохая"));
    EXPECT_TRUE(registry::importLine(store, "C:\\Good\\=Хорошая"));
    EXPECT_EQ(store.rows, (std::vector<Row>{{"C:\\Good\\", "Хорошая"}}));
    EXPECT_EQ(store.cancelled, 1);
    EXPECT_FALSE(store.pending);
}

TEST(TitlesSync, AFailureBeforeThePostReachesTheCaller) {
    FakeFolderStore store;
    store.failInsert = true;
    EXPECT_THROW(registry::importLine(store, "C:\\A\\=A"), engine::EngineError);
    EXPECT_TRUE(store.rows.empty());
}

} // namespace
