#include "registry/EditKey.h"
#include "registry/ReestrDialogs.h"
#include "registry/RefDial.h"

#include "widgets/WidgetTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using registry::TfrmEditKey;
using registry::TfrmRefreshDialog;

// The key edit dialog with a scripted directory chooser; warnings are recorded, not shown.
class EditKeyTest : public ::testing::Test {
protected:
    EditKeyTest()
        : m_dialog(
              nullptr, [this](QWidget*) { return m_chosen; },
              [this](QWidget*, const QString& text) { m_warnings << text; }) {}
    QLineEdit* edit(const char* name) { return m_dialog.findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QAbstractButton* button(const char* name) {
        return m_dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
    }

    std::optional<QString> m_chosen;
    QStringList m_warnings;
    TfrmEditKey m_dialog;
};

TEST_F(EditKeyTest, HasItsLayoutAndTexts) {
    EXPECT_EQ(m_dialog.windowTitle(), "Редактирование ключа реестра");
    EXPECT_EQ(m_dialog.size(), QSize(312, 117));
    EXPECT_EQ(m_dialog.findChild<QLabel*>("lblName")->text(), "&Наименование");
    EXPECT_EQ(m_dialog.findChild<QLabel*>("lblPath")->text(), "&Каталог");
    ASSERT_TRUE(edit("edtName") && edit("edtPath") && button("btnFolderChoice"));
    auto* ok = m_dialog.findChild<QPushButton*>("btnOK");
    auto* cancel = m_dialog.findChild<QPushButton*>("btnCancel");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(cancel->text(), "Отмена");
    EXPECT_TRUE(ok->font().bold() && cancel->font().bold());
    m_dialog.show();
    for (QWidget* w : m_dialog.findChildren<QWidget*>())
        EXPECT_TRUE(m_dialog.rect().contains(w->geometry())) << w->objectName().toStdString();
}

TEST_F(EditKeyTest, OkAcceptsFilledFields) {
    m_dialog.setFields("Торговля", "C:\\1C\\Торговля\\");
    button("btnOK")->click();
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_dialog.name(), "Торговля");
    EXPECT_EQ(m_dialog.path(), "C:\\1C\\Торговля\\");
    EXPECT_TRUE(m_warnings.isEmpty());
}

TEST_F(EditKeyTest, AnEmptyTitleIsAcceptedAnEmptyDirectoryIsNot) {
    m_dialog.setFields("Без каталога", "");
    button("btnOK")->click();
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected);
    EXPECT_EQ(m_warnings, QStringList{TfrmEditKey::emptyPathMessage()});
    m_dialog.setFields("", "C:\\X\\");
    button("btnOK")->click();
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
}

TEST_F(EditKeyTest, TextWindows1251CannotHoldIsRefused) {
    m_dialog.setFields("ok", "C:\\Ünï\\€");
    button("btnOK")->click();
    QApplication::processEvents();
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected);
    ASSERT_FALSE(m_warnings.isEmpty());
    for (const QString& warning : m_warnings)
        EXPECT_TRUE(warning.contains("«Ü»")) << warning.toStdString();

    m_dialog.setFields("", "C:\\");
    m_warnings.clear();
    widgettest::typeText(edit("edtName"), "Баз⌘а");
    QApplication::processEvents();
    EXPECT_EQ(edit("edtName")->text(), "База");
    EXPECT_EQ(m_warnings.size(), 1);
    EXPECT_TRUE(m_warnings.value(0).contains("«⌘»"));
}

TEST_F(EditKeyTest, TheChooserPutsTheDirectoryWithABackslash) {
    m_dialog.setFields("x", "old");
    m_chosen = std::nullopt;
    button("btnFolderChoice")->click();
    EXPECT_EQ(m_dialog.path(), "old");
    m_chosen = QString("D:\\Bases\\Trade");
    button("btnFolderChoice")->click();
    EXPECT_EQ(m_dialog.path(), "D:\\Bases\\Trade\\");
}

TEST_F(EditKeyTest, TypingStopsAt240CharactersButALongerDirectoryStaysWhole) {
    const QString long300(300, QChar('d'));
    m_dialog.setFields("x", long300);
    EXPECT_EQ(m_dialog.path(), long300);
    edit("edtPath")->setFocus();
    edit("edtPath")->end(false);
    QTest::keyClick(edit("edtPath"), Qt::Key_A);
    EXPECT_EQ(m_dialog.path(), long300);
    QTest::keyClick(edit("edtPath"), Qt::Key_Backspace);
    EXPECT_EQ(m_dialog.path().size(), 299);

    m_dialog.setFields("x", QString(239, QChar('d')));
    edit("edtPath")->end(false);
    QTest::keyClicks(edit("edtPath"), "abc");
    EXPECT_EQ(m_dialog.path().size(), 240);
}

struct AnswerCase {
    const char* button;
    int result;
};

class RefreshDialogButtons : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(RefreshDialogButtons, EndTheDialogWithTheirAnswer) {
    TfrmRefreshDialog dialog(nullptr);
    dialog.findChild<QPushButton*>(QString::fromLatin1(GetParam().button))->click();
    EXPECT_EQ(dialog.result(), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Answers, RefreshDialogButtons,
                         ::testing::Values(AnswerCase{"btnYes", 6}, AnswerCase{"btnNo", 7}, AnswerCase{"btnCancel", 2},
                                           AnswerCase{"btnNoToAll", 9}, AnswerCase{"btnYesToAll", 10}),
                         [](const ::testing::TestParamInfo<AnswerCase>& param) {
                             return std::string(param.param.button);
                         });

TEST(RefreshDialog, HasItsTextsAndCloseAnswersCancel) {
    TfrmRefreshDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Подтверждение");
    EXPECT_EQ(dialog.size(), QSize(412, 105));
    EXPECT_EQ(dialog.findChild<QLabel*>("lblQuestion")->text(), "Ключ реестра уже существует. Обновить?");
    const std::vector<std::pair<const char*, const char*>> texts = {{"btnYes", "Да"},
                                                                    {"btnNo", "Нет"},
                                                                    {"btnCancel", "Отмена"},
                                                                    {"btnYesToAll", "Обновить все совпадающие"},
                                                                    {"btnNoToAll", "Пропустить все совпадающие"}};
    for (const auto& [name, text] : texts)
        EXPECT_EQ(dialog.findChild<QPushButton*>(name)->text(), QString::fromUtf8(text));
    dialog.setKey("C:\\1C\\Торговля\\");
    EXPECT_EQ(dialog.findChild<QLabel*>("stxReestrKey")->text(), "C:\\1C\\Торговля\\");
    dialog.show();
    EXPECT_TRUE(dialog.close());
    EXPECT_EQ(dialog.result(), 2);
}

// Runs action on the modal dialog that opens next.
void onNextModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_TRUE(modal);
        action(modal);
    });
}

TEST(ReestrDialogs, RunTheRealDialogs) {
    registry::ReestrDialogs dialogs([](QWidget*) { return std::optional<QString>(); }, {});

    onNextModal([](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "Редактирование ключа реестра");
        EXPECT_EQ(modal->findChild<QLineEdit*>("edtPath")->text(), "C:\\A\\");
        modal->findChild<QLineEdit*>("edtName")->setText("Новое");
        modal->findChild<QPushButton*>("btnOK")->click();
    });
    const auto edited = dialogs.editKey(nullptr, "Старое", "C:\\A\\");
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->name, "Новое");
    EXPECT_EQ(edited->path, "C:\\A\\");

    onNextModal([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->windowTitle(), "Confirm");
        EXPECT_EQ(box->text(), "Удалить выделенный ключ реестра?");
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        for (QAbstractButton* b : box->buttons())
            if (b->text() == "&Yes")
                b->click();
    });
    EXPECT_TRUE(dialogs.confirmDelete(nullptr));

    const auto asker = dialogs.keyExistsAsker(nullptr);
    asker->showKey("C:\\Ключ");
    onNextModal([](QWidget* modal) {
        EXPECT_EQ(modal->findChild<QLabel*>("stxReestrKey")->text(), "C:\\Ключ");
        modal->findChild<QPushButton*>("btnNoToAll")->click();
    });
    EXPECT_EQ(asker->ask(), 9);
}

} // namespace
