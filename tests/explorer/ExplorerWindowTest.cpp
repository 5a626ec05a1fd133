#include "ExplorerFixture.h"

#include "platform/posix/WinePathMapper.h"
#include "widgets/WidgetTestSupport.h"
#include <QIcon>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

using explorertest::ExplorerFixture;
using explorertest::waitUntil;
namespace fs = std::filesystem;

namespace {

int imageOf(const QToolButton* button) {
    return button->property("imageIndex").toInt();
}

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

} // namespace

using ExplorerWindow = ExplorerFixture;

TEST_F(ExplorerWindow, StartsWithRegimeZeroSharedLargeIconsAndTheTreeFocused) {
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Проводник"));
    EXPECT_EQ(window->size(), QSize(481, 360));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMaximizeButtonHint);

    EXPECT_EQ(window->explorerRegime(), 0);
    EXPECT_FALSE(window->explorerExclusive());
    EXPECT_EQ(window->viewStyle(), 0);
    EXPECT_EQ(imageOf(child<QToolButton>("btnStart")), 4);
    EXPECT_EQ(imageOf(child<QToolButton>("btnView")), 0);
    EXPECT_EQ(imageOf(child<QToolButton>("btnStartMode")), 10);
    EXPECT_EQ(imageOf(child<QToolButton>("btnUp")), 9);
    EXPECT_TRUE(child<QAction>("pmiEnterprise")->isChecked());
    EXPECT_TRUE(child<QAction>("pmiLargeIcons")->isChecked());

    const std::pair<const char*, const char*> hints[] = {
        {"btnUp", " Вверх"},
        {"btnView", " Вид"},
        {"btnStart", " Запуск 1С:Предприятия"},
        {"btnStartMode", " Режим запуска 1С:Предприятия: разделенный"}};
    for (const auto& [name, hint] : hints) {
        EXPECT_EQ(child<QToolButton>(name)->toolTip(), QString::fromUtf8(hint)) << name;
        EXPECT_EQ(child<QToolButton>(name)->focusPolicy(), Qt::NoFocus) << name;
    }
    EXPECT_EQ(window->focusWidget(), tree());

    // The top entries: home, the drives by letter, the file system root.
    QAbstractItemModel* model = tree()->model();
    ASSERT_EQ(model->rowCount(), 4);
    EXPECT_EQ(model->index(0, 0).data().toString(), QString::fromUtf8("Домашняя папка"));
    EXPECT_EQ(model->index(1, 0).data().toString(), "C:");
    EXPECT_EQ(model->index(2, 0).data().toString(), "Z:");
    EXPECT_EQ(model->index(3, 0).data().toString(), "/");
    EXPECT_EQ(window->currentFolder(), home.string());
}

TEST_F(ExplorerWindow, TreeSelectionIsTheDirectoryAndTheOtherTwoFollow) {
    ASSERT_TRUE(widgettest::showActive(window.get()));
    const QModelIndex trade = treeNode({"C:", "My Bases", "Trade"});
    ASSERT_TRUE(trade.isValid());
    tree()->scrollTo(trade);
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualRect(trade).center());

    EXPECT_EQ(window->SelectedDirectory(), "C:\\My Bases\\Trade\\");
    EXPECT_EQ(window->currentFolder(), (c / "My Bases" / "Trade").string());
    EXPECT_EQ(files()->filePath(list()->rootIndex()), QString::fromStdString((c / "My Bases" / "Trade").string()));
    auto* combo = child<QComboBox>("cmbFolder");
    EXPECT_EQ(combo->currentText().trimmed(), "Trade");
    EXPECT_EQ(combo->currentData().toString(), QString::fromStdString((c / "My Bases" / "Trade").string()));

    // The drive itself gives its root with the doubled backslash.
    tree()->setCurrentIndex(treeNode({"C:"}));
    EXPECT_EQ(window->SelectedDirectory(), "C:\\\\");
}

TEST_F(ExplorerWindow, HiddenFoldersAreInTheTreeAndTheList) {
    EXPECT_TRUE(treeNode({"C:", ".hidden"}).isValid());
    window->ShowFolder(c.string());
    EXPECT_TRUE(fileItem(c / ".hidden").isValid());
}

// A folder reached through a symbolic link (Wine's own dosdevices and profile folders are links)
// looks like any other folder in the large-icon view.
TEST_F(ExplorerWindow, ALinkedFolderHasTheFolderPicture) {
    fs::create_directory_symlink(c / "Bases" / "Trade", c / "Linked");
    window->ShowFolder(c.string());
    const QPersistentModelIndex plain = fileItem(c / "Bases");
    const QPersistentModelIndex linked = fileItem(c / "Linked");
    ASSERT_TRUE(plain.isValid() && linked.isValid());
    const auto picture = [](const QModelIndex& item) {
        return qvariant_cast<QIcon>(item.data(Qt::DecorationRole)).pixmap(32, 32).toImage();
    };
    EXPECT_EQ(picture(linked), picture(plain));
}

// "Z:" and "/" stand for the same folder: the drop-down and the tree stay on the entry chosen.
TEST_F(ExplorerWindow, TheFileSystemRootChosenInTheTreeIsNotCalledZ) {
    auto* box = child<QComboBox>("cmbFolder");
    for (const char* entry : {"/", "Z:", "/"}) {
        const QModelIndex node = treeNode({QString::fromUtf8(entry)});
        ASSERT_TRUE(node.isValid()) << entry;
        tree()->setCurrentIndex(node);
        EXPECT_EQ(box->currentText(), QString::fromUtf8(entry));
        EXPECT_EQ(tree()->currentIndex(), node) << entry << ": the tree moved to another entry";
    }
    // A folder opened below "/" stays under "/", and the drop-down leads back to it.
    window->ShowFolder("/tmp");
    EXPECT_EQ(box->itemText(box->currentIndex() - 1), "/");
    EXPECT_EQ(tree()->currentIndex().parent(), treeNode({"/"}));
}

TEST_F(ExplorerWindow, LaunchButtonAnswersForTheFocusedListAndLeavesTheFocusThere) {
    ASSERT_TRUE(widgettest::showActive(window.get()));
    window->ShowFolder((c / "My Bases").string());
    list()->setFocus();

    click(child<QToolButton>("btnStart")); // nothing selected in the list
    const QPersistentModelIndex trade = fileItem(c / "My Bases" / "Trade");
    ASSERT_TRUE(trade.isValid());
    list()->setCurrentIndex(trade);
    click(child<QToolButton>("btnStart"));

    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0].source, app::LaunchSource::lsExplorer);
    EXPECT_EQ(launches[0].directory, "");
    EXPECT_EQ(launches[1].directory, "C:\\My Bases\\Trade\\");
    EXPECT_EQ(window->focusWidget(), list());

    // Any other control than the three gives no directory.
    child<QToolButton>("btnStart")->setFocusPolicy(Qt::StrongFocus);
    child<QToolButton>("btnStart")->setFocus();
    EXPECT_EQ(window->SelectedDirectory(), "");
}

TEST_F(ExplorerWindow, DropDownGivesItsCurrentItemAndMovesTheOthers) {
    ASSERT_TRUE(widgettest::showActive(window.get()));
    window->ShowFolder((c / "Bases").string());
    auto* combo = child<QComboBox>("cmbFolder");
    combo->setFocus();
    EXPECT_EQ(window->SelectedDirectory(), "C:\\Bases\\");

    QTest::keyClick(combo, Qt::Key_Up); // one level up: the drive's own entry
    EXPECT_EQ(window->currentFolder(), c.string());
    EXPECT_EQ(window->SelectedDirectory(), "C:\\\\");
    EXPECT_EQ(tree()->currentIndex(), treeNode({"C:"}));
    EXPECT_EQ(files()->filePath(list()->rootIndex()), QString::fromStdString(c.string()));
}

TEST_F(ExplorerWindow, ConfiguratorFromTheMenuLaunchesAndStaysForTheNextClick) {
    window->ShowFolder((c / "Bases").string());
    tree()->setFocus();
    child<QAction>("pmiConfig")->trigger();

    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].regime, 1);
    EXPECT_EQ(launches[0].directory, "C:\\Bases\\");
    EXPECT_EQ(imageOf(child<QToolButton>("btnStart")), 5);
    EXPECT_TRUE(child<QAction>("pmiConfig")->isChecked());
    EXPECT_FALSE(child<QAction>("pmiEnterprise")->isChecked());

    ASSERT_TRUE(widgettest::showActive(window.get()));
    click(child<QToolButton>("btnStart"));
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[1].regime, 1);

    child<QAction>("pmiBatch")->trigger();
    EXPECT_EQ(launches.back().regime, 4);
    EXPECT_EQ(imageOf(child<QToolButton>("btnStart")), 8);
}

TEST_F(ExplorerWindow, StartModeToggleFlipsFlagPictureAndHint) {
    ASSERT_TRUE(widgettest::showActive(window.get()));
    auto* toggle = child<QToolButton>("btnStartMode");
    click(toggle);
    EXPECT_TRUE(window->explorerExclusive());
    EXPECT_EQ(imageOf(toggle), 11);
    EXPECT_EQ(toggle->toolTip(), QString::fromUtf8(" Режим запуска 1С:Предприятия: монопольный"));
    click(child<QToolButton>("btnStart"));
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_TRUE(launches[0].exclusive);

    click(toggle);
    EXPECT_FALSE(window->explorerExclusive());
    EXPECT_EQ(imageOf(toggle), 10);
    EXPECT_EQ(toggle->toolTip(), QString::fromUtf8(" Режим запуска 1С:Предприятия: разделенный"));
}

TEST_F(ExplorerWindow, ViewMenuSetsStylePictureAndCheckedItem) {
    struct Case {
        const char* item;
        int style;
        const char* shownView;
    };
    const Case cases[] = {{"pmiReport", 3, "tvFiles"},
                          {"pmiList", 2, "lvFiles"},
                          {"pmiSmallIcons", 1, "lvFiles"},
                          {"pmiLargeIcons", 0, "lvFiles"}};
    auto* stack = child<QStackedWidget>("stkFiles");
    auto* listView = child<QListView>("lvFiles");
    for (const auto& t : cases) {
        child<QAction>(t.item)->trigger();
        EXPECT_EQ(window->viewStyle(), t.style) << t.item;
        EXPECT_EQ(imageOf(child<QToolButton>("btnView")), t.style) << t.item;
        EXPECT_TRUE(child<QAction>(t.item)->isChecked()) << t.item;
        EXPECT_EQ(stack->currentWidget()->objectName(), t.shownView) << t.item;
        if (t.style < 3) {
            EXPECT_EQ(listView->viewMode(), t.style == 0 ? QListView::IconMode : QListView::ListMode) << t.item;
            EXPECT_EQ(listView->flow(), t.style == 2 ? QListView::TopToBottom : QListView::LeftToRight) << t.item;
        }
    }
    EXPECT_TRUE(launches.empty());
}

TEST_F(ExplorerWindow, TableViewSharesTheListSelection) {
    ASSERT_TRUE(widgettest::showActive(window.get()));
    window->ShowFolder((c / "Bases").string());
    list()->setFocus();
    list()->setCurrentIndex(fileItem(c / "Bases" / "readme.txt"));
    child<QAction>("pmiReport")->trigger();
    EXPECT_EQ(window->focusWidget()->objectName(), "tvFiles");
    EXPECT_EQ(window->SelectedDirectory(), "C:\\Bases\\readme.txt\\");
}

TEST_F(ExplorerWindow, OpeningAFolderInTheListDescendsAndUpComesBack) {
    ASSERT_TRUE(widgettest::showActive(window.get()));
    window->ShowFolder((c / "My Bases").string());
    list()->setFocus();
    const QPersistentModelIndex trade = fileItem(c / "My Bases" / "Trade");
    ASSERT_TRUE(trade.isValid());
    list()->setCurrentIndex(trade);
    QTest::keyClick(list(), Qt::Key_Return);

    EXPECT_EQ(window->currentFolder(), (c / "My Bases" / "Trade").string());
    EXPECT_EQ(tree()->currentIndex(), treeNode({"C:", "My Bases", "Trade"}));
    EXPECT_EQ(child<QComboBox>("cmbFolder")->currentText().trimmed(), "Trade");

    click(child<QToolButton>("btnUp"));
    EXPECT_EQ(window->currentFolder(), (c / "My Bases").string());
    EXPECT_EQ(tree()->currentIndex(), treeNode({"C:", "My Bases"}));
    click(child<QToolButton>("btnUp"));
    click(child<QToolButton>("btnUp")); // a drive is a top entry: nothing above it
    EXPECT_EQ(window->currentFolder(), c.string());
}

TEST_F(ExplorerWindow, RenamingAFolderInTheListRenamesItOnDisk) {
    ASSERT_TRUE(widgettest::showActive(window.get()));
    window->ShowFolder((c / "Bases").string());
    treeNode({"C:", "Bases", "Trade"}); // the tree has read the folder before the rename
    list()->setFocus();
    const QPersistentModelIndex trade = fileItem(c / "Bases" / "Trade");
    ASSERT_TRUE(trade.isValid());
    list()->setCurrentIndex(trade);
    QTest::keyClick(list(), Qt::Key_F2);
    auto* editor = list()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QString::fromUtf8("Торговля"));
    QTest::keyClick(editor, Qt::Key_Return); // the edit is committed from the event loop

    EXPECT_TRUE(waitUntil([&] { return fs::is_directory(c / "Bases" / "Торговля"); }));
    EXPECT_FALSE(fs::exists(c / "Bases" / "Trade"));
    EXPECT_TRUE(treeNode({"C:", "Bases", QString::fromUtf8("Торговля")}).isValid());
    EXPECT_FALSE(treeNode({"C:", "Bases", "Trade"}).isValid());
}

TEST_F(ExplorerWindow, RightClickSelectsATreeNode) {
    ASSERT_TRUE(widgettest::showActive(window.get()));
    const QModelIndex drive = treeNode({"C:"});
    QTest::mouseClick(tree()->viewport(), Qt::RightButton, {}, tree()->visualRect(drive).center());
    EXPECT_EQ(tree()->currentIndex(), drive);
    EXPECT_EQ(window->currentFolder(), c.string());
}

TEST_F(ExplorerWindow, ClosingOnlyHides) {
    ASSERT_TRUE(widgettest::showActive(window.get()));
    window->ShowFolder((c / "Bases").string());
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(window->SelectedDirectory(), "C:\\Bases\\");
    child<QAction>("pmiMonitor")->trigger();
    EXPECT_EQ(launches.back().regime, 3);
}

TEST(ExplorerWinePrefix, AFolderOfDriveCComesBackAsAWindowsPath) {
    testsupport::TempDir dir;
    const fs::path prefix = dir.path() / "prefix";
    fs::create_directories(prefix / "drive_c" / "Bases" / "Trade");
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    platform::WinePathMapper paths(prefix.string());

    explorer::TfrmExplorer window(paths);
    window.ShowFolder((prefix / "drive_c" / "Bases" / "Trade").string());
    EXPECT_EQ(window.focusWidget()->objectName(), "tvFolder");
    EXPECT_EQ(window.SelectedDirectory(), "C:\\Bases\\Trade\\");
    window.ShowFolder((prefix / "drive_c").string());
    EXPECT_EQ(window.SelectedDirectory(), "C:\\\\");
}
