#include "registry/Reestr.h"

#include "FakeFolderStore.h"
#include "ScriptedReestrUi.h"
#include "TitlesBackends.h"
#include "app/Common.h"
#include "registry/TitlesImport.h"
#include "registry/UnaccountedList.h"
#include "support/TempDir.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using registrytest::BackendKind;
using registrytest::FakeFolderStore;
using Row = FakeFolderStore::Row;
using Planted = registrytest::TitlesBackend::Planted;
using Lines = std::vector<std::string>;

const std::vector<Planted> kTitles = {{"C:\\1C\\Торговля\\", "Торговля и склад"},
                                      {"D:\\Bases\\Зарплата", "Зарплата"},
                                      {"c:\\1c\\trade\\", "Trade"},
                                      {"E:\\Учёт", "Учёт"}};

// The window over a Titles key (in memory or in a Wine prefix) and a table folder that already
// holds C:\1C\TRADE\.
class ReestrTest : public ::testing::TestWithParam<BackendKind> {
protected:
    void open(const std::vector<Planted>& planted = kTitles, bool titlesKey = true) {
        m_backend = registrytest::makeBackend(GetParam(), planted, titlesKey);
        m_store.rows = {{"C:\\1C\\TRADE\\", "Trade"}};
        m_window = std::make_unique<registry::TfrmReestr>(nullptr, m_backend->registry(), m_store, m_ui);
        m_window->show();
    }
    template <class T = QWidget> T* child(const char* name) {
        auto* found = m_window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    void click(const char* name) { child<QAbstractButton>(name)->click(); }
    QListWidget* list() { return child<QListWidget>("clbReestr"); }
    void check(int row) { list()->item(row)->setCheckState(Qt::Checked); }
    QPoint itemCentre(int row) { return list()->visualItemRect(list()->item(row)).center(); }

    registrytest::ScriptedReestrUi m_ui;
    FakeFolderStore m_store;
    std::unique_ptr<registrytest::TitlesBackend> m_backend;
    std::unique_ptr<registry::TfrmReestr> m_window;
    testsupport::TempDir m_dir;
};

TEST_P(ReestrTest, HasItsLayoutAndTexts) {
    open();
    EXPECT_EQ(m_window->windowTitle(), "Синхронизация информационных баз с реестром");
    EXPECT_EQ(m_window->size(), QSize(472, 333));
    const std::vector<std::pair<const char*, const char*>> tools = {{"btnNewKey", "Новый"},
                                                                    {"btnEditKey", "Изменить"},
                                                                    {"btnDeleteKey", "Удалить"},
                                                                    {"btnExportKeys", "Экспорт в файл"},
                                                                    {"btnImportKeys", "Импорт из файла"}};
    for (const auto& [name, text] : tools) {
        auto* button = child<QToolButton>(name);
        EXPECT_EQ(button->text(), QString::fromUtf8(text));
        EXPECT_GE(button->width(), button->sizeHint().width()) << name << ": the caption is cut";
    }
    auto* grid = child<QTableWidget>("vedReestr");
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Каталог");
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Наименование");
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->columnWidth(0), grid->viewport()->width() / 2);
    EXPECT_EQ(grid->height(), 161);
    EXPECT_GE(grid->minimumHeight(), 82);
    EXPECT_EQ(child<QLabel>("hdrReestr")->text(), "Неучтенные информационные базы");
    EXPECT_EQ(child<QToolButton>("btnCheckAll")->toolTip(), " Отметить все");
    EXPECT_EQ(child<QToolButton>("btnUncheckAll")->toolTip(), " Сбросить все");
    EXPECT_EQ(child<QToolButton>("btnInvert")->toolTip(), " Инвертировать");
    const std::vector<std::pair<const char*, const char*>> bottom = {
        {"btnOK", "OK"}, {"btnCancel", "Отмена"}, {"btnApply", "Применить"}, {"btnRefresh", "Обновить"}};
    for (const auto& [name, text] : bottom) {
        EXPECT_EQ(child<QPushButton>(name)->text(), QString::fromUtf8(text));
        EXPECT_TRUE(child<QPushButton>(name)->font().bold()) << name;
    }
    EXPECT_TRUE(grid->hasFocus() || QApplication::focusWidget() == grid || m_window->focusWidget() == grid);
}

TEST_P(ReestrTest, EveryShowingListsTheTitlesAndTheUnaccountedEntries) {
    open();
    EXPECT_EQ(child<QTableWidget>("vedReestr")->rowCount(), 4);
    EXPECT_EQ(child<QTableWidget>("vedReestr")->item(0, 0)->text(), "c:\\1c\\trade\\");
    EXPECT_EQ(m_window->unaccounted(),
              (Lines{"C:\\1C\\Торговля\\=Торговля и склад", "D:\\Bases\\Зарплата=Зарплата", "E:\\Учёт=Учёт"}));
    for (int row = 0; row < list()->count(); ++row)
        EXPECT_EQ(list()->item(row)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(list()->selectedItems().isEmpty());

    m_window->close();
    EXPECT_FALSE(m_window->isVisible());
    m_store.rows.push_back({"E:\\УЧЁТ", "Учёт"});
    m_window->show();
    EXPECT_EQ(m_window->unaccounted(), (Lines{"C:\\1C\\Торговля\\=Торговля и склад", "D:\\Bases\\Зарплата=Зарплата"}));
}

TEST_P(ReestrTest, OkWithNothingCheckedImportsNothingAndCloses) {
    open();
    click("btnOK");
    EXPECT_EQ(m_store.rows.size(), 1u);
    EXPECT_FALSE(m_window->isVisible());
}

TEST_P(ReestrTest, ApplyImportsTheCheckedEntriesAndTheRefreshDropsThem) {
    open();
    QSignalSpy imported(m_window.get(), &registry::TfrmReestr::foldersImported);
    check(0);
    check(2);
    click("btnApply");
    EXPECT_EQ(m_store.rows,
              (std::vector<Row>{
                  {"C:\\1C\\TRADE\\", "Trade"}, {"C:\\1C\\Торговля\\", "Торговля и склад"}, {"E:\\Учёт", "Учёт"}}));
    EXPECT_EQ(m_window->unaccounted(), Lines{"D:\\Bases\\Зарплата=Зарплата"});
    EXPECT_EQ(imported.count(), 1);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(m_backend->names().size(), 4u); // the Titles key is not written
}

TEST_P(ReestrTest, OkImportsAndTheNextShowingNoLongerListsThem) {
    open();
    check(1);
    click("btnOK");
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_store.rows.back(), (Row{"D:\\Bases\\Зарплата", "Зарплата"}));
    m_window->show();
    EXPECT_EQ(m_window->unaccounted(), (Lines{"C:\\1C\\Торговля\\=Торговля и склад", "E:\\Учёт=Учёт"}));
}

TEST_P(ReestrTest, ARowThatCannotBePostedIsDroppedSilently) {
    open();
    m_store.failingNames = {"Зарплата"};
    m_window->CheckAll(1);
    click("btnApply");
    EXPECT_EQ(m_store.rows.size(), 3u);
    EXPECT_TRUE(m_ui.errors.empty());
    EXPECT_EQ(m_window->unaccounted(), Lines{"D:\\Bases\\Зарплата=Зарплата"});
}

TEST_P(ReestrTest, CheckButtonsSetAndInvertEveryMark) {
    open();
    auto states = [this] {
        std::vector<bool> out;
        for (int row = 0; row < list()->count(); ++row)
            out.push_back(list()->item(row)->checkState() == Qt::Checked);
        return out;
    };
    click("btnCheckAll");
    EXPECT_EQ(states(), (std::vector<bool>{true, true, true}));
    click("btnUncheckAll");
    EXPECT_EQ(states(), (std::vector<bool>{false, false, false}));
    check(1);
    click("btnInvert");
    EXPECT_EQ(states(), (std::vector<bool>{true, false, true}));
}

TEST_P(ReestrTest, AValueThatIsNotAStringIsReportedAndLeavesBothListsEmpty) {
    open({{"C:\\A\\", "A"}, {"Count", "", false}});
    EXPECT_EQ(m_ui.errors, std::vector<std::string>{"Invalid data type for 'Count'"});
    EXPECT_EQ(child<QTableWidget>("vedReestr")->rowCount(), 0);
    EXPECT_EQ(list()->count(), 0);
}

TEST_P(ReestrTest, WithoutTheTitlesKeyBothListsAreEmptyAndNothingIsReported) {
    open({}, false);
    EXPECT_EQ(child<QTableWidget>("vedReestr")->rowCount(), 0);
    EXPECT_EQ(list()->count(), 0);
    EXPECT_TRUE(m_ui.errors.empty());
}

TEST_P(ReestrTest, MousePressesChooseWhatADropImports) {
    open();
    QTest::mousePress(list()->viewport(), Qt::RightButton, {}, itemCentre(0));
    QTest::mouseRelease(list()->viewport(), Qt::RightButton, {}, itemCentre(0));
    EXPECT_EQ(m_window->DragImportMode, 1);
    EXPECT_TRUE(list()->selectedItems().isEmpty()); // a right press highlights nothing
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, itemCentre(1));
    EXPECT_EQ(m_window->DragImportMode, 0);
    EXPECT_EQ(list()->selectedItems().value(0), list()->item(1));
    QTest::mouseClick(list()->viewport(), Qt::MiddleButton, {}, itemCentre(1));
    EXPECT_EQ(m_window->DragImportMode, 0);
    EXPECT_TRUE(m_window->isUnaccountedDrag(list()));
    EXPECT_FALSE(m_window->isUnaccountedDrag(child<QTableWidget>("vedReestr")));
}

TEST_P(ReestrTest, ADragStartsOnlyAfterMovingTheDragDistance) {
    open();
    auto* unaccounted = m_window->findChild<registry::UnaccountedList*>("clbReestr");
    int started = 0;
    unaccounted->setDragStarter([&started] { ++started; });
    QWidget* viewport = unaccounted->viewport();
    const QPoint from = itemCentre(0);
    const QPoint near = from + QPoint(QApplication::startDragDistance() - 1, 0);
    const QPoint far = from + QPoint(0, QApplication::startDragDistance() + 2);
    auto move = [viewport](const QPoint& to, Qt::MouseButtons held) {
        QMouseEvent event(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, held, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };

    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    move(near, Qt::LeftButton);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, near);
    EXPECT_EQ(started, 0); // an ordinary click

    QTest::mousePress(viewport, Qt::RightButton, {}, from);
    move(far, Qt::RightButton);
    move(far + QPoint(0, 5), Qt::RightButton);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, far);
    EXPECT_EQ(started, 1); // once per press, with either button
    EXPECT_EQ(m_window->DragImportMode, 1);

    QTest::mouseDClick(viewport, Qt::LeftButton, {}, from);
    EXPECT_EQ(m_window->DragImportMode, 0);
    QMouseEvent second(QEvent::MouseButtonDblClick, from, viewport->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(viewport, &second);
    move(far, Qt::LeftButton);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, far);
    EXPECT_EQ(started, 1); // the second press of a double click arms no drag
}

TEST_P(ReestrTest, RightButtonDropWithNothingHighlightedOnlyRefreshes) {
    open();
    check(0);
    m_window->DragImportMode = 1;
    const int refreshes = m_store.prepared;
    m_window->dropOnInfobaseList();
    EXPECT_EQ(m_store.rows.size(), 1u);
    EXPECT_EQ(m_store.prepared, refreshes + 1);
}

TEST_P(ReestrTest, DropsImportTheHighlightedOrTheCheckedItems) {
    open();
    check(0);
    list()->setCurrentRow(2);
    m_window->DragImportMode = 1;
    m_window->dropOnInfobaseList();
    EXPECT_EQ(m_store.rows.back(), (Row{"E:\\Учёт", "Учёт"}));
    EXPECT_EQ(m_store.rows.size(), 2u);
    EXPECT_EQ(m_window->unaccounted().size(), 2u);

    check(0);
    m_window->DragImportMode = 0;
    m_window->dropOnInfobaseList();
    EXPECT_EQ(m_store.rows.back(), (Row{"C:\\1C\\Торговля\\", "Торговля и склад"}));
    EXPECT_EQ(m_window->unaccounted(), Lines{"D:\\Bases\\Зарплата=Зарплата"});
}

TEST_P(ReestrTest, NewWritesTheEnteredEntryAndRefreshes) {
    open();
    m_ui.edits.push_back(registry::KeyEditResult{"Новая база", "F:\\Новая\\"});
    click("btnNewKey");
    ASSERT_EQ(m_ui.editCalls.size(), 1u);
    EXPECT_EQ(m_ui.editCalls[0], std::make_pair(QString(), QString()));
    EXPECT_EQ(m_backend->value("F:\\Новая\\"), "Новая база");
    EXPECT_EQ(m_window->titles().size(), 5u);
    EXPECT_EQ(m_window->unaccounted().back(), "F:\\Новая\\=Новая база");
}

TEST_P(ReestrTest, EditOpensOnTheHighlightedRowAndANewDirectoryAddsASecondEntry) {
    open();
    child<QTableWidget>("vedReestr")->setCurrentCell(1, 0);
    m_ui.edits.push_back(registry::KeyEditResult{"Торговля", "C:\\1C\\Торговля 2\\"});
    click("btnEditKey");
    ASSERT_EQ(m_ui.editCalls.size(), 1u);
    EXPECT_EQ(m_ui.editCalls[0], std::make_pair(QString("Торговля и склад"), QString("C:\\1C\\Торговля\\")));
    EXPECT_EQ(m_backend->value("C:\\1C\\Торговля\\"), "Торговля и склад");
    EXPECT_EQ(m_backend->value("C:\\1C\\Торговля 2\\"), "Торговля");
    EXPECT_EQ(m_window->titles().size(), 5u);
}

TEST_P(ReestrTest, EditUsesTheWholeValueNameEvenWithAnEqualsSignInIt) {
    open({{"C:\\A=B\\", "x"}, {"C:\\A", "other"}});
    // "C:\A=B\=x" sorts before "C:\A=other".
    ASSERT_EQ(m_window->titles()[0].name, "C:\\A=B\\");
    child<QTableWidget>("vedReestr")->setCurrentCell(0, 0);
    m_ui.edits.push_back(std::nullopt);
    click("btnEditKey");
    EXPECT_EQ(m_ui.editCalls[0], std::make_pair(QString("x"), QString("C:\\A=B\\")));
    m_ui.deleteAnswer = true;
    click("btnDeleteKey");
    EXPECT_EQ(m_backend->names(), Lines{"C:\\A"}); // not the entry the line's first part names
}

TEST_P(ReestrTest, EditOnAnEmptyListOpensEmptyAndCancelChangesNothing) {
    open({});
    m_ui.edits.push_back(std::nullopt);
    click("btnEditKey");
    EXPECT_EQ(m_ui.editCalls[0], std::make_pair(QString(), QString()));
    EXPECT_TRUE(m_backend->names().empty());
}

TEST_P(ReestrTest, DeleteAsksAndRemovesOnlyOnYes) {
    open();
    child<QTableWidget>("vedReestr")->setCurrentCell(3, 0);
    m_ui.deleteAnswer = false;
    click("btnDeleteKey");
    EXPECT_EQ(m_backend->names().size(), 4u);
    m_ui.deleteAnswer = true;
    click("btnDeleteKey");
    EXPECT_EQ(m_ui.deleteQuestions, 2);
    EXPECT_EQ(m_backend->value("E:\\Учёт"), std::nullopt);
    EXPECT_EQ(m_window->titles().size(), 3u);
}

TEST_P(ReestrTest, DeleteOnAnEmptyListAsksNothing) {
    open({});
    click("btnDeleteKey");
    EXPECT_EQ(m_ui.deleteQuestions, 0);
}

TEST_P(ReestrTest, ExportWritesTheListAsLastShown) {
    open({{"D:\\Б", "второй"}, {"C:\\A", "первый"}});
    app::TitleWrite(m_backend->registry(), "E:\\Later", "after the refresh");
    m_ui.exportName = QString::fromStdString(m_dir.file("keys.txt"));
    click("btnExportKeys");
    EXPECT_EQ(testsupport::readFile(m_dir.file("keys.txt")),
              "C:\\A=\xEF\xE5\xF0\xE2\xFB\xE9\r\nD:\\\xC1=\xE2\xF2\xEE\xF0\xEE\xE9\r\n");
    EXPECT_TRUE(m_ui.errors.empty());
}

TEST_P(ReestrTest, ExportIntoAMissingDirectoryIsReported) {
    open();
    m_ui.exportName = QString::fromStdString(m_dir.file("missing/keys.txt"));
    click("btnExportKeys");
    ASSERT_EQ(m_ui.errors.size(), 1u);
    EXPECT_NE(m_ui.errors[0].find("keys.txt"), std::string::npos);
}

TEST_P(ReestrTest, ImportWritesTheFileAndRefreshesAlsoAfterCancel) {
    open();
    testsupport::writeFile(m_dir.file("in.txt"), "F:\\New=N\r\nE:\\\xD3\xF7\xB8\xF2=changed\r\nG:\\Other=O\r\n");
    m_ui.importName = QString::fromStdString(m_dir.file("in.txt"));
    m_ui.answers = {static_cast<int>(registry::KeyExistsAnswer::Cancel)};
    click("btnImportKeys");
    EXPECT_EQ(m_ui.asked, Lines{"E:\\Учёт"});
    EXPECT_EQ(m_backend->value("F:\\New"), "N");
    EXPECT_EQ(m_backend->value("E:\\Учёт"), "Учёт");
    EXPECT_EQ(m_backend->value("G:\\Other"), std::nullopt);
    EXPECT_EQ(m_window->titles().size(), 5u);
    EXPECT_EQ(m_ui.askersMade, 1);
}

TEST_P(ReestrTest, ImportCancelledInTheOpenDialogDoesNotRefresh) {
    open();
    const int refreshes = m_store.prepared;
    click("btnImportKeys");
    EXPECT_EQ(m_ui.importDialogs, 1);
    EXPECT_EQ(m_store.prepared, refreshes);
}

TEST_P(ReestrTest, AnUnreadableImportFileIsReportedAndWritesNothing) {
    open();
    m_ui.importName = QString::fromStdString(m_dir.file("missing.txt"));
    click("btnImportKeys");
    EXPECT_EQ(m_ui.errors.size(), 1u);
    EXPECT_EQ(m_backend->names().size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(Backends, ReestrTest, ::testing::Values(BackendKind::Memory, BackendKind::Wine),
                         registrytest::backendParamName);

} // namespace
