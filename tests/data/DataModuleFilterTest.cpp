#include "data/DataModuleFixture.h"

namespace {

using app::FilterMode;
using testsupport::DataModuleTest;

class FilterTest : public DataModuleTest {
protected:
    // Rows named after their classification: category, division ("-" for none).
    void SetUp() override {
        const std::pair<int, int> ids[] = {{0, 0}, {4, 0}, {0, 12}, {4, 12}, {4, 7}, {5, 12}};
        for (const auto& [category, division] : ids) {
            app::CurrentCategoryId = category;
            app::CurrentDivisionId = division;
            addInfobase(infobase(std::to_string(category) + "-" + std::to_string(division), R"(C:\B)"));
        }
        app::CurrentCategoryId = 0;
        app::CurrentDivisionId = 0;
    }
    std::vector<std::string> shown(FilterMode mode, int category, int division) {
        app::CurrentCategoryId = category;
        app::CurrentDivisionId = division;
        m_dm->ApplyFilter(mode);
        return column(m_dm->dbfFolder, "NAME");
    }
    using Names = std::vector<std::string>;
};

TEST_F(FilterTest, ModesShowTheirRows) {
    EXPECT_EQ(shown(FilterMode::fmNone, 4, 12), (Names{"0-0", "0-12", "4-0", "4-12", "4-7", "5-12"}));
    EXPECT_EQ(shown(FilterMode::fmCategory, 4, 12), (Names{"4-0", "4-12", "4-7"}));
    EXPECT_EQ(shown(FilterMode::fmDivision, 4, 12), (Names{"0-12", "4-12", "5-12"}));
    EXPECT_EQ(shown(FilterMode::fmBoth, 4, 12), (Names{"4-12"}));
    EXPECT_EQ(shown(FilterMode::fmUnclassified, 4, 12), (Names{"0-0", "0-12", "4-0"}));
    EXPECT_EQ(m_dm->dbfFolder.filter(), "CATEGORY=0 .OR. DIVISION=0");
    EXPECT_EQ(shown(FilterMode::fmNone, 4, 12).size(), 6u);
    EXPECT_FALSE(m_dm->dbfFolder.filtered());
    EXPECT_EQ(m_dm->dbfFolder.filter(), "");
}

TEST_F(FilterTest, ModeOneWithoutACategoryShowsNothing) {
    EXPECT_TRUE(shown(FilterMode::fmCategory, 0, 0).empty());
    EXPECT_TRUE(shown(FilterMode::fmBoth, 0, 12).empty());
    EXPECT_EQ(m_dm->dbfFolder.filter(), "CATEGORY=0 .AND. DIVISION=12 .AND. CATEGORY>0 .AND. DIVISION>0");
}

TEST_F(FilterTest, TheIdsAreReadWhenTheFilterIsApplied) {
    shown(FilterMode::fmCategory, 5, 0);
    app::CurrentCategoryId = 4;
    EXPECT_EQ(column(m_dm->dbfFolder, "NAME"), (Names{"5-12"}));
}

TEST_F(DataModuleTest, NewInfobaseTakesTheCurrentIdsAndIsUnsortedWithoutADivision) {
    app::CurrentCategoryId = 7;
    addInfobase(infobase("Новая", R"(C:\N)"));
    EXPECT_EQ(m_dm->dbfFolder.fieldInt("CATEGORY"), 7);
    EXPECT_EQ(m_dm->dbfFolder.fieldInt("DIVISION"), 0);
    m_dm->ApplyFilter(FilterMode::fmUnclassified);
    EXPECT_EQ(column(m_dm->dbfFolder, "NAME"), std::vector<std::string>{"Новая"});
}

TEST_F(DataModuleTest, RowsInsertedIntoTheLookUpSetTakeTheCurrentIdsToo) {
    app::CurrentCategoryId = 2;
    app::CurrentDivisionId = 3;
    m_dm->dbfSearch.insert();
    EXPECT_EQ(m_dm->dbfSearch.fieldInt("CATEGORY"), 2);
    EXPECT_EQ(m_dm->dbfSearch.fieldInt("DIVISION"), 3);
    m_dm->dbfSearch.cancel();
}

// The stored value of a numeric field: nullopt when it is blank.
std::optional<long long> stored(engine::DataSet& dataSet, const char* field) {
    if (dataSet.fieldText(field).empty())
        return std::nullopt;
    return dataSet.fieldInt(field);
}

TEST_F(DataModuleTest, ClearClassificationBlanksTheChosenFields) {
    const struct {
        int kind;
        std::optional<long long> category, division;
    } cases[] = {{1, std::nullopt, 2}, {2, 1, std::nullopt}, {3, std::nullopt, std::nullopt}, {0, 1, 2}, {4, 1, 2}};
    for (const auto& c : cases) {
        app::CurrentCategoryId = 1;
        app::CurrentDivisionId = 2;
        addInfobase(infobase("Б", R"(C:\B)"));
        m_dm->ClearClassification(c.kind);
        restart(); // as stored
        EXPECT_EQ(stored(m_dm->dbfFolder, "CATEGORY"), c.category) << c.kind;
        EXPECT_EQ(stored(m_dm->dbfFolder, "DIVISION"), c.division) << c.kind;
        m_ui.yesNoAnswers.push_back(true);
        m_dm->DeleteInfobase();
    }
}

TEST_F(DataModuleTest, AfterClearingTheCategoryTheRowIsUnsorted) {
    app::CurrentCategoryId = 1;
    app::CurrentDivisionId = 2;
    addInfobase(infobase("Б", R"(C:\B)"));
    m_dm->ApplyFilter(FilterMode::fmUnclassified);
    EXPECT_TRUE(m_dm->dbfFolder.isEmpty());
    m_dm->ApplyFilter(FilterMode::fmNone);
    m_dm->ClearClassification(1);
    m_dm->ApplyFilter(FilterMode::fmUnclassified);
    EXPECT_EQ(column(m_dm->dbfFolder, "NAME"), std::vector<std::string>{"Б"});
}

TEST_F(DataModuleTest, AssignClassificationStoresEachPositiveId) {
    addInfobase(infobase("Б", R"(C:\B)"));
    m_dm->AssignClassification(6, 0);
    EXPECT_EQ(m_dm->dbfFolder.fieldInt("CATEGORY"), 6);
    EXPECT_EQ(stored(m_dm->dbfFolder, "DIVISION"), 0);
    m_dm->AssignClassification(0, 9);
    m_dm->AssignClassification(-1, -1);
    restart();
    EXPECT_EQ(m_dm->dbfFolder.fieldInt("CATEGORY"), 6);
    EXPECT_EQ(m_dm->dbfFolder.fieldInt("DIVISION"), 9);
}

} // namespace
