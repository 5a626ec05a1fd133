#include "platform/posix/WineShellFolders.h"
#include "platform/posix/WinePathMapper.h"
#include "platform/posix/WineRegistry.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

const std::string hiveHeader =
    "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n#arch=win64\n";

class WineShellFoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_dir.path() / "dosdevices");
        fs::create_directories(m_dir.path() / "drive_c" / "users");
        fs::create_symlink("../drive_c", m_dir.path() / "dosdevices" / "c:");
    }
    void writeHives(const std::string& user, const std::string& system) {
        testsupport::writeFile(m_dir.path() / "user.reg", hiveHeader + user);
        testsupport::writeFile(m_dir.path() / "system.reg", hiveHeader + system);
    }
    std::string folder(int csidl, bool create = false) {
        platform::WineRegistry registry(m_dir.path().string());
        platform::WinePathMapper paths(m_dir.path().string());
        platform::WineShellFolders folders(registry, paths, "anna");
        return folders.specialFolderPath(csidl, create);
    }

    testsupport::TempDir m_dir;
};

} // namespace

TEST_F(WineShellFoldersTest, DefaultsOfCurrentWine) {
    writeHives("", "");
    const struct {
        int csidl;
        std::string path;
    } cases[] = {
        {0, "C:\\users\\anna\\Desktop"},
        {16, "C:\\users\\anna\\Desktop"},
        {2, "C:\\users\\anna\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
        {5, "C:\\users\\anna\\Documents"},
        {7, "C:\\users\\anna\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp"},
        {29, "C:\\users\\anna\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp"},
        {11, "C:\\users\\anna\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"},
        {26, "C:\\users\\anna\\AppData\\Roaming"},
        {20, "C:\\windows\\Fonts"},
        {22, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu"},
        {24, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp"},
        {25, "C:\\users\\Public\\Desktop"},
        {34, "C:\\users\\anna\\AppData\\Local\\Microsoft\\Windows\\History"},
        {1, ""},
        {3, ""},
        {4, ""},
        {10, ""},
        {17, ""},
        {18, ""},
        {12, ""}, // not one of the known ids
        {-1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(folder(c.csidl), c.path) << c.csidl;
}

TEST_F(WineShellFoldersTest, FoldersRecordedByWineWin) {
    writeHives("\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
               "\"Desktop\"=\"C:\\\\users\\\\anna\\\\\\x0420\\x0430\\x0431\\x043e\\x0447\\x0438\\x0439 "
               "\\x0441\\x0442\\x043e\\x043b\\\\\"\n"
               "\"StartUp\"=\"C:\\\\users\\\\anna\\\\Start Menu\\\\Programs\\\\StartUp\"\n"
               "\"Personal\"=dword:00000001\n",
               "\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
               "\"Common Desktop\"=\"D:\\\\Shared\\\\Desktop\"\n");
    EXPECT_EQ(folder(0), "C:\\users\\anna\\Рабочий стол"); // trailing "\" dropped
    EXPECT_EQ(folder(16), "C:\\users\\anna\\Рабочий стол");
    EXPECT_EQ(folder(7), "C:\\users\\anna\\Start Menu\\Programs\\StartUp"); // found as "Startup"
    EXPECT_EQ(folder(5), "C:\\users\\anna\\Documents");                     // not a string: default
    EXPECT_EQ(folder(25), "D:\\Shared\\Desktop");
    EXPECT_EQ(folder(26), "C:\\users\\anna\\AppData\\Roaming");
}

TEST_F(WineShellFoldersTest, TheFixtureOfARealPrefix) {
    fs::copy_file(testsupport::sharedFixture("wine/user.reg"), m_dir.path() / "user.reg");
    platform::WineRegistry registry(m_dir.path().string());
    platform::WinePathMapper paths(m_dir.path().string());
    platform::WineShellFolders folders(registry, paths, "someone-else");
    EXPECT_EQ(folders.specialFolderPath(0, false), "C:\\users\\root\\Desktop");
    EXPECT_EQ(folders.specialFolderPath(7, false),
              "C:\\users\\root\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp");
    // No system.reg: the common folders take the defaults.
    EXPECT_EQ(folders.specialFolderPath(25, false), "C:\\users\\Public\\Desktop");
}

TEST_F(WineShellFoldersTest, CreateMakesTheFolder) {
    writeHives("", "");
    const fs::path startup =
        m_dir.path() / "drive_c/users/anna/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/StartUp";
    EXPECT_EQ(folder(7, false), "C:\\users\\anna\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp");
    EXPECT_FALSE(fs::exists(startup));
    folder(7, true);
    EXPECT_TRUE(fs::is_directory(startup));
    // An existing folder with other capitals is reused, not doubled.
    fs::create_directories(m_dir.path() / "drive_c/users/anna/DESKTOP");
    folder(0, true);
    EXPECT_FALSE(fs::exists(m_dir.path() / "drive_c/users/anna/Desktop"));
}
