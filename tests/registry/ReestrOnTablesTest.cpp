#include "registry/DataSetFolderStore.h"
#include "registry/Reestr.h"

#include "ScriptedReestrUi.h"
#include "TitlesBackends.h"
#include "app/Common.h"
#include "data/DMU.h"
#include "platform/fake/MemoryRegistry.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QListWidget>
#include <gtest/gtest.h>

namespace {

using registrytest::BackendKind;
using Planted = registrytest::TitlesBackend::Planted;
using Lines = std::vector<std::string>;

// The window on the data module's real tables in a temporary directory, beside a Titles key in
// memory or in a Wine prefix.
class ReestrOnTablesTest : public ::testing::TestWithParam<BackendKind> {
protected:
    ReestrOnTablesTest() {
        app::CurrentCategoryId = 0;
        app::CurrentDivisionId = 0;
        m_dm.DataModuleCreate();
    }
    ~ReestrOnTablesTest() override {
        m_window.reset();
        m_dm.DataModuleDestroy();
        app::CurrentCategoryId = 0;
        app::CurrentDivisionId = 0;
    }
    void store(const std::string& path, const std::string& name) {
        m_dm.dbfFolder.insert();
        m_dm.dbfFolder.setFieldText("PATH", path);
        m_dm.dbfFolder.setFieldText("NAME", name);
        m_dm.dbfFolder.post();
    }
    void open(const std::vector<Planted>& planted) {
        m_backend = registrytest::makeBackend(GetParam(), planted);
        m_window = std::make_unique<registry::TfrmReestr>(nullptr, m_backend->registry(), m_folders, m_ui);
        m_window->show();
    }
    QListWidget* list() { return m_window->findChild<QListWidget*>("clbReestr"); }
    struct Row {
        std::string path, name;
        long long category, division;
        bool operator==(const Row&) const = default;
    };
    std::vector<Row> rows() {
        std::vector<Row> out;
        m_dm.dbfSearch.refresh();
        for (m_dm.dbfSearch.first(); !m_dm.dbfSearch.eof(); m_dm.dbfSearch.next())
            out.push_back({m_dm.dbfSearch.fieldText("PATH"), m_dm.dbfSearch.fieldText("NAME"),
                           m_dm.dbfSearch.fieldInt("CATEGORY"), m_dm.dbfSearch.fieldInt("DIVISION")});
        return out;
    }

    testsupport::TempDir m_dir;
    platform::MemoryRegistry m_unusedRegistry; // the data module's own Titles work is not used here
    data::TDM m_dm{m_dir.path().string() + "/", m_unusedRegistry};
    registry::DataSetFolderStore m_folders{m_dm.dbfSeek, m_dm.dbfFolder};
    registrytest::ScriptedReestrUi m_ui;
    std::unique_ptr<registrytest::TitlesBackend> m_backend;
    std::unique_ptr<registry::TfrmReestr> m_window;
};

TEST_P(ReestrOnTablesTest, TheUpperPathTagDecidesWhatIsAccounted) {
    store("C:\\1C\\TRADE\\", "Trade");
    store("C:\\Базы\\Зарплата\\", "Зарплата");
    store("C:\\Bases\\Stock", "Stock");
    open({{"c:\\1c\\trade\\", "a-z case"},
          {"C:\\1C\\", "leading part"},
          {"c:\\БАЗЫ\\зарплата\\", "Cyrillic case"},
          {"C:\\Bases\\Stock\\", "trailing backslash"},
          {"D:\\Новая\\", "new"}});
    EXPECT_EQ(m_window->unaccounted(), (Lines{"C:\\Bases\\Stock\\=trailing backslash", "D:\\Новая\\=new"}));
}

TEST_P(ReestrOnTablesTest, ImportedRowsTakeTheCurrentIdsAndDisappearFromTheList) {
    store("C:\\1C\\TRADE\\", "Trade");
    open({{"D:\\Новая\\", "Новая"}, {"E:\\Склад", "Склад"}, {"F:\\Third", "Third"}});
    app::CurrentCategoryId = 7;
    app::CurrentDivisionId = 3;
    list()->item(0)->setCheckState(Qt::Checked);
    list()->item(2)->setCheckState(Qt::Checked);
    m_window->findChild<QAbstractButton*>("btnApply")->click();
    EXPECT_EQ(rows(),
              (std::vector<Row>{
                  {"C:\\1C\\TRADE\\", "Trade", 0, 0}, {"D:\\Новая\\", "Новая", 7, 3}, {"F:\\Third", "Third", 7, 3}}));
    EXPECT_EQ(m_window->unaccounted(), Lines{"E:\\Склад=Склад"});
    EXPECT_TRUE(m_ui.errors.empty());
}

TEST_P(ReestrOnTablesTest, LongTitlesAndDirectoriesAreStoredCutToTheFieldWidths) {
    std::string longName;
    for (int i = 0; i < 50; ++i)
        longName += "Ж";
    const std::string longPath = "C:\\" + std::string(257, 'p');
    open({{longPath, longName}, {"C:\\A=B\\", "Тест"}});
    m_window->CheckAll(1);
    m_window->ImportChecked();
    const auto stored = rows();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].path, "C:\\A");
    EXPECT_EQ(stored[0].name, "B\\=Тест");
    EXPECT_EQ(stored[1].path, longPath.substr(0, 240));
    EXPECT_EQ(stored[1].name, longName.substr(0, 40 * 2));
}

TEST_P(ReestrOnTablesTest, ARightButtonDropImportsTheHighlightedItemOnly) {
    open({{"D:\\One", "One"}, {"D:\\Two", "Two"}});
    m_window->CheckAll(1);
    list()->setCurrentRow(1);
    m_window->DragImportMode = 1;
    m_window->dropOnInfobaseList();
    EXPECT_EQ(rows(), (std::vector<Row>{{"D:\\Two", "Two", 0, 0}}));
    EXPECT_EQ(m_window->unaccounted(), Lines{"D:\\One=One"});
}

INSTANTIATE_TEST_SUITE_P(Backends, ReestrOnTablesTest, ::testing::Values(BackendKind::Memory, BackendKind::Wine),
                         registrytest::backendParamName);

} // namespace
