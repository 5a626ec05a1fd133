#include "dialogs/EditUser.h"
#include "DataModuleHarness.h"
#include "dialogs/UserGrid.h"
#include "engine/EngineError.h"
#include "widgets/DataSetListModel.h"

#include <QLineEdit>

namespace {

using namespace dialogtest;
using Users = std::vector<std::pair<std::string, std::string>>;

// The data module asks the open user list for its typed password, as the program's DialogUi does.
struct ListUi : data::DataModuleUi {
    dialogs::TfrmUser* list = nullptr;
    data::InfobaseDialogResult runInfobaseDialog(int) override { return {}; }
    data::ExecutableDialogResult runExecutableDialog(int) override { return {}; }
    bool askYesNo(const std::string&) override {
        ++questions;
        return false;
    }
    std::optional<std::string> editedUserPassword() override { return list ? list->editedPassword() : std::nullopt; }
    int questions = 0;
};

class UserListTest : public DataModuleFixture {
protected:
    dialogs::TfrmUser& open() {
        m_list = std::make_unique<dialogs::TfrmUser>(m_dm->dbfUser, m_harness.services());
        m_ui.list = m_list.get();
        m_dm->setUi(&m_ui);
        m_list->show();
        return *m_list;
    }
    ~UserListTest() override { m_dm->setUi(nullptr); }

    QLineEdit* edit(const char* name) const { return child<QLineEdit>(m_list.get(), name); }

    ListUi m_ui;
    std::unique_ptr<dialogs::TfrmUser> m_list;
};

TEST_F(UserListTest, ANewUserIsKeptOnCancelWithThePasswordScrambled) {
    auto& list = open();
    EXPECT_EQ(list.windowTitle(), QString::fromUtf8("Список пользователей"));
    click(&list, "nbInsert");
    typeText(edit("dbeUserName"), QString::fromUtf8("Иванов"));
    typeText(edit("dbePassword"), QString::fromUtf8("секрет"));
    EXPECT_EQ(pressCancel(list), QDialog::Rejected);
    EXPECT_EQ(storedUsers(), (Users{{"Иванов", app::ScramblePassword("секрет")}}));
    EXPECT_NE(app::ScramblePassword("секрет"), "секрет");
}

TEST_F(UserListTest, TypingIntoAnEmptyListStartsANewUser) {
    auto& list = open();
    typeText(edit("dbeUserName"), QStringLiteral("solo"));
    list.close(); // the close box
    EXPECT_EQ(storedUsers(), (Users{{"solo", ""}}));
}

TEST_F(UserListTest, ChangingOnlyTheNameKeepsTheStoredPassword) {
    addUser("Петров", "abc");
    auto& list = open();
    EXPECT_EQ(edit("dbePassword")->text().toStdString(), app::ScramblePassword("abc"));
    retype(edit("dbeUserName"), QString::fromUtf8("Сидоров"));
    pressOk(list);
    EXPECT_EQ(storedUsers(), (Users{{"Сидоров", app::ScramblePassword("abc")}}));
}

TEST_F(UserListTest, ATypedPasswordReplacesTheStoredOneNeverMixesWithIt) {
    addUser("Петров", "abc");
    auto& list = open();
    auto* password = edit("dbePassword");
    password->setFocus();
    password->end(false);
    typeText(password, QStringLiteral("xy"));
    pressOk(list);
    EXPECT_EQ(storedUsers(), (Users{{"Петров", app::ScramblePassword("xy")}}));
}

TEST_F(UserListTest, DeletingAUserAsksNothing) {
    addUser("a", "1");
    addUser("b", "2");
    auto& list = open();
    click(&list, "nbFirst");
    click(&list, "nbDelete");
    EXPECT_EQ(m_ui.questions, 0);
    EXPECT_TRUE(m_harness.shownDialogs.empty());
    EXPECT_EQ(storedUsers(), (Users{{"b", app::ScramblePassword("2")}}));
}

TEST_F(UserListTest, UsersAreListedByNameAndDoubleClickChoosesOne) {
    for (const char* name : {"Charlie", "alpha", "Bravo"})
        addUser(name, "pw");
    auto& list = open();
    auto* grid = list.grid();
    EXPECT_EQ(grid->model().text(0, 0), "alpha");
    EXPECT_EQ(grid->model().text(1, 0), "Bravo");
    EXPECT_EQ(grid->model().text(2, 0), "Charlie");
    const int panel = grid->sizeHint().height() / dialogs::UserGrid::kVisiblePanels;
    doubleClick(grid, QPoint(2, panel * 2 + panel / 2));
    EXPECT_EQ(list.result(), QDialog::Accepted);
    EXPECT_EQ(m_dm->dbfUser.fieldText("USERNAME"), "Charlie");
}

TEST_F(UserListTest, MovingToAnotherRowPostsWhatWasTyped) {
    addUser("a", "1");
    addUser("b", "2");
    auto& list = open();
    click(&list, "nbFirst");
    retype(edit("dbeUserName"), QStringLiteral("c"));
    click(&list, "nbNext");
    EXPECT_EQ(m_dm->dbfUser.state(), engine::DataSetState::Browse);
    EXPECT_EQ(storedUsers(), (Users{{"b", app::ScramblePassword("2")}, {"c", app::ScramblePassword("1")}}));
    pressCancel(list);
}

TEST_F(UserListTest, AFailedPostIsReportedWithTheButtonsAndDroppedSilentlyOnClose) {
    addUser("a", "1");
    auto& list = open();
    auto original = m_dm->dbfUser.beforePost;
    m_dm->dbfUser.beforePost = [](engine::DataSet&) { throw engine::EngineError("Record is locked"); };
    retype(edit("dbeUserName"), QStringLiteral("z"));
    click(&list, "nbPost");
    EXPECT_EQ(m_harness.errors, (std::vector<std::string>{"Record is locked"}));
    EXPECT_TRUE(list.isVisible());
    pressCancel(list);
    EXPECT_EQ(m_harness.errors.size(), 1u);
    EXPECT_EQ(m_dm->dbfUser.state(), engine::DataSetState::Browse);
    m_dm->dbfUser.beforePost = original;
    EXPECT_EQ(storedUsers(), (Users{{"a", app::ScramblePassword("1")}}));
}

TEST_F(UserListTest, TheRecordButtonsCarryTheirHints) {
    auto& list = open();
    const std::pair<const char*, const char*> hints[] = {
        {"nbFirst", " Первая запись"},       {"nbPrior", " Предыдущая запись"},  {"nbNext", " Следующая запись"},
        {"nbLast", " Последняя запись"},     {"nbInsert", " Вставить запись"},   {"nbDelete", " Удалить запись"},
        {"nbEdit", " Редактировать запись"}, {"nbPost", " Сохранить изменения"}, {"nbCancel", " Отменить изменения"},
        {"nbRefresh", " Освежить данные"}};
    for (const auto& [name, hint] : hints)
        EXPECT_EQ(child<QWidget>(&list, name)->toolTip(), QString::fromUtf8(hint)) << name;
    pressCancel(list);
}

} // namespace
