#include "dialogs/EditFldr.h"
#include "DialogTestSupport.h"
#include "ScriptedSource.h"
#include "app/Common.h"
#include "dialogs/Folder.h"
#include "support/TempDir.h"
#include "widgets/FolderTreeView.h"

#include <QLineEdit>

#include <filesystem>

namespace {

using namespace dialogtest;

class EditFolderTest : public ::testing::Test {
protected:
    EditFolderTest() { app::NewBaseCounter = 0; }

    data::InfobaseDialogResult run(int mode, std::function<int(QDialog&)> step) {
        m_harness.then(std::move(step));
        dialogs::TfrmEditFolder dialog(m_source, m_harness.services());
        return dialog.Execute(mode);
    }

    Harness m_harness;
    ScriptedSource m_source;
};

TEST_F(EditFolderTest, CancelAfterTypingGivesSixEmptyTexts) {
    const auto result = run(0, [](QDialog& d) {
        for (const char* name : {"edtName", "edtPath", "edtUserName", "edtPassword", "edtUserPath", "edtPrmFile"})
            retype(child<QLineEdit>(&d, name), QStringLiteral("x1"));
        return pressCancel(d);
    });
    EXPECT_FALSE(result.confirmed);
    EXPECT_EQ(result.name + result.path + result.userName + result.password + result.userPath + result.prmFile, "");
}

TEST_F(EditFolderTest, OkReturnsTheTextsAsTheyStand) {
    const auto result = run(0, [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Регистрация информационной базы"));
        EXPECT_EQ(text(&d, "edtName"), "Новая ИБ 1");
        retype(child<QLineEdit>(&d, "edtPath"), QString::fromUtf8("D:\\Базы\\Торг "));
        retype(child<QLineEdit>(&d, "edtPassword"), QStringLiteral("pw"));
        return pressOk(d);
    });
    EXPECT_TRUE(result.confirmed);
    EXPECT_EQ(result.name, "Новая ИБ 1");
    EXPECT_EQ(result.path, "D:\\Базы\\Торг "); // nothing trimmed or checked
    EXPECT_EQ(result.password, "pw");
    EXPECT_EQ(result.userName + result.userPath + result.prmFile, "");
}

TEST_F(EditFolderTest, ThreeOpeningsOfferThreeDefaultNamesEvenWhenCancelled) {
    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i)
        run(0, [&names](QDialog& d) {
            names.push_back(text(&d, "edtName"));
            return pressCancel(d);
        });
    EXPECT_EQ(names, (std::vector<std::string>{"Новая ИБ 1", "Новая ИБ 2", "Новая ИБ 3"}));
}

TEST_F(EditFolderTest, ExplorerModeStartsInTheExplorersDirectory) {
    const auto result = run(2, pressOk);
    EXPECT_EQ(result.name, "Новая ИБ 1");
    EXPECT_EQ(result.path, "C:\\Explorer\\Base\\");
}

TEST_F(EditFolderTest, EditModeShowsThePlainPasswordAsStarsAndTheClassification) {
    m_source.row = {{"Торговля", "D:\\Trade\\", "Иванов", "тайна", "", ""}, 12, 0};
    m_source.categories = {{{"Клиенты", {{"Опт", 12}}}}};
    const auto result = run(1, [](QDialog& d) {
        auto* password = child<QLineEdit>(&d, "edtPassword");
        EXPECT_EQ(password->echoMode(), QLineEdit::Password);
        EXPECT_EQ(password->displayText(), QStringLiteral("*****"));
        EXPECT_EQ(text(&d, "stxCategory"), "Клиенты, Опт");
        EXPECT_EQ(text(&d, "stxDivision"), "");
        EXPECT_TRUE(child<QLineEdit>(&d, "stxCategory")->isReadOnly());
        return pressOk(d);
    });
    EXPECT_EQ(result.password, "тайна");
    EXPECT_EQ(result.name, "Торговля");
    EXPECT_EQ(app::NewBaseCounter, 0);
}

TEST_F(EditFolderTest, FieldsTakeAtMostTheTableWidths) {
    run(0, [](QDialog& d) {
        const std::pair<const char*, int> widths[] = {{"edtName", 40},     {"edtPath", 240},     {"edtUserName", 24},
                                                      {"edtPassword", 10}, {"edtUserPath", 240}, {"edtPrmFile", 240}};
        for (const auto& [name, width] : widths)
            EXPECT_EQ(child<QLineEdit>(&d, name)->maxLength(), width) << name;
        return pressCancel(d);
    });
}

TEST_F(EditFolderTest, ACharacterWindows1251CannotHoldIsRefusedWithAMessage) {
    const auto result = run(0, [](QDialog& d) {
        retype(child<QLineEdit>(&d, "edtName"), QString::fromUtf8("База☺1"));
        return pressOk(d);
    });
    EXPECT_EQ(result.name, "База1");
    ASSERT_EQ(m_harness.refusals.size(), 1u);
    EXPECT_TRUE(m_harness.refusals[0].contains(QString::fromUtf8("☺")));
    EXPECT_TRUE(m_harness.refusals[0].contains(QStringLiteral("Windows-1251")));
}

TEST_F(EditFolderTest, AnUnstorableTextThatArrivedWithoutTypingKeepsTheDialogOpen) {
    m_source.explorer = "C:\\日本\\";
    int okPresses = 0;
    const auto result = run(2, [&okPresses](QDialog& d) {
        ++okPresses;
        EXPECT_EQ(pressOk(d), -1); // still open
        retype(child<QLineEdit>(&d, "edtPath"), QStringLiteral("C:\\Base\\"));
        return pressOk(d);
    });
    EXPECT_EQ(okPresses, 1);
    ASSERT_EQ(m_harness.errors.size(), 1u);
    EXPECT_NE(m_harness.errors[0].find("日"), std::string::npos);
    EXPECT_EQ(result.path, "C:\\Base\\");
}

TEST_F(EditFolderTest, ChoosingAUserFillsNameAndPasswordOnly) {
    m_source.chosenUser = dialogs::UserChoice{"Петров", "пароль"};
    const auto result = run(0, [](QDialog& d) {
        retype(child<QLineEdit>(&d, "edtUserPath"), QStringLiteral("C:\\Users\\"));
        click(&d, "btnUser");
        return pressOk(d);
    });
    EXPECT_EQ(m_source.userListRuns, 1);
    EXPECT_EQ(result.userName, "Петров");
    EXPECT_EQ(result.password, "пароль");
    EXPECT_EQ(result.userPath, "C:\\Users\\");
}

TEST_F(EditFolderTest, ACancelledUserListChangesNothing) {
    const auto result = run(0, [](QDialog& d) {
        retype(child<QLineEdit>(&d, "edtUserName"), QStringLiteral("old"));
        click(&d, "btnUser");
        return pressOk(d);
    });
    EXPECT_EQ(result.userName, "old");
}

TEST_F(EditFolderTest, TheBatchFileIsChosenAsAWindowsPath) {
    m_harness.chosenFiles = {"/home/u/x.prm"};
    const auto result = run(0, [](QDialog& d) {
        click(&d, "btnPacketChoice");
        return pressOk(d);
    });
    EXPECT_EQ(result.prmFile, "Z:\\home\\u\\x.prm");
    EXPECT_EQ(m_harness.fileFilters, (std::vector<QString>{QString::fromUtf8("Пакетный файл|*.prm|prm")}));
}

TEST_F(EditFolderTest, AFileNoDriveLeadsToIsRefused) {
    m_harness.paths.addDrive('c', "/srv/wine/drive_c");
    m_harness.chosenFiles = {"/home/u/x.prm"};
    const auto result = run(0, [](QDialog& d) {
        retype(child<QLineEdit>(&d, "edtPrmFile"), QStringLiteral("C:\\old.prm"));
        click(&d, "btnPacketChoice");
        return pressOk(d);
    });
    EXPECT_EQ(result.prmFile, "C:\\old.prm");
    EXPECT_EQ(m_harness.errors.size(), 1u);
}

class EditFolderDirectoryTest : public EditFolderTest {
protected:
    EditFolderDirectoryTest() {
        std::filesystem::create_directories(m_drive.path() / "Bases" / "Trade");
        m_harness.paths.addDrive('d', m_drive.path().string());
    }
    // A step that picks a folder in the real directory chooser and confirms it.
    std::function<int(QDialog&)> chooseFolder(std::filesystem::path host) {
        return [host](QDialog& chooser) {
            auto* tree = dynamic_cast<dialogs::TfrmFolder&>(chooser).tree();
            EXPECT_TRUE(tree->selectHostPath(host.string()));
            return pressOk(chooser);
        };
    }
    testsupport::TempDir m_drive;
};

TEST_F(EditFolderDirectoryTest, AChosenDirectoryGetsATrailingBackslash) {
    const auto trade = m_drive.path() / "Bases" / "Trade";
    const auto result = run(0, [this, trade](QDialog& d) {
        m_harness.then(chooseFolder(trade));
        click(&d, "btnFolderChoice");
        m_harness.then(chooseFolder(m_drive.path()));
        click(&d, "btnUserFolderChoice");
        return pressOk(d);
    });
    EXPECT_EQ(result.path, "D:\\Bases\\Trade\\");
    EXPECT_EQ(result.userPath, "D:\\"); // a drive root keeps its one backslash
    EXPECT_EQ(m_harness.shownDialogs, (std::vector<QString>{QStringLiteral("frmEditFolder"),
                                                            QStringLiteral("frmFolder"), QStringLiteral("frmFolder")}));
}

TEST_F(EditFolderDirectoryTest, ACancelledChooserChangesNothing) {
    const auto result = run(0, [this](QDialog& d) {
        retype(child<QLineEdit>(&d, "edtPath"), QStringLiteral("C:\\Old\\"));
        m_harness.then([](QDialog& chooser) { return pressCancel(chooser); });
        click(&d, "btnFolderChoice");
        return pressOk(d);
    });
    EXPECT_EQ(result.path, "C:\\Old\\");
}

} // namespace
