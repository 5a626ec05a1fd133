// Reading and replacing whole files: what a user's file may expect of every writer of the program.
#include "platform/WholeFile.h"

#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::FileReplacement;

namespace {

// Names in the directory besides the given ones: a temporary left behind shows here.
std::vector<std::string> othersIn(const fs::path& dir, const std::vector<std::string>& expected) {
    std::vector<std::string> others;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const auto name = entry.path().filename().string();
        if (std::find(expected.begin(), expected.end(), name) == expected.end())
            others.push_back(name);
    }
    return others;
}

mode_t modeOf(const fs::path& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

class WholeFileTest : public ::testing::Test {
protected:
    void TearDown() override { platform::failWholeFileCall(0); }
    fs::path file(const std::string& name) const { return m_dir.path() / name; }
    testsupport::TempDir m_dir;
};

} // namespace

TEST_F(WholeFileTest, ReplacesTheContentKeepsThePermissionsAndFollowsALink) {
    testsupport::writeFile(file("a.ini"), "old");
    fs::permissions(file("a.ini"), fs::perms(0640));
    ASSERT_TRUE(platform::replaceWholeFile(file("a.ini"), "new content"));
    EXPECT_EQ(testsupport::readFile(file("a.ini")), "new content");
    EXPECT_EQ(modeOf(file("a.ini")), 0640u);

    const mode_t mask = ::umask(022);
    ASSERT_TRUE(platform::replaceWholeFile(file("fresh.cfg"), "x"));
    ::umask(mask);
    EXPECT_EQ(modeOf(file("fresh.cfg")), 0644u) << "a new file gets the usual permissions";

    fs::create_directory(file("real"));
    testsupport::writeFile(file("real/user.reg"), "old");
    fs::create_symlink("real/user.reg", file("user.reg"));
    fs::create_symlink("real/new.reg", file("dangling.reg"));
    ASSERT_TRUE(platform::replaceWholeFile(file("user.reg"), "through the link"));
    ASSERT_TRUE(platform::replaceWholeFile(file("dangling.reg"), "made"));
    EXPECT_TRUE(fs::is_symlink(file("user.reg")));
    EXPECT_EQ(testsupport::readFile(file("real/user.reg")), "through the link");
    EXPECT_EQ(testsupport::readFile(file("real/new.reg")), "made");
    EXPECT_TRUE(othersIn(m_dir.path(), {"a.ini", "fresh.cfg", "real", "user.reg", "dangling.reg"}).empty());
}

// A read-only file is the user's decision, as on Windows, where not even an administrator writes
// it: it stays byte for byte, for root as for anybody; a file of another user is refused too.
TEST_F(WholeFileTest, AFileTheUserMayNotWriteIsLeftAsItIs) {
    testsupport::writeFile(file("Tarvesk.ini"), "[Common]\r\nx=1\r\n");
    fs::permissions(file("Tarvesk.ini"), fs::perms(0444));
    const auto refused = platform::replaceWholeFile(file("Tarvesk.ini"), "changed");
    EXPECT_EQ(refused.status, FileReplacement::Status::readOnly);
    EXPECT_EQ(refused.explanation(), "файл только для чтения");
    EXPECT_EQ(testsupport::readFile(file("Tarvesk.ini")), "[Common]\r\nx=1\r\n");
    EXPECT_TRUE(othersIn(m_dir.path(), {"Tarvesk.ini"}).empty());

    // The same for a user without privileges, in a directory it may write.
    testsupport::openToEverybody(m_dir.path());
    testsupport::writeFile(file("others.cfg"), "someone else's");
    fs::permissions(file("others.cfg"), fs::perms(0644));
    EXPECT_TRUE(testsupport::asUnprivilegedUser([&] {
        return platform::replaceWholeFile(file("Tarvesk.ini"), "changed").status == FileReplacement::Status::readOnly &&
               (::geteuid() != 65534 ||
                platform::replaceWholeFile(file("others.cfg"), "changed").status == FileReplacement::Status::readOnly);
    }));
    EXPECT_EQ(testsupport::readFile(file("Tarvesk.ini")), "[Common]\r\nx=1\r\n");
    EXPECT_EQ(testsupport::readFile(file("others.cfg")), "someone else's");
    EXPECT_TRUE(othersIn(m_dir.path(), {"Tarvesk.ini", "others.cfg"}).empty());
}

// Every system call of a replacement failing in turn: the old file stays whole, no temporary is
// left, the failure is reported; the call after the last one that can fail lets it succeed.
TEST_F(WholeFileTest, WithTheNthCallFailingTheOldFileStaysAndNothingIsLeft) {
    const std::string old = "[Common]\r\ncbxSysTray_Checked=1\r\n";
    const std::string bytes(100000, 'n');
    testsupport::writeFile(file("Tarvesk.ini"), old);
    int n = 1;
    for (;; ++n) {
        ASSERT_LT(n, 100) << "never succeeded";
        platform::failWholeFileCall(n);
        const auto result = platform::replaceWholeFile(file("Tarvesk.ini"), bytes);
        if (result)
            break;
        EXPECT_EQ(result.status, FileReplacement::Status::failed) << n;
        EXPECT_FALSE(result.reason.empty()) << n;
        EXPECT_EQ(testsupport::readFile(file("Tarvesk.ini")), old) << n;
        EXPECT_TRUE(othersIn(m_dir.path(), {"Tarvesk.ini"}).empty()) << n;
    }
    EXPECT_GE(n, 6) << "create, write, permissions, sync, close, rename can each fail";
    EXPECT_EQ(testsupport::readFile(file("Tarvesk.ini")), bytes);
}

TEST_F(WholeFileTest, NoRegularFileIsReplacedOrWaitedFor) {
    fs::create_directory(file("dir.cfg"));
    ASSERT_EQ(::mkfifo(file("fifo.cfg").c_str(), 0600), 0);
    EXPECT_EQ(platform::replaceWholeFile(file("dir.cfg"), "x").status, FileReplacement::Status::failed);
    EXPECT_EQ(platform::replaceWholeFile(file("fifo.cfg"), "x").status, FileReplacement::Status::failed);
    EXPECT_TRUE(fs::is_fifo(file("fifo.cfg")));
    EXPECT_EQ(platform::readWholeFile(file("fifo.cfg"), 100).status, platform::WholeFile::Status::notRegular);
    EXPECT_EQ(platform::readWholeFile(file("missing"), 100).status, platform::WholeFile::Status::missing);
    testsupport::writeFile(file("big"), std::string(101, 'b'));
    EXPECT_EQ(platform::readWholeFile(file("big"), 100).status, platform::WholeFile::Status::tooLarge);
    EXPECT_EQ(platform::readWholeFile(file("big"), 101).bytes, std::string(101, 'b'));
}
