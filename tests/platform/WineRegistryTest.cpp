#include "platform/posix/WineRegistry.h"

#include "FakeWineServer.h"
#include "platform/posix/BridgeFields.h"
#include "support/TempDir.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::RegistryError;
using platform::RegistryRoot;
using platform::WineRegistry;

namespace {

const std::string titles = "Software\\1C\\1Cv7\\7.7\\Titles";

// A prefix in a temporary directory with the given hive as user.reg; a Wine server "runs" when the
// test says so, holding its own copy of the hive in memory.
class WineRegistryTest : public ::testing::Test {
protected:
    void useHive(const std::filesystem::path& source) {
        std::filesystem::copy_file(source, m_dir.path() / "user.reg");
        // The shared fixtures are read-only; Wine's own hive files are not.
        std::filesystem::permissions(m_dir.path() / "user.reg", std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        m_server = std::make_unique<platformtest::FakeWineServer>(userReg());
    }
    WineRegistry& registry() {
        if (!m_registry)
            m_registry = std::make_unique<WineRegistry>(
                m_dir.path().string(), [this] { return m_serverRunning; },
                [this](const std::string& request) { return m_server->exchange(request); });
        return *m_registry;
    }
    std::string userReg() const { return testsupport::readFile(m_dir.path() / "user.reg"); }

    testsupport::TempDir m_dir;
    bool m_serverRunning = false;
    std::unique_ptr<platformtest::FakeWineServer> m_server;
    std::unique_ptr<WineRegistry> m_registry;
};

} // namespace

TEST_F(WineRegistryTest, ReadsTheTitlesOfAWineWrittenHiveAsAnsi) {
    useHive(testsupport::sharedFixture("wine/user.reg"));
    const auto key = registry().openKey(RegistryRoot::CurrentUser, titles);
    ASSERT_TRUE(key);
    const std::vector<std::string> names{
        "C:\\Bases\\ansi_?????\\", "C:\\Bases\\ansi_Склад\\", "C:\\Bases\\Ascii\\",         "C:\\Bases\\Торговля\\",
        "C:\\База2\\Ф1C",          "D:\\1C\\Бух \"кавычки\"", "E:\\ruUTF8_P\"P5Q\x01Q\x02", "F:\\mix_Тест"};
    EXPECT_EQ(key->valueNames(), names);
    EXPECT_EQ(key->readString("C:\\Bases\\Ascii\\"), "Plain ASCII title");
    EXPECT_EQ(key->readString("c:\\bases\\ТОРГОВЛЯ\\"), "Торговля и склад");
    // Latin-1 letters have no place in Windows-1251; the name read back still finds its value.
    EXPECT_EQ(key->readString("C:\\Bases\\ansi_?????\\"), "????? (cp1251 bytes via A API)");
    EXPECT_EQ(key->readString("Missing"), std::nullopt);
}

TEST_F(WineRegistryTest, ValueNamesMatchWithoutRegardToCase) {
    useHive(testsupport::testFixture("platform/small.reg"));
    const auto key = registry().openKey(RegistryRoot::CurrentUser, "SOFTWARE\\1c\\1cv7\\7.7\\TITLES");
    ASSERT_TRUE(key);
    for (const char* name : {"Путь", "ПУТЬ", "путь", "пУТь"})
        EXPECT_EQ(key->readString(name), "C:\\Базы\\") << name;
    for (const char* name : {"expand", "EXPAND"})
        EXPECT_EQ(key->readString(name), "%USERPROFILE%\\Desktop") << name;
    EXPECT_TRUE(key->hasValue("c:\\BASES\\бух\\"));
    EXPECT_EQ(key->readString(""), "Default title");
}

TEST_F(WineRegistryTest, ANonStringValueIsAnError) {
    useHive(testsupport::testFixture("platform/small.reg"));
    const auto key = registry().openKey(RegistryRoot::CurrentUser, titles);
    for (const char* name : {"Count", "Blob"}) {
        try {
            key->readString(name);
            ADD_FAILURE() << name << " read as a string";
        } catch (const RegistryError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Invalid data type for '") + name + "'");
        }
    }
}

TEST_F(WineRegistryTest, WrittenCyrillicReadsBackAndIsStoredAsEscapes) {
    useHive(testsupport::sharedFixture("wine/user.reg"));
    auto key = registry().openKey(RegistryRoot::CurrentUser, titles);
    key->writeString("C:\\Bases\\Бух2003\\", "Бух2003");
    EXPECT_NE(userReg().find("\"C:\\\\Bases\\\\\\x0411\\x0443\\x04452003\\\\\"=\"\\x0411\\x0443\\x04452003\"\n"),
              std::string::npos);
    // A fresh registry reads the file from scratch.
    WineRegistry again(m_dir.path().string());
    EXPECT_EQ(again.openKey(RegistryRoot::CurrentUser, titles)->readString("c:\\bases\\БУХ2003\\"), "Бух2003");
    EXPECT_EQ(m_server->exchanges(), 0); // no server, no helper
}

TEST_F(WineRegistryTest, WriteKeepsTheRestOfTheFileByteForByte) {
    useHive(testsupport::sharedFixture("wine/user.reg"));
    const std::string before = userReg();
    registry().openKey(RegistryRoot::CurrentUser, titles)->writeString("c:\\bases\\ascii\\", "Новое");
    const std::string after = userReg();
    const auto valueAt = before.find("\"C:\\\\Bases\\\\Ascii\\\\\"=");
    const auto keyAt = before.rfind("[Software\\\\1C\\\\1Cv7\\\\7.7\\\\Titles]", valueAt);
    // Everything before the key line and after the changed value line is unchanged.
    EXPECT_EQ(after.substr(0, keyAt), before.substr(0, keyAt));
    const std::string oldLine = "\"C:\\\\Bases\\\\Ascii\\\\\"=\"Plain ASCII title\"\n";
    const std::string newLine = "\"C:\\\\Bases\\\\Ascii\\\\\"=\"\\x041d\\x043e\\x0432\\x043e\\x0435\"\n";
    const auto tail = before.substr(valueAt + oldLine.size());
    ASSERT_GE(after.size(), tail.size());
    EXPECT_EQ(after.substr(after.size() - tail.size()), tail);
    EXPECT_NE(after.find(newLine), std::string::npos);
    EXPECT_EQ(after.size() - before.size(), newLine.size() - oldLine.size());
}

TEST_F(WineRegistryTest, DeleteAndCreate) {
    useHive(testsupport::testFixture("platform/small.reg"));
    auto key = registry().openKey(RegistryRoot::CurrentUser, titles);
    EXPECT_TRUE(key->deleteValue("ПУТЬ"));
    EXPECT_FALSE(key->deleteValue("Путь"));
    EXPECT_FALSE(key->hasValue("Путь"));

    EXPECT_FALSE(registry().openKey(RegistryRoot::CurrentUser, "Software\\Tarvesk\\Settings"));
    auto created = registry().createKey(RegistryRoot::CurrentUser, "Software\\Tarvesk\\Settings");
    ASSERT_TRUE(created);
    EXPECT_TRUE(created->valueNames().empty());
    EXPECT_TRUE(registry().openKey(RegistryRoot::CurrentUser, "software\\tarvesk\\settings"));
    EXPECT_NE(userReg().find("\n[Software\\\\Tarvesk\\\\Settings] "), std::string::npos);
    // The key that exists only through its subkeys opens as it is and is not written.
    const std::string text = userReg();
    EXPECT_TRUE(registry().createKey(RegistryRoot::CurrentUser, "Software\\Vendor"));
    EXPECT_EQ(userReg(), text);
}

TEST_F(WineRegistryTest, MissingKeyHiveOrPrefixIsMissingAndNothingIsCreated) {
    useHive(testsupport::testFixture("platform/small.reg"));
    EXPECT_FALSE(registry().openKey(RegistryRoot::CurrentUser, "Software\\1C\\1Cv7\\7.7\\Nothing"));
    WineRegistry withoutTitles((m_dir.path() / "other").string());
    std::filesystem::create_directory(m_dir.path() / "other");
    testsupport::writeFile(m_dir.path() / "other" / "user.reg", "WINE REGISTRY Version 2\n\n[Software\\\\1C] 1\n");
    EXPECT_TRUE(withoutTitles.openKey(RegistryRoot::CurrentUser, "Software\\1C"));
    EXPECT_FALSE(withoutTitles.openKey(RegistryRoot::CurrentUser, titles));
    // system.reg does not exist in this prefix.
    EXPECT_FALSE(registry().openKey(RegistryRoot::LocalMachine, "Software"));
    EXPECT_FALSE(registry().createKey(RegistryRoot::LocalMachine, "Software\\Tarvesk"));
    EXPECT_FALSE(std::filesystem::exists(m_dir.path() / "system.reg"));

    WineRegistry none((m_dir.path() / "no-prefix").string());
    EXPECT_FALSE(none.openKey(RegistryRoot::CurrentUser, titles));
    EXPECT_FALSE(none.createKey(RegistryRoot::CurrentUser, titles));
    EXPECT_FALSE(std::filesystem::exists(m_dir.path() / "no-prefix"));
}

TEST_F(WineRegistryTest, AnInvalidHiveIsNeverWritten) {
    useHive(testsupport::testFixture("platform/wrong-header-version.reg"));
    const std::string before = userReg();
    EXPECT_FALSE(registry().openKey(RegistryRoot::CurrentUser, titles));
    EXPECT_FALSE(registry().createKey(RegistryRoot::CurrentUser, titles));
    EXPECT_EQ(userReg(), before);
}

TEST_F(WineRegistryTest, AReadOnlyHiveIsLeftAsItIs) {
    useHive(testsupport::testFixture("platform/small.reg"));
    std::filesystem::permissions(m_dir.path() / "user.reg", std::filesystem::perms::owner_read);
    const std::string before = userReg();
    auto key = registry().openKey(RegistryRoot::CurrentUser, titles);
    EXPECT_THROW(key->writeString("Name", "data"), RegistryError);
    EXPECT_EQ(userReg(), before);
}

TEST_F(WineRegistryTest, AFileRemovedUnderAnOpenKeyFailsTheWrite) {
    useHive(testsupport::testFixture("platform/small.reg"));
    auto key = registry().openKey(RegistryRoot::CurrentUser, titles);
    std::filesystem::remove(m_dir.path() / "user.reg");
    EXPECT_THROW(key->writeString("Name", "data"), RegistryError);
    EXPECT_FALSE(key->deleteValue("Count"));
    EXPECT_FALSE(std::filesystem::exists(m_dir.path() / "user.reg"));
}

TEST_F(WineRegistryTest, SeesChangesMadeByOthers) {
    useHive(testsupport::testFixture("platform/small.reg"));
    auto key = registry().openKey(RegistryRoot::CurrentUser, titles);
    EXPECT_EQ(key->readString("Путь"), "C:\\Базы\\");
    std::string text = userReg();
    text.replace(text.find("\\x411\\x430\\x437\\x44b"), 20, "Other");
    testsupport::writeFile(m_dir.path() / "user.reg.new", text);
    std::filesystem::rename(m_dir.path() / "user.reg.new", m_dir.path() / "user.reg");
    EXPECT_EQ(key->readString("Путь"), "C:\\Other\\");
}

TEST_F(WineRegistryTest, AWriteThroughALinkReplacesTheLinkedFile) {
    std::filesystem::create_directory(m_dir.path() / "real");
    std::filesystem::copy_file(testsupport::testFixture("platform/small.reg"), m_dir.path() / "real" / "user.reg");
    std::filesystem::create_symlink("real/user.reg", m_dir.path() / "user.reg");
    registry().openKey(RegistryRoot::CurrentUser, titles)->writeString("Linked", "yes");
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir.path() / "user.reg"));
    EXPECT_NE(testsupport::readFile(m_dir.path() / "real" / "user.reg").find("\"Linked\"=\"yes\""), std::string::npos);
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.path() / "real"))
        EXPECT_EQ(entry.path().filename(), "user.reg"); // no temporary file left
}

TEST_F(WineRegistryTest, CharactersWindows1251LacksAreWrittenAsQuestionMarks) {
    useHive(testsupport::testFixture("platform/small.reg"));
    auto key = registry().openKey(RegistryRoot::CurrentUser, titles);
    key->writeString("Name", "a\u20B9b \xFF");
    EXPECT_EQ(key->readString("Name"), "a?b ?");
}

TEST_F(WineRegistryTest, WhileTheServerRunsReadsAndWritesGoToItAndNeverToTheFile) {
    useHive(testsupport::testFixture("platform/small.reg"));
    const std::string file = userReg();
    m_serverRunning = true;
    // What a Windows program wrote a moment ago lives only in the server so far.
    platform::BridgeWriter set;
    set.field("reg").field("set").field("HKCU").field(titles).field("C:\\Новая\\").field("Новая");
    m_server->exchange(set.bytes());
    auto key = registry().openKey(RegistryRoot::CurrentUser, titles);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readString("c:\\НОВАЯ\\"), "Новая");
    EXPECT_EQ(key->readString("Путь"), "C:\\Базы\\");
    EXPECT_THROW(key->readString("Count"), RegistryError);

    key->writeString("C:\\Bases\\Бух2003\\", "Бух \"2003\"");
    key->writeString("", "default");
    EXPECT_TRUE(key->deleteValue("путь"));
    EXPECT_FALSE(key->deleteValue("путь"));
    EXPECT_EQ(key->readString("C:\\BASES\\бух2003\\"), "Бух \"2003\"");
    EXPECT_FALSE(key->hasValue("Путь"));
    EXPECT_TRUE(registry().createKey(RegistryRoot::CurrentUser, "Software\\Tarvesk"));
    EXPECT_FALSE(registry().openKey(RegistryRoot::CurrentUser, "Software\\Missing"));

    const auto& server = m_server->hive();
    EXPECT_EQ(server.value(titles, "C:\\Bases\\Бух2003\\")->data, "Бух \"2003\"");
    EXPECT_EQ(server.value(titles, "")->data, "default");
    EXPECT_FALSE(server.value(titles, "Путь"));
    EXPECT_TRUE(server.keyExists("Software\\Tarvesk"));
    EXPECT_EQ(userReg(), file); // the server saves the file itself; a write there would be lost
}

TEST_F(WineRegistryTest, AServerThatCannotBeReachedFailsWritesAndLeavesReadsToTheFile) {
    useHive(testsupport::testFixture("platform/small.reg"));
    const std::string file = userReg();
    m_serverRunning = true;
    m_server->setFailing(true);
    auto key = registry().openKey(RegistryRoot::CurrentUser, titles);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readString("Путь"), "C:\\Базы\\");
    try {
        key->writeString("Name", "x");
        ADD_FAILURE() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Name'");
    }
    EXPECT_FALSE(key->deleteValue("Count"));
    EXPECT_FALSE(registry().createKey(RegistryRoot::CurrentUser, "Software\\Tarvesk"));
    EXPECT_EQ(userReg(), file);
}

TEST_F(WineRegistryTest, AServerThatStartsDuringAFileWriteGetsTheWriteToo) {
    useHive(testsupport::testFixture("platform/small.reg"));
    auto key = registry().openKey(RegistryRoot::CurrentUser, titles);
    // The server comes up while the file is written: it may have read the file before.
    m_server = std::make_unique<platformtest::FakeWineServer>(userReg());
    int probes = 0;
    m_registry = std::make_unique<WineRegistry>(
        m_dir.path().string(), [&probes] { return ++probes > 2; }, // open, write: no server yet
        [this](const std::string& request) { return m_server->exchange(request); });
    key = m_registry->openKey(RegistryRoot::CurrentUser, titles);
    key->writeString("Late", "yes");
    EXPECT_NE(userReg().find("\"Late\"=\"yes\""), std::string::npos);
    EXPECT_EQ(m_server->hive().value(titles, "Late")->data, "yes");
}

namespace {

// What a running Wine server leaves in its directory: the socket, and a lock on the first byte of
// "lock" held by a process of its own (a lock of this process would not count for itself).
class ServerStandIn {
public:
    explicit ServerStandIn(const std::string& directory) : m_directory(directory) {
        m_socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = directory + "/socket";
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        EXPECT_EQ(::bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    }
    ~ServerStandIn() {
        unlock();
        ::close(m_socket);
    }
    void lock() {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        m_holder = ::fork();
        if (m_holder == 0) {
            ::close(fds[1]);
            const int fd = ::open((m_directory + "/lock").c_str(), O_CREAT | O_WRONLY, 0600);
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            lock.l_len = 1;
            ::fcntl(fd, F_SETLK, &lock);
            char c;
            while (::read(fds[0], &c, 1) > 0) { // until the parent closes its end
            }
            ::_exit(0);
        }
        ::close(fds[0]);
        m_release = fds[1];
        // The child has its lock once the file is locked.
        for (int i = 0; i < 500 && !platform::WinePrefix::serverRunning(m_prefix); ++i)
            ::usleep(2000);
    }
    void setPrefix(const std::string& prefix) { m_prefix = prefix; }
    void unlock() {
        if (m_holder <= 0)
            return;
        ::close(m_release);
        int status = 0;
        ::waitpid(m_holder, &status, 0);
        m_holder = -1;
    }

private:
    std::string m_directory;
    std::string m_prefix;
    int m_socket = -1;
    int m_release = -1;
    pid_t m_holder = -1;
};

} // namespace

TEST(WinePrefix, TheServerIsFoundInBothSocketLayoutsOnlyWhileItHoldsItsLock) {
    testsupport::TempDir dir;
    const std::string prefix = dir.path().string();
    struct stat st {};
    ASSERT_EQ(stat(dir.path().c_str(), &st), 0);
    char server[64];
    std::snprintf(server, sizeof server, "server-%llx-%llx", static_cast<unsigned long long>(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));
    const std::string upstream = "/tmp/.wine-" + std::to_string(getuid()) + "/" + server;
    EXPECT_EQ(platform::WinePrefix::serverDirectories(prefix), std::vector<std::string>{upstream});
    EXPECT_TRUE(platform::WinePrefix::serverDirectories((dir.path() / "missing").string()).empty());

    // Debian's layout: the directory's name is in the prefix's file "wineserver".
    const std::string name = "wine-test" + std::to_string(getpid());
    testsupport::writeFile(dir.path() / "wineserver", name);
    const std::string debian = "/tmp/" + name + "/" + server;
    EXPECT_EQ(platform::WinePrefix::serverDirectories(prefix), (std::vector<std::string>{upstream, debian}));
    EXPECT_FALSE(platform::WinePrefix::serverRunning(prefix));

    for (const std::string& directory : {upstream, debian}) {
        std::filesystem::create_directories(directory);
        {
            ServerStandIn standIn(directory);
            standIn.setPrefix(prefix);
            EXPECT_FALSE(platform::WinePrefix::serverRunning(prefix)) << directory << ": a dead server's socket";
            standIn.lock();
            EXPECT_TRUE(platform::WinePrefix::serverRunning(prefix)) << directory;
            standIn.unlock();
            EXPECT_FALSE(platform::WinePrefix::serverRunning(prefix)) << directory;
        }
        std::filesystem::remove_all(directory);
    }
    std::filesystem::remove_all("/tmp/" + name);
    std::error_code ignored; // the upstream directory stays if a real Wine uses it
    std::filesystem::remove(std::filesystem::path(upstream).parent_path(), ignored);

    // A name that would lead out of /tmp is not followed.
    testsupport::writeFile(dir.path() / "wineserver", "../etc");
    EXPECT_EQ(platform::WinePrefix::serverDirectories(prefix), std::vector<std::string>{upstream});
}
