#include "platform/posix/WinePathMapper.h"
#include "platform/fake/FakePathMapper.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// A prefix with c: -> ../drive_c, d: -> an absolute directory inside drive_c's sibling, z: -> /,
// and a few folders with mixed-case names.
class WinePathMapperTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root() / "dosdevices");
        fs::create_directories(root() / "drive_c" / "Program Files" / "1Cv77" / "BIN");
        fs::create_directories(root() / "drive_c" / "users" / "me" / "AppData");
        fs::create_directories(root() / "drive_c" / "Базы" / "Торговля");
        fs::create_directories(root() / "data");
        fs::create_symlink("../drive_c", root() / "dosdevices" / "c:");
        fs::create_symlink(root() / "data", root() / "dosdevices" / "d:");
        fs::create_symlink("/", root() / "dosdevices" / "z:");
        fs::create_symlink("/dev/sr0", root() / "dosdevices" / "d::"); // a device entry, not a drive
    }
    fs::path root() const { return m_dir.path(); }
    std::string c() const { return (root() / "drive_c").string(); }

    testsupport::TempDir m_dir;
};

} // namespace

TEST_F(WinePathMapperTest, WindowsPathsToHost) {
    platform::WinePathMapper mapper(root().string());
    const struct {
        std::string windows;
        std::string host;
    } cases[] = {
        {"C:\\Program Files\\1Cv77\\BIN\\1cv7s.exe", c() + "/Program Files/1Cv77/BIN/1cv7s.exe"},
        {"c:\\PROGRAM FILES\\1cv77\\bin\\", c() + "/Program Files/1Cv77/BIN/"},
        {"C:\\базы\\ТОРГОВЛЯ", c() + "/Базы/Торговля"},
        {"C:\\Базы\\Новая\\Папка\\", c() + "/Базы/Новая/Папка/"}, // missing tail kept as given
        {"C:\\USERS\\ME\\appdata\\Roaming", c() + "/users/me/AppData/Roaming"},
        {"C:/Program Files/1Cv77", c() + "/Program Files/1Cv77"},
        {"C:\\Program Files\\..\\users\\.\\me", c() + "/users/me"},
        {"C:\\", c() + "/"},
        {"C:", c() + "/"},
        {"d:\\x.dbf", (root() / "data").string() + "/x.dbf"},
        {"Z:\\usr\\BIN", fs::exists("/usr/bin") ? "/usr/bin" : "/usr/BIN"},
        {"Z:\\", "/"},
        {"/home/user/base/", "/home/user/base/"},
        {"E:\\nothing", ""},
        {"relative\\path", ""},
        {"\\\\server\\share", ""},
        {"", ""},
    };
    for (const auto& t : cases)
        EXPECT_EQ(mapper.toHost(t.windows), t.host) << t.windows;
}

TEST_F(WinePathMapperTest, HostPathsToWindows) {
    platform::WinePathMapper mapper(root().string());
    const struct {
        std::string host;
        std::string windows;
    } cases[] = {
        {c() + "/Program Files/1Cv77/BIN/1cv7s.exe", "C:\\Program Files\\1Cv77\\BIN\\1cv7s.exe"},
        {c() + "/Базы/Торговля/", "C:\\Базы\\Торговля\\"},
        {c(), "C:\\"},
        {c() + "/", "C:\\"},
        {(root() / "dosdevices" / "c:" / "users").string(), "C:\\users"}, // through the drive link
        {(root() / "data" / "x.dbf").string(), "D:\\x.dbf"},
        {"/usr/share/", "Z:\\usr\\share\\"},
        {"/", "Z:\\"},
        {"relative/path", ""},
        {"/tmp/a\\b/c", ""}, // "\\" in a Unix name would part it in two under Windows
    };
    for (const auto& t : cases)
        EXPECT_EQ(mapper.toWindows(t.host), t.windows) << t.host;
}

TEST_F(WinePathMapperTest, ListsOnlyDriveLinks) {
    platform::WinePathMapper mapper(root().string());
    const std::vector<std::pair<char, std::string>> expected{{'C', c()}, {'D', (root() / "data").string()}, {'Z', "/"}};
    EXPECT_EQ(mapper.drives(), expected);
}

TEST(WinePathMapperWithoutPrefix, ZStandsForTheRoot) {
    testsupport::TempDir dir;
    platform::WinePathMapper mapper((dir.path() / "missing").string());
    EXPECT_EQ(mapper.toHost("z:\\tmp\\"), "/tmp/");
    EXPECT_EQ(mapper.toHost("C:\\tmp"), "");
    EXPECT_EQ(mapper.toWindows("/tmp/x"), "Z:\\tmp\\x");
}

TEST(FakePathMapper, MapsByItsDriveTable) {
    platform::FakePathMapper paths;
    EXPECT_EQ(paths.toHost("z:\\tmp\\x"), "/tmp/x");
    paths.addDrive('c', "/prefix/drive_c");
    paths.addDrive('D', "/prefix/drive_c/data");
    EXPECT_EQ(paths.toHost("C:\\Bases\\Trade\\"), "/prefix/drive_c/Bases/Trade/");
    EXPECT_EQ(paths.toHost("Z:\\tmp"), "");
    EXPECT_EQ(paths.toHost("/abs/path"), "/abs/path");
    EXPECT_EQ(paths.toWindows("/prefix/drive_c/data/x"), "D:\\x");
    EXPECT_EQ(paths.toWindows("/prefix/drive_c"), "C:\\");
    EXPECT_EQ(paths.toWindows("/prefix/drive_cc"), "");
}
