#include "dialogs/Folder.h"
#include "DialogTestSupport.h"
#include "dialogs/FolderTree.h"
#include "support/TempDir.h"

#include <QLineEdit>
#include <QTest>

#include <filesystem>

namespace {

using namespace dialogtest;
namespace fs = std::filesystem;

class FolderChooserTest : public ::testing::Test {
protected:
    FolderChooserTest() {
        for (const char* folder : {"Bases/Trade", "bases2", ".hidden", "Zeta"})
            fs::create_directories(m_drive.path() / folder);
        testsupport::writeFile(m_drive.path() / "file.txt", "not a folder");
        m_paths.addDrive('c', m_drive.path().string());
    }

    QTreeWidgetItem* driveItem(dialogs::FolderTree* tree) const {
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            if (tree->topLevelItem(i)->text(0) == QStringLiteral("C:"))
                return tree->topLevelItem(i);
        return nullptr;
    }

    testsupport::TempDir m_drive;
    platform::FakePathMapper m_paths;
};

TEST_F(FolderChooserTest, ChoosingAFolderYieldsItsWindowsPath) {
    dialogs::TfrmFolder chooser(&m_paths);
    EXPECT_EQ(chooser.windowTitle(), QString::fromUtf8("Выбор каталога"));
    ASSERT_TRUE(chooser.tree()->selectHostPath((m_drive.path() / "Bases").string()));
    EXPECT_EQ(chooser.SelectedPath(), "C:\\Bases");
    EXPECT_EQ(text(&chooser, "stxFolder"), "C:\\Bases");
    ASSERT_TRUE(chooser.tree()->selectHostPath(m_drive.path().string()));
    EXPECT_EQ(chooser.SelectedPath(), "C:\\");
}

// A click makes the item current before it selects it; the path line still shows the folder.
TEST_F(FolderChooserTest, ClickingAFolderShowsItsPath) {
    dialogs::TfrmFolder chooser(&m_paths);
    chooser.show();
    QTreeWidgetItem* drive = driveItem(chooser.tree());
    ASSERT_NE(drive, nullptr);
    drive->setExpanded(true);
    QTreeWidgetItem* bases = drive->child(1);
    ASSERT_EQ(bases->text(0), QStringLiteral("Bases"));
    const QRect place = chooser.tree()->visualItemRect(bases);
    QTest::mouseClick(chooser.tree()->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
    EXPECT_EQ(text(&chooser, "stxFolder"), "C:\\Bases");
}

TEST_F(FolderChooserTest, TheTreeListsFoldersOnlyHiddenOnesIncludedByName) {
    dialogs::TfrmFolder chooser(&m_paths);
    QTreeWidgetItem* drive = driveItem(chooser.tree());
    ASSERT_NE(drive, nullptr);
    drive->setExpanded(true);
    QStringList names;
    for (int i = 0; i < drive->childCount(); ++i)
        names << drive->child(i)->text(0);
    EXPECT_EQ(names, (QStringList{QStringLiteral(".hidden"), QStringLiteral("Bases"), QStringLiteral("bases2"),
                                  QStringLiteral("Zeta")}));
}

TEST_F(FolderChooserTest, DoubleClickingAFolderConfirmsIt) {
    dialogs::TfrmFolder chooser(&m_paths);
    chooser.show();
    auto* tree = chooser.tree();
    ASSERT_TRUE(tree->selectHostPath((m_drive.path() / "Bases" / "Trade").string()));
    const QRect rect = tree->visualItemRect(tree->currentItem());
    doubleClick(tree->viewport(), rect.center());
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.SelectedPath(), "C:\\Bases\\Trade");
}

TEST_F(FolderChooserTest, RightClickSelects) {
    dialogs::TfrmFolder chooser(&m_paths);
    chooser.show();
    auto* tree = chooser.tree();
    QTreeWidgetItem* drive = driveItem(tree);
    ASSERT_NE(drive, nullptr);
    drive->setExpanded(true);
    const QRect rect = tree->visualItemRect(drive->child(3));
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, rect.center());
    EXPECT_EQ(chooser.SelectedPath(), "C:\\Zeta");
}

TEST_F(FolderChooserTest, ItIs320PixelsWideAndGrowsOnlyInHeight) {
    dialogs::TfrmFolder chooser(&m_paths);
    EXPECT_EQ(chooser.minimumWidth(), 320);
    EXPECT_EQ(chooser.maximumWidth(), 320);
    EXPECT_GT(chooser.maximumHeight(), chooser.minimumHeight());
}

} // namespace
