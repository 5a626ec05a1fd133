#include "widgets/FolderRoots.h"
#include "platform/fake/FakePathMapper.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST(FolderRoots, HomeThenDrivesByLetterThenRoot) {
    testsupport::TempDir dir;
    const auto home = dir.path() / "home";
    const auto c = dir.path() / "drive_c";
    std::filesystem::create_directories(home);
    std::filesystem::create_directories(c);
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.c_str(), 1);

    platform::FakePathMapper paths;
    paths.addDrive('z', "/");
    paths.addDrive('c', c.string());
    paths.addDrive('d', (dir.path() / "missing").string()); // no folder: left out
    const auto roots = widgets::folderRoots(paths);
    setenv("HOME", oldHome.c_str(), 1);

    ASSERT_EQ(roots.size(), 4u);
    EXPECT_EQ(roots[0].hostPath, home.string());
    EXPECT_EQ(roots[1].caption, "C:");
    EXPECT_EQ(roots[1].hostPath, c.string());
    EXPECT_EQ(roots[2].caption, "Z:");
    EXPECT_EQ(roots[3].hostPath, "/");
}

TEST(FolderRoots, DeepestRootHoldsThePath) {
    const std::vector<widgets::FolderRoot> roots = {
        {"Домашняя папка", "/home/user"}, {"C:", "/home/user/.wine/drive_c"}, {"Z:", "/"}, {"/", "/"}};
    EXPECT_EQ(widgets::containingRoot(roots, "/home/user/.wine/drive_c/Bases"), 1);
    EXPECT_EQ(widgets::containingRoot(roots, "/home/user/.wine/drive_c"), 1);
    EXPECT_EQ(widgets::containingRoot(roots, "/home/user/.wine/drive_cc"), 0); // whole names only
    EXPECT_EQ(widgets::containingRoot(roots, "/home/user"), 0);
    EXPECT_EQ(widgets::containingRoot(roots, "/home/username"), 2);
    EXPECT_EQ(widgets::containingRoot(roots, "/"), 2);
    EXPECT_EQ(widgets::containingRoot({{"C:", "/c"}}, "/d/x"), -1);
}

TEST(FolderRoots, ChainFromRootDown) {
    EXPECT_EQ(widgets::folderChain("/c", "/c/a/b"), (std::vector<std::string>{"/c", "/c/a", "/c/a/b"}));
    EXPECT_EQ(widgets::folderChain("/c", "/c"), (std::vector<std::string>{"/c"}));
    EXPECT_EQ(widgets::folderChain("/", "/srv/x"), (std::vector<std::string>{"/", "/srv", "/srv/x"}));
    EXPECT_TRUE(widgets::folderChain("/c", "/cc/a").empty());
}
