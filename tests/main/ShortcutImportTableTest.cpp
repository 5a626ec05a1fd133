// Import of dropped shortcuts on the real table folder of the data module: the look-up without
// regard to case, the field widths, the new-row defaults and the refreshed infobase list.
#include "main/DataSetInfobaseRows.h"
#include "main/ShortcutImport.h"

#include "ShortcutImportSupport.h"
#include "app/Common.h"
#include "data/DMU.h"
#include "launch/FakeSettingsView.h"

#include <gtest/gtest.h>

namespace {

using mainwin::ShortcutImport;

std::string repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

class ShortcutImportTableTest : public ::testing::Test, protected shortcuttest::DropFixture {
protected:
    ShortcutImportTableTest() : m_tables((m_dir.path() / "tables").string(), m_registry) {
        std::filesystem::create_directories(m_dir.path() / "tables");
        m_tables.DataModuleCreate();
    }
    ~ShortcutImportTableTest() override {
        m_tables.DataModuleDestroy();
        app::CurrentCategoryId = 0;
        app::CurrentDivisionId = 0;
    }

    void drop(const std::vector<std::string>& files) { m_import.ImportDroppedShortcuts(files); }

    // NAME of every row of table folder in record order.
    std::vector<std::string> names() {
        std::vector<std::string> result;
        auto& search = m_tables.dbfSearch;
        search.refresh();
        for (search.first(); !search.eof(); search.next())
            result.push_back(search.fieldText("NAME"));
        return result;
    }

    data::TDM m_tables;
    mainwin::DataSetInfobaseRows m_rows{m_tables.dbfSearch, m_tables.dbfFolder};
    testsupport::FakeSettingsView m_settings;
    ShortcutImport m_import{m_shell, m_registry, m_rows, m_settings};
};

TEST_F(ShortcutImportTableTest, ANewRowHasTheShortcutsFieldsAndTheChosenItems) {
    app::CurrentCategoryId = 7;
    app::CurrentDivisionId = 3;
    drop({link("Склад.lnk", R"(ENTERPRISE /dD:\Bases\Sklad\ /nКассир /pСекрет /uD:\Users\Кассир /@D:\p.prm)")});
    auto& search = m_tables.dbfSearch;
    ASSERT_TRUE(search.locate("PATH", R"(D:\Bases\Sklad\)", false));
    EXPECT_EQ(search.fieldText("NAME"), "Склад");
    EXPECT_EQ(search.fieldText("USERNAME"), "Кассир");
    EXPECT_EQ(m_tables.InfobasePassword(search), "Секрет");
    EXPECT_NE(search.fieldText("PASSWORD"), "Секрет"); // stored scrambled
    EXPECT_EQ(search.fieldText("USERPATH"), R"(D:\Users\Кассир)");
    EXPECT_EQ(search.fieldText("PRMFILE"), R"(D:\p.prm)");
    EXPECT_EQ(search.fieldInt("CATEGORY"), 7);
    EXPECT_EQ(search.fieldInt("DIVISION"), 3);
    // The main list shows it.
    EXPECT_TRUE(m_tables.dbfFolder.locate("NAME", "Склад", false));
}

TEST_F(ShortcutImportTableTest, LongValuesAreCutToTheFieldWidths) {
    const std::string name = repeat("Я", 45); // NAME holds 40
    drop({link(name + ".lnk", R"(enterprise /dC:\Long\ /p12345678901234)")});
    auto& search = m_tables.dbfSearch;
    ASSERT_TRUE(search.locate("PATH", R"(C:\Long\)", false));
    EXPECT_EQ(search.fieldText("NAME"), repeat("Я", 40));
    EXPECT_EQ(m_tables.InfobasePassword(search), "1234567890"); // PASSWORD holds 10
}

TEST_F(ShortcutImportTableTest, UpdateFindsTheDirectoryInAnotherCaseAndTakesTheShortcutsSpelling) {
    auto& folder = m_tables.dbfFolder;
    folder.insert();
    folder.setFieldText("NAME", "Старое");
    folder.setFieldText("PATH", R"(C:\BASE\)");
    folder.setFieldInt("CATEGORY", 5);
    folder.post();
    m_settings.shortcutMode = 1;
    drop({link("Новое.lnk", R"(enterprise /dc:\base\ /nПётр)")});
    EXPECT_EQ(names(), std::vector<std::string>{"Новое"});
    auto& search = m_tables.dbfSearch;
    ASSERT_TRUE(search.locate("NAME", "Новое", false));
    EXPECT_EQ(search.fieldText("PATH"), R"(c:\base\)");
    EXPECT_EQ(search.fieldInt("CATEGORY"), 5); // an updated row keeps its category

    m_settings.shortcutMode = 2;
    drop({link("Ещё.lnk", R"(enterprise /dC:\Base\)")});
    EXPECT_EQ(names(), (std::vector<std::string>{"Новое", "Ещё"}));
    m_settings.shortcutMode = 0;
    drop({link("Другое.lnk", R"(enterprise /dC:\BASE\)")});
    EXPECT_EQ(names(), (std::vector<std::string>{"Новое", "Ещё"}));
    EXPECT_EQ(title(R"(C:\BASE\)"), "Другое");
}

} // namespace
