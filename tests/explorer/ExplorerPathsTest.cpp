#include "explorer/ExplorerPaths.h"
#include "platform/fake/FakePathMapper.h"

#include <gtest/gtest.h>

using explorer::ShellControl;

namespace {

platform::FakePathMapper prefixPaths() {
    platform::FakePathMapper paths;
    paths.addDrive('c', "/prefix/drive_c");
    paths.addDrive('z', "/");
    return paths;
}

} // namespace

TEST(ExplorerPaths, SelectedDirectoryByFocusedControl) {
    const auto paths = prefixPaths();
    struct Case {
        ShellControl focused;
        std::optional<std::string> item;
        std::string expected;
    };
    const Case cases[] = {
        {ShellControl::FolderTree, "/prefix/drive_c/My Bases/Trade", "C:\\My Bases\\Trade\\"},
        {ShellControl::FolderDropDown, "/prefix/drive_c/Bases", "C:\\Bases\\"},
        {ShellControl::FileList, "/prefix/drive_c/Bases", "C:\\Bases\\"},
        {ShellControl::FileList, "/prefix/drive_c/Bases/readme.txt", "C:\\Bases\\readme.txt\\"}, // a file too
        {ShellControl::FolderTree, "/prefix/drive_c", "C:\\\\"},                                 // drive root
        {ShellControl::FolderDropDown, "/", "Z:\\\\"},
        {ShellControl::FolderTree, "/srv/bases", "Z:\\srv\\bases\\"},
        {ShellControl::FolderTree, std::nullopt, "\\"},
        {ShellControl::FolderDropDown, std::nullopt, "\\"},
        {ShellControl::FileList, std::nullopt, ""},
        {ShellControl::Other, "/prefix/drive_c/Bases", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(explorer::selectedDirectory(c.focused, c.item, paths), c.expected) << c.item.value_or("(none)");
}

TEST(ExplorerPaths, PathWithoutDriveCountsAsNoItem) {
    platform::FakePathMapper paths;
    paths.addDrive('c', "/prefix/drive_c"); // no Z:, so /srv has no Windows path
    EXPECT_EQ(explorer::selectedDirectory(ShellControl::FolderTree, "/srv/bases", paths), "\\");
    EXPECT_EQ(explorer::selectedDirectory(ShellControl::FileList, "/srv/bases", paths), "");
}

TEST(ExplorerPaths, UpStopsAtTopEntries) {
    const std::vector<widgets::FolderRoot> roots = {{"C:", "/prefix/drive_c"}, {"/", "/"}};
    EXPECT_EQ(explorer::folderAbove(roots, "/prefix/drive_c/Bases/Trade"), "/prefix/drive_c/Bases");
    EXPECT_EQ(explorer::folderAbove(roots, "/prefix/drive_c"), "/prefix/drive_c");
    EXPECT_EQ(explorer::folderAbove(roots, "/srv"), "/");
    EXPECT_EQ(explorer::folderAbove(roots, "/"), "/");
}
