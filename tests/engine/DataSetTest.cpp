#include "engine/DataSet.h"
#include "EngineTestUtil.h"
#include "engine/EngineError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using engine::DataSet;
using engine::DataSetState;
using engine::Engine;
using engine::EngineError;
using enginetest::addFolder;
using enginetest::column;

namespace {

using Names = std::vector<std::string>;

class DataSets : public enginetest::EngineInTempDir<> {
protected:
    void SetUp() override { engine.createTable("folder", enginetest::folderFields()); }
};

TEST_F(DataSets, InsertReachesTheFileOnlyAtPostAndCancelLeavesNothing) {
    DataSet a(engine, "folder");
    DataSet b(engine, "FOLDER");
    a.open();
    b.open();
    EXPECT_TRUE(a.isEmpty());
    EXPECT_TRUE(a.eof() && a.bof());
    a.insert();
    EXPECT_EQ(a.state(), DataSetState::Insert);
    a.setFieldText("NAME", "Склад");
    b.refresh();
    EXPECT_TRUE(b.isEmpty());
    a.cancel();
    EXPECT_EQ(a.state(), DataSetState::Browse);
    EXPECT_TRUE(a.isEmpty());
    EXPECT_EQ(a.recno(), 0u);

    addFolder(a, "Склад", "C:\\1C\\SKLAD\\");
    EXPECT_EQ(a.recno(), 1u);
    EXPECT_EQ(a.fieldText("NAME"), "Склад");
    b.refresh();
    EXPECT_EQ(column(b, "NAME"), Names{"Склад"});
}

TEST_F(DataSets, HandlersRunAtInsertAndBeforePost) {
    DataSet ds(engine, "folder");
    ds.open();
    int posts = 0;
    ds.onNewRecord = [](DataSet& d) {
        d.setFieldInt("CATEGORY", 7);
        d.setFieldText("NAME", "new");
    };
    ds.beforePost = [&](DataSet& d) {
        ++posts;
        d.setFieldText("USERNAME", "set before post");
    };
    ds.insert();
    EXPECT_EQ(ds.fieldInt("CATEGORY"), 7);
    EXPECT_EQ(ds.fieldText("NAME"), "new");
    ds.post();
    EXPECT_EQ(posts, 1);
    ds.close();
    ds.open();
    EXPECT_EQ(ds.fieldInt("CATEGORY"), 7);
    EXPECT_EQ(ds.fieldInt("DIVISION"), 0);
    EXPECT_EQ(ds.fieldText("USERNAME"), "set before post");

    // A handler that fails leaves the row unposted and the data set editing.
    ds.beforePost = [](DataSet&) { throw EngineError("refused"); };
    ds.edit();
    ds.setFieldText("NAME", "changed");
    EXPECT_THROW(ds.post(), EngineError);
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    ds.cancel();
    ds.refresh();
    EXPECT_EQ(ds.fieldText("NAME"), "new");
}

TEST_F(DataSets, EditNeedsACurrentRowAndFieldsNeedEditing) {
    DataSet ds(engine, "folder");
    ds.open();
    EXPECT_THROW(ds.edit(), EngineError);
    EXPECT_THROW(ds.setFieldText("NAME", "x"), EngineError);
    EXPECT_THROW(ds.remove(), EngineError);
    EXPECT_EQ(ds.fieldText("NAME"), "");
    EXPECT_EQ(ds.fieldInt("CATEGORY"), 0);
    addFolder(ds, "one", "p1", 3);
    EXPECT_THROW(ds.setFieldText("NAME", "x"), EngineError); // browsing
    ds.edit();
    ds.clearField("CATEGORY");
    ds.post();
    ds.close();
    ds.open();
    EXPECT_EQ(ds.fieldText("CATEGORY"), "");
    EXPECT_EQ(ds.fieldInt("CATEGORY"), 0);
}

TEST_F(DataSets, DeletedRowsAreInvisibleAndTheNextRowBecomesCurrent) {
    DataSet ds(engine, "folder");
    ds.open();
    for (const char* n : {"a", "b", "c", "d"})
        addFolder(ds, n, n);
    DataSet other(engine, "folder");
    other.open();
    ASSERT_TRUE(ds.gotoRecord(2));
    ds.remove();
    EXPECT_EQ(ds.fieldText("NAME"), "c");
    ds.last();
    ds.remove();
    EXPECT_EQ(ds.fieldText("NAME"), "c"); // no next row: the prior one
    EXPECT_FALSE(ds.gotoRecord(2));
    other.refresh();
    EXPECT_EQ(column(other, "NAME"), (Names{"a", "c"}));
    ds.close();
    // Deleted rows stay in the file, marked.
    std::string b = testsupport::readFile(dir.path() / "folder.dbf");
    std::size_t header = 32 + 8 * 32 + 1, length = 1 + 40 + 240 + 24 + 10 + 240 + 240 + 6 + 6;
    EXPECT_EQ(b.size(), header + 4 * length + 1);
    EXPECT_EQ(b[header + length], '*');
    EXPECT_EQ(b[header + 3 * length], '*');
    EXPECT_EQ(b[header], ' ');
}

TEST_F(DataSets, NavigationFlagsFollowTheRowsInRecordOrder) {
    DataSet ds(engine, "folder");
    ds.open();
    for (const char* n : {"a", "b", "c"})
        addFolder(ds, n, n);
    ds.first();
    EXPECT_TRUE(ds.bof());
    EXPECT_FALSE(ds.eof());
    ds.prior();
    EXPECT_TRUE(ds.bof());
    EXPECT_EQ(ds.fieldText("NAME"), "a");
    ds.next();
    ds.next();
    EXPECT_EQ(ds.fieldText("NAME"), "c");
    EXPECT_FALSE(ds.eof());
    ds.next();
    EXPECT_TRUE(ds.eof());
    EXPECT_EQ(ds.fieldText("NAME"), "c");
    ds.last();
    EXPECT_EQ(ds.recno(), 3u);
    Names backwards;
    for (ds.last(); !ds.bof(); ds.prior())
        backwards.push_back(ds.fieldText("NAME"));
    EXPECT_EQ(backwards, (Names{"c", "b", "a"}));
}

TEST_F(DataSets, EditsOfOtherFieldsByTwoDataSetsBothSurvive) {
    DataSet a(engine, "folder"), b(engine, "folder");
    a.open();
    addFolder(a, "base", "p");
    b.open();
    a.edit();
    b.edit();
    a.setFieldText("NAME", "renamed");
    b.setFieldText("USERNAME", "admin");
    a.post();
    b.post();
    EXPECT_EQ(b.fieldText("NAME"), "renamed");
    a.refresh();
    EXPECT_EQ(a.fieldText("USERNAME"), "admin");

    // A row another data set deleted cannot be posted over.
    a.edit();
    a.setFieldText("NAME", "late");
    b.remove();
    EXPECT_THROW(a.post(), EngineError);
    a.cancel();
    a.refresh();
    EXPECT_TRUE(a.isEmpty());
}

TEST_F(DataSets, NavigationPostsAPendingChange) {
    DataSet ds(engine, "folder");
    ds.open();
    addFolder(ds, "a", "p");
    ds.insert();
    ds.setFieldText("NAME", "b");
    ds.first();
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(column(ds, "NAME"), (Names{"a", "b"}));
}

TEST_F(DataSets, LocateMatchesTheWholeTrimmedFieldThroughTheFilter) {
    DataSet ds(engine, "folder");
    ds.open();
    addFolder(ds, "Торговля", "C:\\Bases\\Trade\\", 1);
    addFolder(ds, "Зарплата", "C:\\Bases\\Trade\\Old\\", 2);
    addFolder(ds, "Склад", "c:\\bases\\trade\\", 3);
    struct Case {
        const char* field;
        const char* value;
        bool caseInsensitive;
        std::uint32_t recno; // 0: not found
    } cases[] = {
        {"PATH", "C:\\Bases\\Trade\\", false, 1},
        {"PATH", "c:\\BASES\\trade\\", true, 1},
        {"PATH", "c:\\bases\\trade\\", false, 3},
        {"PATH", "C:\\Bases\\", true, 0},
        {"NAME", "СКЛАД", true, 3},
        {"NAME", "СКЛАД", false, 0},
        {"NAME", "Склад   ", false, 3},
        {"CATEGORY", "2", false, 2},
        {"CATEGORY", "9", false, 0},
        {"NAME", "日本", true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + "=" + c.value);
        ds.first();
        EXPECT_EQ(ds.locate(c.field, c.value, c.caseInsensitive), c.recno != 0);
        EXPECT_EQ(ds.recno(), c.recno ? c.recno : 1u); // a failed locate stays put
    }
    ds.setFilter("CATEGORY>1");
    ds.setFiltered(true);
    EXPECT_FALSE(ds.locate("PATH", "C:\\Bases\\Trade\\", false));
    EXPECT_TRUE(ds.locate("PATH", "C:\\Bases\\Trade\\", true));
    EXPECT_EQ(ds.recno(), 3u);
}

TEST_F(DataSets, FilterHidesRowsUntilSwitchedOff) {
    DataSet ds(engine, "folder");
    ds.open();
    addFolder(ds, "none", "p0");
    addFolder(ds, "cat4", "p1", 4);
    addFolder(ds, "both", "p2", 4, 12);
    addFolder(ds, "div12", "p3", 0, 12);
    ds.setFilter("CATEGORY=4 .AND. DIVISION=12 .AND. CATEGORY>0 .AND. DIVISION>0");
    EXPECT_EQ(column(ds, "NAME").size(), 4u); // set, not yet on
    ds.setFiltered(true);
    EXPECT_EQ(column(ds, "NAME"), Names{"both"});
    ds.setFilter("CATEGORY=0 .OR. DIVISION=0");
    EXPECT_EQ(column(ds, "NAME"), (Names{"none", "cat4", "div12"}));
    EXPECT_FALSE(ds.gotoRecord(3));
    try {
        ds.setFilter("CATEGORY=");
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), "Could not parse filter expression: CATEGORY=");
    }
    EXPECT_EQ(ds.filter(), "CATEGORY=0 .OR. DIVISION=0"); // the old filter stays
    ds.setFilter("");
    EXPECT_EQ(column(ds, "NAME").size(), 4u);
    ds.setFilter("CATEGORY=99");
    EXPECT_TRUE(ds.isEmpty());
    ds.setFiltered(false);
    EXPECT_EQ(column(ds, "NAME").size(), 4u);
}

TEST_F(DataSets, FilterSetBeforeOpenIsParsedAtOpen) {
    DataSet ds(engine, "folder");
    ds.setFilter("NOSUCH=1");
    EXPECT_THROW(ds.open(), EngineError);
    EXPECT_FALSE(ds.isOpen());
    ds.setFilter("CATEGORY=1");
    ds.setFiltered(true);
    ds.open();
    EXPECT_TRUE(ds.isEmpty());
}

TEST_F(DataSets, OneOpenFilePerTableAndExclusiveUseIsExclusive) {
    DataSet a(engine, "folder"), b(engine, "Folder");
    a.open({.exclusive = true});
    EXPECT_THROW(b.open(), EngineError);
    a.close();
    b.open();
    EXPECT_THROW(a.open({.exclusive = true}), EngineError);
    DataSet missing(engine, "nothing");
    EXPECT_THROW(missing.open(), EngineError);
}

TEST_F(DataSets, TwoEnginesOnOneDirectoryLockEachOtherOutOfExclusiveUse) {
    Engine second(dir.path().string());
    second.setLockRetry(2, std::chrono::milliseconds(1));
    engine.setLockRetry(2, std::chrono::milliseconds(1));
    DataSet a(engine, "folder"), b(second, "folder");
    a.open();
    EXPECT_THROW(b.open({.exclusive = true}), EngineError);
    b.open();
    addFolder(a, "from a", "p");
    b.refresh();
    EXPECT_EQ(column(b, "NAME"), Names{"from a"});
    a.close();
    b.close();
    b.open({.exclusive = true});
    EXPECT_THROW(a.open(), EngineError);
}

} // namespace
