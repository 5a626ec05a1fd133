#include "data/DataModuleFixture.h"

#include "engine/EngineError.h"
#include "engine/TableLocks.h"

#include <algorithm>
#include <chrono>
#include <functional>

namespace {

using platform::RegistryRoot;
using testsupport::DataModuleTest;
using Names = std::vector<std::string>;

const std::string kTitles = R"(Software\1C\1Cv7\7.7\Titles)";

// Another program holds every record and header lock of a table, as a whole-file lock does.
std::unique_ptr<engine::File> lockWholeTable(const std::filesystem::path& table) {
    auto file = engine::PosixFile::open(table.string(), false);
    EXPECT_TRUE(file->tryLock(engine::locks::kFileLockStart, engine::locks::kFileLockLength, true));
    return file;
}

// A command whose storing fails reports nothing, cancels its change and leaves the list showing
// what is stored.
TEST_F(DataModuleTest, FailedPostsAreCancelledSilently) {
    m_registry.plantKey(RegistryRoot::CurrentUser, kTitles);
    addInfobase(infobase("Старая", R"(C:\Old)"));
    m_ui.executableAnswers.push_back({"1С", R"(C:\1cv7.exe)"});
    m_dm->AddExecutable();
    m_dm->engine().setLockRetry(1, std::chrono::milliseconds(0));
    const auto folderLock = lockWholeTable(file("folder.dbf"));
    const auto programLock = lockWholeTable(file("program.dbf"));

    const std::pair<const char*, std::function<void()>> commands[] = {
        {"add infobase", [&] { addInfobase(infobase("Новая", R"(C:\New)")); }},
        {"edit infobase",
         [&] {
             m_ui.infobaseAnswers.push_back(infobase("Другая", R"(C:\Other)"));
             m_dm->EditInfobase();
         }},
        {"delete infobase",
         [&] {
             m_ui.yesNoAnswers.push_back(true);
             m_dm->DeleteInfobase();
         }},
        {"assign", [&] { m_dm->AssignClassification(3, 4); }},
        {"clear", [&] { m_dm->ClearClassification(3); }},
        {"add executable",
         [&] {
             m_ui.executableAnswers.push_back({"2", R"(C:\2.exe)"});
             m_dm->AddExecutable();
         }},
        {"edit executable",
         [&] {
             m_ui.executableAnswers.push_back({"3", R"(C:\3.exe)"});
             m_dm->EditExecutable();
         }},
        {"delete executable",
         [&] {
             m_ui.yesNoAnswers.push_back(true);
             m_dm->DeleteExecutable();
         }},
    };
    for (const auto& [what, command] : commands) {
        EXPECT_NO_THROW(command()) << what;
        EXPECT_EQ(m_dm->dbfFolder.state(), engine::DataSetState::Browse) << what;
        EXPECT_EQ(m_dm->dbfProgram.state(), engine::DataSetState::Browse) << what;
        EXPECT_EQ(column(m_dm->dbfFolder, "NAME"), Names{"Старая"}) << what;
        EXPECT_EQ(m_dm->dbfFolder.fieldInt("CATEGORY"), 0) << what;
        EXPECT_EQ(column(m_dm->dbfProgram, "PATH"), Names{R"(C:\1cv7.exe)"}) << what;
    }
    // The Titles values were written before the rows failed to store, and stay.
    EXPECT_TRUE(m_registry.stringValue(RegistryRoot::CurrentUser, kTitles, R"(C:\New)").has_value());
    EXPECT_TRUE(m_registry.stringValue(RegistryRoot::CurrentUser, kTitles, R"(C:\Other)").has_value());
}

// A write that fails half-way may leave part of the change on disk: the list then shows that.
TEST_F(DataModuleTest, AfterATornWriteTheListShowsWhatIsStored) {
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"edit",
         [&] {
             m_ui.infobaseAnswers.push_back(infobase("Другая", R"(C:\Other)"));
             m_dm->EditInfobase();
         }},
        {"clear", [&] { m_dm->ClearClassification(3); }},
        {"delete",
         [&] {
             m_ui.yesNoAnswers.push_back(true);
             m_dm->DeleteInfobase();
         }},
    };
    for (const auto& [what, command] : commands) {
        app::CurrentCategoryId = 1;
        addInfobase(infobase("Старая", R"(C:\Old)"));
        failNextWrite();
        EXPECT_NO_THROW(command()) << what;
        const Names shown = column(m_dm->dbfFolder, "NAME");
        restart();
        EXPECT_EQ(column(m_dm->dbfFolder, "NAME"), shown) << what;
        while (!m_dm->dbfFolder.isEmpty()) {
            m_ui.yesNoAnswers.push_back(true);
            m_dm->DeleteInfobase();
        }
    }
}

// A row stored through the look-up data set whose index update failed (as an import's does): the
// index stays known to be stale, and the lists' next reload rebuilds it when no other program has
// the table, so the row shows in the list; with another program on the table it waits.
TEST_F(DataModuleTest, AStaleIndexIsRebuiltWhenTheTableIsFree) {
    addInfobase(infobase("Альфа", R"(C:\A)"));
    m_dm->dbfSearch.insert();
    m_dm->dbfSearch.setFieldText("NAME", "Импорт");
    m_dm->dbfSearch.setFieldText("PATH", R"(C:\I)");
    m_faults->onlyWrites = true;
    m_faults->sticky = false;
    m_faults->failAt = m_faults->operations + 4; // the marker and the row are written, a key is not
    EXPECT_THROW(m_dm->dbfSearch.post(), engine::EngineError);
    m_dm->dbfSearch.cancel();
    m_faults->failAt = 0;
    ASSERT_TRUE(m_dm->dbfFolder.indexStale());

    engine::Engine other(m_dir.path().string());
    {
        engine::DataSet elsewhere(other, "folder");
        elsewhere.open({.withIndex = false});
        m_dm->RepairStaleIndexes();
        EXPECT_TRUE(m_dm->dbfFolder.indexStale()) << "rebuilt under another program's feet";
    }
    m_dm->RepairStaleIndexes();
    EXPECT_FALSE(m_dm->dbfFolder.indexStale());
    m_dm->dbfFolder.refresh();
    EXPECT_EQ(column(m_dm->dbfFolder, "NAME"), (Names{"Альфа", "Импорт"})) << "the row stored shows in the list";
}

TEST_F(DataModuleTest, RegisterExplorerInfobaseAnswersFalseWhenTheRowIsNotStored) {
    m_ui.infobaseAnswers.push_back(infobase("Новая ИБ 1", R"(C:\New\)"));
    m_dm->engine().setLockRetry(1, std::chrono::milliseconds(0));
    const auto lock = lockWholeTable(file("folder.dbf"));
    EXPECT_FALSE(m_dm->RegisterExplorerInfobase());
    EXPECT_TRUE(m_dm->dbfFolder.isEmpty());
}

// The Nth write of adding an infobase fails, for N = 1, 2, ... until none does: each time nothing
// is shown, the list shows what is stored, and the next start finds the old rows or the new ones
// with an index that agrees with them.
TEST_F(DataModuleTest, AddInfobaseFaultLoop) {
    addInfobase(infobase("База 0", R"(C:\B0)"));
    Names expected{"База 0"};
    for (int n = 1; n < 100; ++n) {
        const std::string name = "База " + std::to_string(n);
        m_faults->onlyWrites = true;
        m_faults->sticky = false;
        m_faults->failAt = m_faults->operations + static_cast<std::uint64_t>(n);
        ASSERT_NO_THROW(addInfobase(infobase(name, R"(C:\B)" + std::to_string(n)))) << n;
        const bool failed = m_faults->operations >= m_faults->failAt;
        const Names shown = column(m_dm->dbfFolder, "NAME");
        restart();
        const Names stored = column(m_dm->dbfFolder, "NAME");
        EXPECT_EQ(shown, stored) << n;
        EXPECT_EQ(m_dm->dbfFolder.checkIndex(), "") << n;
        Names withNew = expected;
        withNew.push_back(name);
        std::sort(withNew.begin(), withNew.end());
        EXPECT_TRUE(stored == expected || stored == withNew) << n;
        expected = stored;
        if (!failed) {
            EXPECT_EQ(stored, withNew);
            return;
        }
    }
    FAIL() << "adding never got through";
}

} // namespace
