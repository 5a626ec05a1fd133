#include "widgets/DataSetListModel.h"
#include "engine/DataSet.h"
#include "engine/Engine.h"
#include "engine/EngineError.h"
#include "support/TempDir.h"

#include <QListView>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// A user-like table with a name tag, opened shared by two data sets.
class DataSetListModelTest : public ::testing::Test {
protected:
    DataSetListModelTest() : m_engine(m_dir.path().string() + "/") {
        m_engine.createTable("user", {{"USERNAME", engine::FieldType::Character, 24, 0},
                                      {"PASSWORD", engine::FieldType::Character, 10, 0}});
        engine::DataSet setup(m_engine, "user");
        setup.open({.exclusive = true, .withIndex = false});
        setup.createIndex({{"USERNAME", "UPPER(USERNAME)"}});
        setup.close();
        m_users.open();
        m_users.selectTag("USERNAME");
        m_other.open();
        for (const char* name : {"Петров", "анна", "Борис"})
            add(m_other, name);
        m_users.refresh();
        m_users.first();
    }

    static void add(engine::DataSet& set, const char* name) {
        set.insert();
        set.setFieldText("USERNAME", name);
        set.setFieldText("PASSWORD", "p");
        set.post();
    }
    static std::vector<std::string> names(const widgets::DataSetListModel& model) {
        std::vector<std::string> all;
        for (int row = 0; row < model.rowCount(); ++row)
            all.push_back(model.text(row, 0));
        return all;
    }

    testsupport::TempDir m_dir;
    engine::Engine m_engine;
    engine::DataSet m_users{m_engine, "user"};
    engine::DataSet m_other{m_engine, "user"};
};

using Names = std::vector<std::string>;

TEST_F(DataSetListModelTest, ShowsTheRowsInTheDataSetsOrderWithTheGivenFields) {
    widgets::DataSetListModel model(m_users, {"USERNAME", "PASSWORD"});
    EXPECT_EQ(names(model), (Names{"анна", "Борис", "Петров"}));
    EXPECT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), QStringLiteral("p"));
    EXPECT_EQ(model.currentRow(), 0);
}

TEST_F(DataSetListModelTest, AClosedDataSetShowsNoRows) {
    engine::DataSet closed(m_engine, "user");
    widgets::DataSetListModel model(closed, {"USERNAME"});
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.currentRow(), -1);
    model.reload();
    EXPECT_FALSE(model.setCurrentRow(0));
}

TEST_F(DataSetListModelTest, TheViewsSelectionAndTheDataSetFollowEachOther) {
    widgets::DataSetListModel model(m_users, {"USERNAME"});
    QListView view;
    model.attachView(&view);
    view.setCurrentIndex(model.index(2, 0));
    EXPECT_EQ(m_users.fieldText("USERNAME"), "Петров");

    // Moved elsewhere (a locate), the view follows at the next reload.
    ASSERT_TRUE(m_users.locate("USERNAME", "БОРИС", true));
    model.reload();
    EXPECT_EQ(view.currentIndex().row(), 1);
    EXPECT_TRUE(view.selectionModel()->isRowSelected(1, {}));
    EXPECT_EQ(m_users.fieldText("USERNAME"), "Борис");
}

TEST_F(DataSetListModelTest, ReloadShowsRowsPostedElsewhereAndKeepsTheCurrentRow) {
    widgets::DataSetListModel model(m_users, {"USERNAME"});
    ASSERT_TRUE(model.setCurrentRow(1)); // Борис
    QSignalSpy moved(&model, &widgets::DataSetListModel::currentRowChanged);
    add(m_other, "Алла");
    m_users.refresh();
    model.reload();
    EXPECT_EQ(names(model), (Names{"Алла", "анна", "Борис", "Петров"}));
    EXPECT_EQ(model.currentRow(), 2);
    EXPECT_EQ(m_users.fieldText("USERNAME"), "Борис");
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(0).toInt(), 2);
}

TEST_F(DataSetListModelTest, APendingRowIsShownWhereTheCurrentRowWasThenInItsPlace) {
    widgets::DataSetListModel model(m_users, {"USERNAME"});
    model.setCurrentRow(1);
    m_users.insert();
    model.reload();
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.currentRow(), 1);
    m_users.setFieldText("USERNAME", "Яков");
    EXPECT_EQ(model.text(1, 0), "Яков"); // the pending values, live
    m_users.post();
    model.reload();
    EXPECT_EQ(names(model), (Names{"анна", "Борис", "Петров", "Яков"}));
    EXPECT_EQ(model.currentRow(), 3);
}

TEST_F(DataSetListModelTest, MovingOffAChangedRowEndsTheChangeFirst) {
    widgets::DataSetListModel model(m_users, {"USERNAME"});
    m_users.edit();
    m_users.setFieldText("USERNAME", "Вера"); // анна becomes Вера
    ASSERT_TRUE(model.setCurrentRow(2));      // Петров
    EXPECT_EQ(m_users.state(), engine::DataSetState::Browse);
    EXPECT_EQ(names(model), (Names{"Борис", "Вера", "Петров"}));
    EXPECT_EQ(model.currentRow(), 2);
}

TEST_F(DataSetListModelTest, AFailingEndOfTheChangeKeepsTheRowAndAnnouncesTheError) {
    widgets::DataSetListModel model(m_users, {"USERNAME"});
    QListView view;
    model.attachView(&view);
    model.setLeaveEditing([](engine::DataSet&) { throw engine::EngineError("Record is locked"); });
    QSignalSpy errors(&model, &widgets::DataSetListModel::errorOccurred);
    m_users.edit();
    view.setCurrentIndex(model.index(2, 0));
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors.at(0).at(0).toString(), QStringLiteral("Record is locked"));
    EXPECT_EQ(m_users.state(), engine::DataSetState::Edit);
    EXPECT_EQ(view.currentIndex().row(), 0);
    m_users.cancel();
}

} // namespace
