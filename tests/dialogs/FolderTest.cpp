#include "dialogs/Folder.h"
#include "DialogTestSupport.h"
#include "support/TempDir.h"
#include "widgets/FolderTreeModel.h"
#include "widgets/FolderTreeView.h"

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

    // The tree's node of a folder of drive C:, opened down to it.
    static QModelIndex node(widgets::FolderTreeView* tree, const fs::path& host) {
        const QModelIndex found = tree->folderModel()->indexOf(host.string());
        tree->expand(found.parent());
        return found;
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

TEST_F(FolderChooserTest, AClickedFolderShowsItsPath) {
    dialogs::TfrmFolder chooser(&m_paths);
    chooser.show();
    auto* tree = chooser.tree();
    const QModelIndex zeta = node(tree, m_drive.path() / "Zeta");
    ASSERT_TRUE(zeta.isValid());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(zeta).center());
    EXPECT_EQ(text(&chooser, "stxFolder"), "C:\\Zeta");
}

TEST_F(FolderChooserTest, DoubleClickingAFolderConfirmsIt) {
    dialogs::TfrmFolder chooser(&m_paths);
    chooser.show();
    auto* tree = chooser.tree();
    ASSERT_TRUE(tree->selectHostPath((m_drive.path() / "Bases" / "Trade").string()));
    const QRect rect = tree->visualRect(tree->currentIndex());
    doubleClick(tree->viewport(), rect.center());
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.SelectedPath(), "C:\\Bases\\Trade");
}

TEST_F(FolderChooserTest, RightClickSelects) {
    dialogs::TfrmFolder chooser(&m_paths);
    chooser.show();
    auto* tree = chooser.tree();
    const QModelIndex zeta = node(tree, m_drive.path() / "Zeta");
    ASSERT_TRUE(zeta.isValid());
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, tree->visualRect(zeta).center());
    EXPECT_EQ(chooser.SelectedPath(), "C:\\Zeta");
}

TEST_F(FolderChooserTest, ItIs320PixelsWideAndGrowsOnlyInHeight) {
    dialogs::TfrmFolder chooser(&m_paths);
    EXPECT_EQ(chooser.minimumWidth(), 320);
    EXPECT_EQ(chooser.maximumWidth(), 320);
    EXPECT_GT(chooser.maximumHeight(), chooser.minimumHeight());
}

} // namespace
