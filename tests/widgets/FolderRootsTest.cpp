#include "platform/fake/FakePathMapper.h"
#include "support/TempDir.h"
#include "widgets/FolderRoots.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

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
