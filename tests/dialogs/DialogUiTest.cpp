#include "dialogs/DialogUi.h"
#include "DataModuleHarness.h"
#include "dialogs/EditUser.h"
#include "dialogs/UserGrid.h"

#include <QLineEdit>
#include <QMessageBox>

namespace {

using namespace dialogtest;

class DialogUiTest : public DataModuleFixture {
protected:
    DialogUiTest() : m_ui(*m_dm, m_harness.services()) { m_dm->setUi(&m_ui); }
    ~DialogUiTest() override { m_dm->setUi(nullptr); }

    void addInfobase(const std::string& name, const std::string& path, const std::string& password) {
        m_harness.then([=](QDialog& d) {
            retype(child<QLineEdit>(&d, "edtName"), QString::fromStdString(name));
            retype(child<QLineEdit>(&d, "edtPath"), QString::fromStdString(path));
            retype(child<QLineEdit>(&d, "edtPassword"), QString::fromStdString(password));
            return pressOk(d);
        });
        m_dm->AddInfobase();
    }

    dialogs::DialogUi m_ui;
};

TEST_F(DialogUiTest, AnInfobaseEnteredInTheDialogIsStoredWithItsPasswordScrambled) {
    addInfobase("Торговля", "D:\\Trade\\", "тайна");
    ASSERT_FALSE(m_dm->dbfFolder.isEmpty());
    EXPECT_EQ(m_dm->InfobaseName(), "Торговля");
    EXPECT_EQ(m_dm->dbfFolder.fieldText("PASSWORD"), app::ScramblePassword("тайна"));
    EXPECT_EQ(m_harness.shownDialogs, (std::vector<QString>{QStringLiteral("frmEditFolder")}));
}

TEST_F(DialogUiTest, EditingShowsThePlainPasswordAndTheClassificationFromTheBars) {
    app::CurrentCategoryId = 5;
    addInfobase("Склад", "D:\\Stock\\", "pw");
    m_ui.setBars(
        [] {
            return widgets::SectionBarData{{{"Филиалы", {{"Север", 5}}}}};
        },
        [] { return widgets::SectionBarData{}; });
    std::string password, category;
    m_harness.then([&](QDialog& d) {
        password = text(&d, "edtPassword");
        category = text(&d, "stxCategory");
        return pressOk(d);
    });
    m_dm->EditInfobase();
    EXPECT_EQ(password, "pw");
    EXPECT_EQ(category, "Филиалы, Север");
    EXPECT_EQ(m_dm->dbfFolder.fieldText("PASSWORD"), app::ScramblePassword("pw")); // scrambled once, again
}

TEST_F(DialogUiTest, TheUserListHandsTheChosenUsersPlainPasswordToTheInfobaseDialog) {
    addUser("Анна", "1111");
    addUser("Борис", "пароль");
    m_harness.then([this](QDialog& d) {
        retype(child<QLineEdit>(&d, "edtPath"), QStringLiteral("C:\\B\\"));
        m_harness.then([](QDialog& list) {
            click(&list, "nbLast");
            return pressOk(list);
        });
        click(&d, "btnUser");
        EXPECT_EQ(text(&d, "edtUserName"), "Борис");
        EXPECT_EQ(text(&d, "edtPassword"), "пароль");
        return pressOk(d);
    });
    m_dm->AddInfobase();
    EXPECT_EQ(m_dm->InfobaseUserName(m_dm->dbfFolder), "Борис");
    EXPECT_EQ(m_dm->dbfFolder.fieldText("PASSWORD"), app::ScramblePassword("пароль"));
}

TEST_F(DialogUiTest, APasswordTypedInTheUserListIsStoredScrambledAndHandedOverPlain) {
    addUser("Анна", "old");
    m_harness.then([this](QDialog& d) {
        m_harness.then([](QDialog& list) {
            auto* password = child<QLineEdit>(&list, "dbePassword");
            typeText(password, QStringLiteral("new1"));
            return pressOk(list);
        });
        click(&d, "btnUser");
        EXPECT_EQ(text(&d, "edtPassword"), "new1");
        return pressCancel(d);
    });
    m_dm->AddInfobase();
    EXPECT_EQ(storedUsers(),
              (std::vector<std::pair<std::string, std::string>>{{"Анна", app::ScramblePassword("new1")}}));
    // Without an open list the data module keeps a stored password as it is.
    EXPECT_EQ(m_ui.editedUserPassword(), std::nullopt);
}

TEST_F(DialogUiTest, QuestionsAreAskedInABoxCaptionedTarvesk) {
    m_harness.then([](QDialog& d) {
        retype(child<QLineEdit>(&d, "edtPath"), QStringLiteral("C:\\1C\\1cv7s.exe"));
        return pressOk(d);
    });
    m_dm->AddExecutable();
    QString caption, question;
    m_harness.then([&](QDialog& d) {
        caption = d.windowTitle();
        question = dynamic_cast<QMessageBox&>(d).text();
        return int(QMessageBox::No);
    });
    m_dm->DeleteExecutable();
    EXPECT_EQ(caption, QStringLiteral("Tarvesk"));
    EXPECT_EQ(question, QString::fromUtf8("Удалить выделенный исполняемый модуль?"));
    EXPECT_FALSE(m_dm->dbfProgram.isEmpty());
    m_harness.then([](QDialog&) { return int(QMessageBox::Yes); });
    m_dm->DeleteExecutable();
    EXPECT_TRUE(m_dm->dbfProgram.isEmpty());
}

TEST_F(DialogUiTest, TheExecutableDialogEditsTheCurrentRow) {
    m_harness.then([](QDialog& d) {
        retype(child<QLineEdit>(&d, "edtPath"), QStringLiteral("C:\\1C\\1cv7s.exe"));
        return pressOk(d);
    });
    m_dm->AddExecutable();
    std::string name, path;
    m_harness.then([&](QDialog& d) {
        name = text(&d, "edtName");
        path = text(&d, "edtPath");
        return pressCancel(d);
    });
    m_dm->EditExecutable();
    EXPECT_EQ(name, "1C:Предприятие 7.7");
    EXPECT_EQ(path, "C:\\1C\\1cv7s.exe");
    EXPECT_EQ(m_dm->ExecutablePath(), "C:\\1C\\1cv7s.exe");
}

} // namespace
