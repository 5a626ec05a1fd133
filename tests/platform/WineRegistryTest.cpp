#include "platform/posix/WineRegistry.h"

#include "support/TempDir.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::RegistryError;
using platform::RegistryRoot;
using platform::WineRegistry;

namespace {

const std::string titles = "Software\\1C\\1Cv7\\7.7\\Titles";

// A prefix in a temporary directory with the given hive as user.reg; the Wine server is "running"
// when the test says so, and every reg argv is recorded.
class WineRegistryTest : public ::testing::Test {
protected:
    void useHive(const std::filesystem::path& source) { std::filesystem::copy_file(source, m_dir.path() / "user.reg"); }
    WineRegistry& registry() {
        if (!m_registry)
            m_registry = std::make_unique<WineRegistry>(
                m_dir.path().string(), [this] { return m_serverRunning; },
                [this](const std::vector<std::string>& argv) {
                    m_sent.push_back(argv);
                    return m_regSucceeds;
                });
        return *m_registry;
    }
    std::string userReg() const { return testsupport::readFile(m_dir.path() / "user.reg"); }

    testsupport::TempDir m_dir;
    bool m_serverRunning = false;
    bool m_regSucceeds = true;
    std::vector<std::vector<std::string>> m_sent;
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
    EXPECT_TRUE(m_sent.empty()); // no server, no reg tool
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

TEST_F(WineRegistryTest, WhileTheServerRunsWritesAlsoGoThroughReg) {
    useHive(testsupport::testFixture("platform/small.reg"));
    m_serverRunning = true;
    auto key = registry().openKey(RegistryRoot::CurrentUser, titles);
    key->writeString("C:\\Bases\\Бух2003\\", "Бух \"2003\"");
    key->writeString("", "default");
    EXPECT_TRUE(key->deleteValue("путь"));
    registry().createKey(RegistryRoot::CurrentUser, "Software\\Tarvesk");
    const std::string k = "HKCU\\Software\\1C\\1Cv7\\7.7\\Titles";
    const std::vector<std::vector<std::string>> expected{
        {"wine", "reg", "add", k, "/v", "C:\\Bases\\Бух2003\\", "/t", "REG_SZ", "/d", "Бух \"2003\"", "/f"},
        {"wine", "reg", "add", k, "/ve", "/t", "REG_SZ", "/d", "default", "/f"},
        {"wine", "reg", "delete", k, "/v", "Путь", "/f"},
        {"wine", "reg", "add", "HKCU\\Software\\Tarvesk", "/f"},
    };
    EXPECT_EQ(m_sent, expected);
    // The file is written as well.
    EXPECT_NE(userReg().find("@=\"default\""), std::string::npos);
}

TEST_F(WineRegistryTest, AFailedServerWriteIsReported) {
    useHive(testsupport::testFixture("platform/small.reg"));
    m_serverRunning = true;
    m_regSucceeds = false;
    auto key = registry().openKey(RegistryRoot::CurrentUser, titles);
    try {
        key->writeString("Name", "x");
        ADD_FAILURE() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Name'");
    }
    EXPECT_FALSE(key->deleteValue("Count"));
}

TEST(WinePrefix, ServerSocketIsNamedByTheDirectorysDeviceAndInode) {
    testsupport::TempDir dir;
    struct stat st {};
    ASSERT_EQ(stat(dir.path().c_str(), &st), 0);
    char expected[128];
    std::snprintf(expected, sizeof expected, "/tmp/.wine-%u/server-%llx-%llx/socket", getuid(),
                  static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino));
    EXPECT_EQ(platform::WinePrefix::serverSocketPath(dir.path().string()), expected);
    EXPECT_FALSE(platform::WinePrefix::serverRunning(dir.path().string()));
    EXPECT_EQ(platform::WinePrefix::serverSocketPath((dir.path() / "missing").string()), "");
}
