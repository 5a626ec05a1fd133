// Import of dropped shortcuts: which files count, what reaches the Titles key and table folder
// under each cmbShortCut value, and what a failure stops. Table folder is faked here; the
// tests on real tables are in ShortcutImportTableTest.cpp.
#include "main/ShortcutImport.h"

#include "ShortcutImportSupport.h"
#include "app/Common.h"
#include "launch/FakeSettingsView.h"
#include "shell/ShellError.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <stdexcept>

namespace {

using mainwin::ShortcutImport;
using Row = std::map<std::string, std::string>;

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// Table folder as a vector; records the refreshes.
class FakeRows : public mainwin::InfobaseRows {
public:
    std::vector<Row> rows;
    bool failPost = false;
    bool failUndo = false; // cancel and refreshSearch raise too
    int searchRefreshes = 0;
    int folderRefreshes = 0;

    bool locatePath(const std::string& directory) override {
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (upper(rows[i]["PATH"]) == upper(directory)) {
                m_current = i;
                return true;
            }
        return false;
    }
    void edit() override {
        m_pending = rows.at(m_current.value());
        m_editing = true;
    }
    void insert() override {
        m_pending = Row{{"CATEGORY", std::to_string(app::CurrentCategoryId)},
                        {"DIVISION", std::to_string(app::CurrentDivisionId)}};
        m_editing = false;
    }
    void setField(std::string_view field, const std::string& value) override {
        m_pending.value()[std::string(field)] = value;
    }
    void post() override {
        if (failPost)
            throw std::runtime_error("record is locked");
        if (m_editing)
            rows[*m_current] = *m_pending;
        else
            rows.push_back(*m_pending);
        m_pending.reset();
    }
    void cancel() override {
        m_pending.reset();
        if (failUndo)
            throw std::runtime_error("file is gone");
    }
    void refreshSearch() override {
        ++searchRefreshes;
        if (failUndo)
            throw std::runtime_error("file is gone");
    }
    void refreshFolder() override { ++folderRefreshes; }

    bool pending() const { return m_pending.has_value(); }

private:
    std::optional<std::size_t> m_current;
    std::optional<Row> m_pending;
    bool m_editing = false;
};

class ShortcutImportTest : public ::testing::Test, protected shortcuttest::DropFixture {
protected:
    FakeRows m_rows;
    testsupport::FakeSettingsView m_settings;
    ShortcutImport m_import{m_shell, m_registry, m_rows, m_settings};
};

TEST_F(ShortcutImportTest, ShortcutBecomesAnInfobase) {
    m_import.ImportDroppedShortcuts({link("Склад.lnk", R"(ENTERPRISE /dD:\Bases\Sklad\ /nКассир)")});
    ASSERT_EQ(m_rows.rows.size(), 1u);
    const Row expected{{"NAME", "Склад"},      {"PATH", R"(D:\Bases\Sklad\)"},
                       {"USERNAME", "Кассир"}, {"PASSWORD", ""},
                       {"USERPATH", ""},       {"PRMFILE", ""},
                       {"CATEGORY", "0"},      {"DIVISION", "0"}};
    EXPECT_EQ(m_rows.rows[0], expected);
    EXPECT_EQ(title(R"(D:\Bases\Sklad\)"), "Склад");
    EXPECT_EQ(m_rows.folderRefreshes, 1);
}

TEST_F(ShortcutImportTest, EverySwitchReachesItsFieldAndThePasswordIsScrambled) {
    m_import.ImportDroppedShortcuts(
        {link("Бух 7.7.lnk", R"(config /d"C:\Базы\Бух 7" /nГлавбух /pСекрет /uD:\Users\Бух /@C:\upload.prm)")});
    ASSERT_EQ(m_rows.rows.size(), 1u);
    Row& row = m_rows.rows[0];
    EXPECT_EQ(row["NAME"], "Бух 7.7"); // only the last "." starts the extension
    EXPECT_EQ(row["PATH"], R"(C:\Базы\Бух 7)");
    EXPECT_EQ(row["USERNAME"], "Главбух");
    EXPECT_EQ(row["PASSWORD"], app::ScramblePassword("Секрет"));
    EXPECT_NE(row["PASSWORD"], "Секрет");
    EXPECT_EQ(row["USERPATH"], R"(D:\Users\Бух)");
    EXPECT_EQ(row["PRMFILE"], R"(C:\upload.prm)");
}

TEST_F(ShortcutImportTest, DirectoryAlreadyInTheTableUnderEachSetting) {
    struct Case {
        int setting;
        std::vector<Row> after;
    };
    const Row old{{"NAME", "Старое"}, {"PATH", R"(C:\BASE\)"}, {"USERNAME", "Иван"}, {"CATEGORY", "7"}};
    Row updated = old;
    updated.insert_or_assign("NAME", "Новое");
    updated.insert_or_assign("PATH", R"(c:\base\)"); // the shortcut's spelling
    updated.insert_or_assign("USERNAME", "Пётр");
    for (const char* f : {"PASSWORD", "USERPATH", "PRMFILE"})
        updated.insert_or_assign(f, "");
    Row added = updated;
    added.insert_or_assign("CATEGORY", "0");
    added.insert_or_assign("DIVISION", "0");
    const Case cases[] = {
        {0, {old}},        // "Не добавлять"
        {-1, {old}},       // nothing selected acts as "Не добавлять"
        {1, {updated}},    // "Обновлять": the row keeps its category
        {2, {old, added}}, // "Добавлять"
    };
    const auto file = link("Новое.lnk", R"(enterprise /dc:\base\ /nПётр)");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        m_rows.rows = {old};
        m_registry.plantString(platform::RegistryRoot::CurrentUser, shortcuttest::kTitles, R"(C:\BASE\)", "Старое");
        m_settings.shortcutMode = c.setting;
        m_import.ImportDroppedShortcuts({file});
        EXPECT_EQ(m_rows.rows, c.after);
        // The Titles entry takes the shortcut's name under every setting.
        EXPECT_EQ(title(R"(C:\BASE\)"), "Новое");
    }
}

TEST_F(ShortcutImportTest, OnlyShortcutsToTheEnterpriseWithADirectoryCount) {
    std::filesystem::create_directories(host(R"(C:\Drop\Папка)"));
    const std::vector<std::string> files = {
        R"(C:\Drop\Папка)",
        plainFile("1cv7s.exe", "MZ"),
        plainFile("readme.txt"),
        link("Блокнот.lnk", R"(/dC:\Base\)", R"(C:\Windows\notepad.exe)"),
        link("Другой ключ.lnk", R"(enterprise /DC:\Base\)"), // not the spelling "/d"
        link("Без каталога.lnk", "enterprise /nКассир"),
        link("Склад.lnk", R"(enterprise /dC:\Sklad\)"),
        plainFile("ярлык.txt"),
    };
    m_import.ImportDroppedShortcuts(files);
    ASSERT_EQ(m_rows.rows.size(), 1u);
    EXPECT_EQ(m_rows.rows[0]["NAME"], "Склад");
    EXPECT_EQ(m_registry.valueNames(platform::RegistryRoot::CurrentUser, shortcuttest::kTitles),
              std::vector<std::string>{R"(C:\Sklad\)"});
}

TEST_F(ShortcutImportTest, AnUnreadableShortcutStopsTheDropAndKeepsWhatCameBefore) {
    const std::vector<std::string> files = {
        link("Первая.lnk", R"(enterprise /dC:\One\)"),
        plainFile("Сломанный.lnk", "not a shortcut"),
        link("Третья.lnk", R"(enterprise /dC:\Three\)"),
    };
    try {
        m_import.ImportDroppedShortcuts(files);
        FAIL() << "no error";
    } catch (const shell::ShellError& e) {
        EXPECT_NE(std::string(e.what()).find("Сломанный.lnk"), std::string::npos) << e.what();
    }
    ASSERT_EQ(m_rows.rows.size(), 1u);
    EXPECT_EQ(m_rows.rows[0]["NAME"], "Первая");
    EXPECT_FALSE(title(R"(C:\Three\)"));
}

TEST_F(ShortcutImportTest, ARowThatCannotBePostedIsCancelledSilently) {
    const std::vector<std::string> files = {link("Первая.lnk", R"(enterprise /dC:\One\)"),
                                            link("Вторая.lnk", R"(enterprise /dC:\Two\)")};
    m_rows.failPost = true;
    for (const bool undoFails : {false, true}) {
        SCOPED_TRACE(undoFails);
        m_rows.failUndo = undoFails;
        m_rows.searchRefreshes = m_rows.folderRefreshes = 0;
        EXPECT_NO_THROW(m_import.ImportDroppedShortcuts(files));
        EXPECT_TRUE(m_rows.rows.empty());
        EXPECT_FALSE(m_rows.pending());
        EXPECT_EQ(m_rows.searchRefreshes, 2);
        EXPECT_EQ(m_rows.folderRefreshes, 2);
        EXPECT_EQ(title(R"(C:\Two\)"), "Вторая"); // written before the table
    }
}

TEST_F(ShortcutImportTest, SeveralShortcutsOfOneInfobase) {
    const std::vector<std::string> files = {link("Первая.lnk", R"(enterprise /dC:\One\ /nА)"),
                                            link("Вторая.lnk", R"(enterprise /dc:\one\ /nБ)")};
    m_settings.shortcutMode = 2;
    m_import.ImportDroppedShortcuts(files);
    EXPECT_EQ(m_rows.rows.size(), 2u);

    m_rows.rows.clear();
    m_settings.shortcutMode = 1;
    m_import.ImportDroppedShortcuts(files);
    ASSERT_EQ(m_rows.rows.size(), 1u);
    EXPECT_EQ(m_rows.rows[0]["NAME"], "Вторая");
    EXPECT_EQ(m_rows.rows[0]["USERNAME"], "Б");
}

TEST_F(ShortcutImportTest, WithoutTheTitlesKeyTheTableIsStillUpdated) {
    platform::MemoryRegistry bare;
    ShortcutImport import(m_shell, bare, m_rows, m_settings);
    import.ImportDroppedShortcuts({link("Склад.lnk", R"(enterprise /dC:\Sklad\)")});
    EXPECT_EQ(m_rows.rows.size(), 1u);
    EXPECT_FALSE(bare.keyExists(platform::RegistryRoot::CurrentUser, shortcuttest::kTitles));
}

TEST_F(ShortcutImportTest, DroppedHostPathsBecomeWindowsPathsWithoutACut) {
    const std::string longName(300, 'x');
    const auto driveC = (m_dir.path() / "drive_c").string();
    const auto files = ShortcutImport::droppedFiles(
        {driveC + "/Drop/Склад.lnk", driveC + "/" + longName + ".lnk", "/elsewhere/Склад.lnk"}, m_paths);
    EXPECT_EQ(files,
              (std::vector<std::string>{R"(C:\Drop\Склад.lnk)", "C:\\" + longName + ".lnk", "/elsewhere/Склад.lnk"}));
    // A shortcut no drive maps is still read through its host path.
    std::filesystem::create_directories(m_dir.path() / "unmapped");
    const auto unmapped = (m_dir.path() / "unmapped" / "Склад.lnk").string();
    std::filesystem::copy_file(host(link("tmp.lnk", R"(enterprise /dC:\Sklad\)")), unmapped);
    m_import.ImportDroppedShortcuts(ShortcutImport::droppedFiles({unmapped}, m_paths));
    ASSERT_EQ(m_rows.rows.size(), 1u);
    EXPECT_EQ(m_rows.rows[0]["NAME"], "Склад");
}

TEST(ShortcutTitle, IsTheFileNameWithoutDirectoryAndExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {R"(C:\Ярлыки\Склад.lnk)", "Склад"},
        {R"(C:\Ярлыки\Бух 7.7.LNK)", "Бух 7.7"},
        {"/home/u/Рабочий стол/Склад.lnk", "Склад"},
        {R"(C:\a.b\Склад.lnk)", "Склад"},
        {"Склад.lnk", "Склад"},
    };
    for (const auto& [file, title] : cases)
        EXPECT_EQ(ShortcutImport::shortcutTitle(file), title) << file;
}

} // namespace
