#include "main/ClassificationDataModule.h"

#include "BarsFakes.h"
#include "data/DataModuleFixture.h"
#include "main/ClassificationRules.h"

using app::FilterMode;
using mainwin::BarKind;

namespace {

// The bars' rules on a real data module: three infobases, one per classification.
class ClassificationDataModuleTest : public testsupport::DataModuleTest {
protected:
    void SetUp() override {
        barstest::resetBarVariables();
        const std::pair<int, int> ids[] = {{1, 0}, {0, 12}, {0, 0}};
        for (const auto& [c, d] : ids) {
            app::CurrentCategoryId = c;
            app::CurrentDivisionId = d;
            addInfobase(infobase(std::to_string(c) + "-" + std::to_string(d), R"(C:\B)"));
        }
        barstest::resetBarVariables();
        rules.initCounters();
    }
    void TearDown() override { barstest::resetBarVariables(); }

    // Makes the infobase of that name the list's current row.
    void select(const std::string& name) { ASSERT_TRUE(m_dm->dbfFolder.locate("NAME", name, false)) << name; }
    std::vector<std::string> listed() { return column(m_dm->dbfFolder, "NAME"); }

    barstest::MemoryBar category{barstest::categorySample()};
    barstest::MemoryBar division{barstest::divisionSample()};
    mainwin::ClassificationDataModule data{*m_dm};
    mainwin::ClassificationRules rules{category, division, data};
};

} // namespace

TEST_F(ClassificationDataModuleTest, ItemInUseCannotBeDeletedWhateverTheListShows) {
    rules.clickNonParent(true); // the list shows the unclassified rows only
    rules.clickBarSwitch(BarKind::Category, true);
    category.setActiveSection(1);
    rules.chooseItem(BarKind::Category, 1, 0); // id 3: the list is empty now
    EXPECT_TRUE(listed().empty());

    EXPECT_EQ(rules.removeItem(BarKind::Category, 0), mainwin::RemoveResult::Removed); // id 3, unused
    category.setActiveSection(0);
    EXPECT_EQ(rules.removeItem(BarKind::Category, 0), mainwin::RemoveResult::ItemInUse); // id 1
    EXPECT_EQ(rules.removeItem(BarKind::Division, 0), mainwin::RemoveResult::Removed);   // id 1 of divisions
    EXPECT_EQ(rules.removeItem(BarKind::Division, 0), mainwin::RemoveResult::ItemInUse); // id 12
}

TEST_F(ClassificationDataModuleTest, DropOntoADivisionWhileFilteredByCategoryKeepsTheCategory) {
    rules.clickBarSwitch(BarKind::Category, true);
    rules.chooseItem(BarKind::Category, 0, 0); // id 1
    EXPECT_EQ(listed(), (std::vector<std::string>{"1-0"}));
    select("1-0");
    ASSERT_TRUE(rules.drop(BarKind::Division, 0)); // Бухгалтерия, id 1

    m_dm->dbfSearch.refresh();
    ASSERT_TRUE(m_dm->dbfSearch.locate("NAME", "1-0", false));
    EXPECT_EQ(m_dm->dbfSearch.fieldInt("CATEGORY"), 1);
    EXPECT_EQ(m_dm->dbfSearch.fieldInt("DIVISION"), 1);
    EXPECT_EQ(app::CurrentDivisionId, 0);

    // The newly classified row counts for the deletion check at once.
    EXPECT_EQ(rules.removeItem(BarKind::Division, 0), mainwin::RemoveResult::ItemInUse);
}

TEST_F(ClassificationDataModuleTest, UnsortedSwitchShowsRowsLackingAnAxis) {
    rules.clickNonParent(true);
    EXPECT_EQ(listed().size(), 3u); // each lacks one axis
    select("0-0");
    rules.drop(BarKind::Category, 0);
    rules.drop(BarKind::Division, 0);
    m_dm->dbfFolder.refresh();
    EXPECT_EQ(listed(), (std::vector<std::string>{"0-12", "1-0"}));
    EXPECT_EQ(rules.removeItem(BarKind::Division, 0), mainwin::RemoveResult::ItemInUse);
}
