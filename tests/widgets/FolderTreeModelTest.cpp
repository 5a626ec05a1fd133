#include "widgets/FolderTreeModel.h"
#include "support/TempDir.h"
#include "widgets/FolderTreeView.h"

#include <QAbstractItemModelTester>
#include <QStringList>

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// A drive "C:" of a few folders in a temporary directory, the only top entry of the tree.
class FolderTreeModelTest : public ::testing::Test {
protected:
    FolderTreeModelTest() : drive(dir.path() / "c") {
        for (const char* folder : {"Bases/Trade", "bases2", ".hidden", "Zeta"})
            fs::create_directories(drive / folder);
    }

    std::vector<widgets::FolderRoot> roots() const { return {{"C:", drive.string()}}; }

    static QStringList names(widgets::FolderTreeModel& model, const QModelIndex& parent) {
        if (model.canFetchMore(parent))
            model.fetchMore(parent);
        QStringList found;
        for (int row = 0; row < model.rowCount(parent); ++row)
            found << model.index(row, 0, parent).data().toString();
        return found;
    }

    testsupport::TempDir dir;
    fs::path drive;
};

TEST_F(FolderTreeModelTest, ListsFoldersOnlyHiddenOnesIncludedByNameWhenFirstOpened) {
    fs::create_directories(drive / QString::fromUtf8("Торговля").toStdString());
    fs::create_directories(drive / QString::fromUtf8("архив").toStdString());
    testsupport::writeFile(drive / "file.txt", "not a folder");
    fs::create_directory_symlink(drive / "Bases", drive / "link");     // a link to a folder counts
    fs::create_directory_symlink(drive / "missing", drive / "broken"); // a link to nothing does not
    ASSERT_EQ(mkfifo((drive / "pipe").c_str(), 0600), 0);              // nor does a pipe
    widgets::FolderTreeModel model(roots());

    ASSERT_EQ(model.rowCount(), 1);
    const QModelIndex c = model.index(0, 0);
    EXPECT_EQ(c.data().toString(), "C:");
    EXPECT_EQ(model.hostPath(c), drive.string());
    EXPECT_EQ(model.rowCount(c), 0); // nothing read before it is opened
    EXPECT_TRUE(model.canFetchMore(c));
    EXPECT_TRUE(model.hasChildren(c));

    EXPECT_EQ(names(model, c), (QStringList{".hidden", "Bases", "bases2", "link", "Zeta", QString::fromUtf8("архив"),
                                            QString::fromUtf8("Торговля")}));
    EXPECT_FALSE(model.canFetchMore(c));
    const QModelIndex bases = model.index(1, 0, c);
    EXPECT_EQ(model.hostPath(bases), (drive / "Bases").string());
    EXPECT_EQ(bases.data(widgets::FolderTreeModel::HostPathRole).toString().toStdString(), (drive / "Bases").string());
    EXPECT_EQ(bases.parent(), c);
}

TEST_F(FolderTreeModelTest, AnUnreadFolderIsAskedOnceWhetherItHasSubfolders) {
    fs::create_directories(drive / "Zeta" / "Inner");
    testsupport::writeFile(drive / "bases2" / "file.txt", "a file is no subfolder");
    widgets::FolderTreeModel model(roots());
    const QModelIndex c = model.index(0, 0);
    names(model, c);
    const QModelIndex bases2 = model.indexOf((drive / "bases2").string());
    const QModelIndex zeta = model.indexOf((drive / "Zeta").string());
    EXPECT_FALSE(model.hasChildren(bases2));
    EXPECT_TRUE(model.hasChildren(zeta));

    fs::create_directories(drive / "bases2" / "New");
    fs::remove(drive / "Zeta" / "Inner");
    EXPECT_FALSE(model.hasChildren(bases2)); // the first answer stands
    EXPECT_TRUE(model.hasChildren(zeta));

    model.reload((drive / "bases2").string());
    EXPECT_TRUE(model.hasChildren(bases2));
    EXPECT_EQ(names(model, bases2), QStringList{"New"});
}

TEST_F(FolderTreeModelTest, IndexOfReadsDownAndFallsBackToTheDeepestExistingFolder) {
    widgets::FolderTreeModel model(roots());
    const QModelIndex trade = model.indexOf((drive / "Bases" / "Trade").string());
    EXPECT_EQ(model.hostPath(trade), (drive / "Bases" / "Trade").string());
    EXPECT_EQ(trade.parent().data().toString(), "Bases");

    EXPECT_EQ(model.hostPath(model.indexOf((drive / "Bases" / "Gone" / "Deeper").string())),
              (drive / "Bases").string());
    EXPECT_FALSE(model.indexOf((dir.path() / "elsewhere").string()).isValid());
    EXPECT_EQ(model.indexOf(drive.string()), model.index(0, 0));

    // A folder made after its parent was read is found: the parent is read again.
    fs::create_directories(drive / "Bases" / "Later");
    EXPECT_EQ(model.hostPath(model.indexOf((drive / "Bases" / "Later").string())),
              (drive / "Bases" / "Later").string());
    EXPECT_EQ(names(model, trade.parent()), (QStringList{"Later", "Trade"}));
}

TEST_F(FolderTreeModelTest, ReloadTakesInChangesAndKeepsTheFoldersThatStay) {
    widgets::FolderTreeModel model(roots());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QPersistentModelIndex trade = model.indexOf((drive / "Bases" / "Trade").string());
    const QPersistentModelIndex bases = trade.parent();
    const QModelIndex c = model.index(0, 0);

    fs::rename(drive / "Zeta", drive / "Alpha");
    fs::remove(drive / "bases2");
    fs::create_directories(drive / "Middle");
    fs::create_directories(drive / "zz");
    EXPECT_EQ(names(model, c), (QStringList{".hidden", "Bases", "bases2", "Zeta"})); // not followed by itself

    model.reload(drive.string());
    EXPECT_EQ(names(model, c), (QStringList{".hidden", "Alpha", "Bases", "Middle", "zz"}));
    ASSERT_TRUE(bases.isValid());
    EXPECT_EQ(bases.row(), 2);
    EXPECT_FALSE(model.canFetchMore(bases)); // what was read below a folder that stays is kept
    EXPECT_EQ(trade.parent(), QModelIndex(bases));
    for (int row = 0; row < model.rowCount(c); ++row)
        EXPECT_EQ(model.index(row, 0, c).parent(), c);

    fs::remove_all(drive / "Bases");
    model.reload(drive.string());
    EXPECT_FALSE(trade.isValid());
    EXPECT_EQ(names(model, c), (QStringList{".hidden", "Alpha", "Middle", "zz"}));
}

TEST_F(FolderTreeModelTest, TheViewSelectsAFolderOrTheNearestOneLeft) {
    widgets::FolderTreeView view(roots());
    EXPECT_TRUE(view.selectedHostPath().empty());
    EXPECT_TRUE(view.selectHostPath((drive / "Bases" / "Trade").string()));
    EXPECT_EQ(view.selectedHostPath(), (drive / "Bases" / "Trade").string());
    EXPECT_TRUE(view.isExpanded(view.currentIndex().parent()));

    EXPECT_FALSE(view.selectHostPath((drive / "Bases" / "Gone").string()));
    EXPECT_EQ(view.selectedHostPath(), (drive / "Bases").string());
    EXPECT_FALSE(view.selectHostPath((dir.path() / "elsewhere").string()));
    EXPECT_TRUE(view.selectedHostPath().empty());
}

} // namespace
