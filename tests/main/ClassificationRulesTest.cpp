#include "main/ClassificationRules.h"

#include "BarsFakes.h"
#include "main/ClassificationFile.h"
#include "settings/IniFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using app::FilterMode;
using barstest::MemoryBar;
using barstest::RecordingData;
using mainwin::BarKind;
using mainwin::ClassificationRules;
using mainwin::FilterState;
using mainwin::FilterSwitches;
using mainwin::RemoveResult;
using Filter = RecordingData::Filter;

namespace {

class ClassificationRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        barstest::resetBarVariables();
        logic.initCounters();
    }

    MemoryBar category{barstest::categorySample()};
    MemoryBar division{barstest::divisionSample()};
    RecordingData data;
    ClassificationRules logic{category, division, data};
};

} // namespace

TEST(FilterModeTest, FollowsTheSwitchTable) {
    struct Case {
        FilterSwitches switches;
        FilterMode mode;
        bool nonParentEnabled;
    };
    const Case cases[] = {
        {{true, false, false}, FilterMode::fmCategory, false}, {{true, false, true}, FilterMode::fmCategory, false},
        {{false, true, true}, FilterMode::fmDivision, false},  {{true, true, false}, FilterMode::fmBoth, false},
        {{true, true, true}, FilterMode::fmBoth, false},       {{false, false, true}, FilterMode::fmUnclassified, true},
        {{false, false, false}, FilterMode::fmNone, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mainwin::filterModeOf(c.switches), c.mode);
        EXPECT_EQ(mainwin::nonParentEnabled(c.switches), c.nonParentEnabled);
    }
}

TEST_F(ClassificationRulesTest, ChoosingAnItemSetsTheVariablesAndStatusAndFiltersEvenWithItsSwitchOff) {
    logic.setSwitches({false, true, false});
    logic.chooseItem(BarKind::Category, 0, 1);

    EXPECT_EQ(app::CurrentCategoryId, 2);
    EXPECT_EQ(app::CategorySection, 0);
    EXPECT_EQ(app::CategoryItem, 1);
    EXPECT_EQ(logic.statusLine(BarKind::Category), "Опт, Магазин");
    EXPECT_EQ(logic.statusLine(BarKind::Division), "");
    EXPECT_EQ(data.filters, (std::vector<Filter>{{FilterMode::fmDivision, 2, 0}}));

    logic.chooseItem(BarKind::Division, 0, 1);
    EXPECT_EQ(app::CurrentDivisionId, 12);
    EXPECT_EQ(logic.statusLine(BarKind::Division), "Отделы, Кадры");
    EXPECT_EQ(data.filters.back(), (Filter{FilterMode::fmDivision, 2, 12}));

    logic.chooseItem(BarKind::Category, 0, 2); // no such item
    EXPECT_EQ(app::CurrentCategoryId, 2);
    EXPECT_EQ(data.filters.size(), 2u);
}

TEST_F(ClassificationRulesTest, SwitchClicksApplyTheFilterOfAllThreeSwitches) {
    logic.clickBarSwitch(BarKind::Category, true); // nothing chosen yet: id 0, the list shows nothing
    EXPECT_FALSE(logic.nonParentEnabled());
    logic.clickBarSwitch(BarKind::Division, true);
    logic.clickBarSwitch(BarKind::Category, false);
    logic.clickBarSwitch(BarKind::Division, false);
    EXPECT_TRUE(logic.nonParentEnabled());
    logic.clickNonParent(true);
    std::vector<Filter> expected = {{FilterMode::fmCategory, 0, 0},
                                    {FilterMode::fmBoth, 0, 0},
                                    {FilterMode::fmDivision, 0, 0},
                                    {FilterMode::fmNone, 0, 0},
                                    {FilterMode::fmUnclassified, 0, 0}};
    EXPECT_EQ(data.filters, expected);
}

TEST_F(ClassificationRulesTest, MenuEnablingWhenItOpens) {
    MemoryBar empty;
    ClassificationRules bare{empty, division, data};
    struct Case {
        ClassificationRules* logic;
        int section;
        int item;
        mainwin::BarMenuState state;
    };
    const Case cases[] = {
        {&bare, -1, -1, {true, false, false, false, false, false}},
        {&bare, 0, 0, {true, false, false, false, false, false}},
        {&logic, -1, -1, {true, false, false, true, false, false}},
        {&logic, 2, -1, {true, true, true, true, false, false}},
        {&logic, -1, 1, {true, false, false, true, true, true}},
        {&logic, -1, 5, {true, false, false, true, false, false}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.logic->menuState(BarKind::Category, c.section, c.item), c.state) << c.section << " " << c.item;
}

TEST_F(ClassificationRulesTest, NewBarGivesIdsOneTwoThreeAndTheNextRunFour) {
    testsupport::TempDir dir;
    MemoryBar fresh;
    ClassificationRules first{fresh, division, data};
    first.initCounters();
    EXPECT_EQ(first.addItem(BarKind::Category), -1); // no section yet
    first.addSection(BarKind::Category);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(first.addItem(BarKind::Category), i);
    auto bar = fresh.content();
    ASSERT_EQ(bar.sections.size(), 1u);
    EXPECT_EQ(bar.sections[0].caption, "");
    EXPECT_EQ(bar.sections[0].items, (std::vector<widgets::SectionBarItem>{{"новый", 1}, {"новый", 2}, {"новый", 3}}));

    mainwin::ClassificationFile file(dir.path() / "category.cfg");
    ASSERT_TRUE(file.save(bar).ok);

    barstest::resetBarVariables();
    MemoryBar reloaded{file.load()};
    ClassificationRules second{reloaded, division, data};
    second.initCounters();
    second.addItem(BarKind::Category);
    EXPECT_EQ(reloaded.itemId(0, 3), 4);
}

TEST_F(ClassificationRulesTest, CounterStartsAtTheLargestIdSoADeletionNeverLeadsToADuplicate) {
    MemoryBar gap{{{{"Опт", {{"Склад", 1}, {"Киоск", 3}}}}}}; // 2 was deleted in an earlier run
    ClassificationRules withGap{gap, division, data};
    withGap.initCounters();
    EXPECT_EQ(app::NextCategoryId, 3);
    EXPECT_EQ(app::NextDivisionId, 12);
    withGap.addItem(BarKind::Category);
    EXPECT_EQ(gap.itemId(0, 2), 4);
}

TEST_F(ClassificationRulesTest, ExhaustedCounterTakesTheSmallestFreeId) {
    MemoryBar top{{{{"Опт", {{"a", 1}, {"b", 2147483647}}}}}};
    ClassificationRules atTop{top, division, data};
    atTop.initCounters();
    atTop.addItem(BarKind::Category);
    EXPECT_EQ(top.itemId(0, 2), 2);
}

TEST_F(ClassificationRulesTest, NewItemGoesIntoTheActiveSection) {
    category.setActiveSection(1);
    EXPECT_EQ(logic.addItem(BarKind::Category), 1);
    EXPECT_EQ(category.itemCaption(1, 1), "новый");
    EXPECT_EQ(category.itemId(1, 1), 4);
    EXPECT_EQ(category.itemCount(0), 2);
}

TEST_F(ClassificationRulesTest, RefusedRemovalsChangeNothing) {
    data.used.insert({BarKind::Category, 1});
    auto before = category.content();
    EXPECT_EQ(logic.removeSection(BarKind::Category, 0), RemoveResult::SectionHasItems);
    EXPECT_EQ(logic.removeItem(BarKind::Category, 0), RemoveResult::ItemInUse);
    EXPECT_EQ(logic.removeItem(BarKind::Category, 7), RemoveResult::NotFound);
    EXPECT_EQ(logic.removeSection(BarKind::Category, 9), RemoveResult::NotFound);
    EXPECT_EQ(category.content(), before);

    // The same id on the other axis does not count.
    data.used = {{BarKind::Division, 3}};
    category.setActiveSection(1);
    EXPECT_EQ(logic.removeItem(BarKind::Category, 0), RemoveResult::Removed);
    EXPECT_EQ(logic.removeSection(BarKind::Category, 1), RemoveResult::Removed);
    EXPECT_EQ(category.sectionCount(), 2);
    EXPECT_EQ(category.sectionCaption(1), "Пустая");
}

TEST_F(ClassificationRulesTest, DeletingLeavesTheChoiceStatusAndIdsAlone) {
    logic.chooseItem(BarKind::Category, 0, 0);
    data.filters.clear();
    ASSERT_EQ(logic.removeItem(BarKind::Category, 0), RemoveResult::Removed);
    EXPECT_EQ(app::CurrentCategoryId, 1);
    EXPECT_EQ(logic.statusLine(BarKind::Category), "Опт, Склад");
    EXPECT_EQ(category.itemId(0, 0), 2);
    EXPECT_TRUE(data.filters.empty());
}

TEST_F(ClassificationRulesTest, DropClassifiesOnItsOwnAxisAndChoosesNothing) {
    logic.setSwitches({true, false, false});
    logic.chooseItem(BarKind::Category, 0, 0);
    data.filters.clear();

    EXPECT_TRUE(logic.drop(BarKind::Division, 1));
    EXPECT_TRUE(logic.drop(BarKind::Category, 1));
    EXPECT_FALSE(logic.drop(BarKind::Division, 2)); // below the last item
    EXPECT_FALSE(logic.drop(BarKind::Division, -1));
    EXPECT_EQ(data.assigned, (std::vector<std::pair<int, int>>{{0, 12}, {2, 0}}));
    EXPECT_EQ(app::CurrentCategoryId, 1);
    EXPECT_EQ(app::CurrentDivisionId, 0);
    EXPECT_EQ(logic.statusLine(BarKind::Division), "");
    EXPECT_TRUE(data.filters.empty());

    MemoryBar empty;
    ClassificationRules bare{empty, division, data};
    EXPECT_FALSE(bare.drop(BarKind::Category, 0));
}

TEST_F(ClassificationRulesTest, RestoreAdvancesTheActiveSectionAndChoosesTheSavedItems) {
    FilterState state{1, 0, 0, 1, {true, false, false}};
    logic.restore(state);
    EXPECT_EQ(category.activeSection(), 1);
    EXPECT_EQ(app::CurrentCategoryId, 3);
    EXPECT_EQ(app::CurrentDivisionId, 12);
    EXPECT_EQ(logic.statusLine(BarKind::Category), "Розница, Киоск");
    EXPECT_EQ(logic.statusLine(BarKind::Division), "Отделы, Кадры");
    EXPECT_EQ(logic.switches(), (FilterSwitches{true, false, false}));
    EXPECT_EQ(data.filters, (std::vector<Filter>{{FilterMode::fmCategory, 3, 0}, {FilterMode::fmCategory, 3, 12}}));
    EXPECT_EQ(logic.filterState(), state);
    // The chosen items are scrolled into view.
    EXPECT_EQ(category.shown, std::make_pair(1, 0));
    EXPECT_EQ(division.shown, std::make_pair(0, 1));
}

TEST_F(ClassificationRulesTest, SavedIndexesOutsideTheBarChooseNothingThere) {
    struct Case {
        std::int32_t section;
        std::int32_t item;
        int active;
    };
    const Case cases[] = {{5, 0, 2}, {2, 0, 2}, {0, 2, 0}, {-1, 0, 0}, {0, -1, 0}};
    for (const Case& c : cases) {
        barstest::resetBarVariables();
        category.setContent(barstest::categorySample());
        MemoryBar otherDivision{barstest::divisionSample()};
        RecordingData calls;
        ClassificationRules fresh{category, otherDivision, calls};
        fresh.restore({c.section, 0, c.item, 0, {false, true, false}});
        EXPECT_EQ(category.activeSection(), c.active) << c.section << "/" << c.item;
        EXPECT_EQ(app::CurrentCategoryId, 0);
        EXPECT_EQ(fresh.statusLine(BarKind::Category), "");
        // The division bar's saved choice still applies the filter.
        EXPECT_EQ(calls.filters, (std::vector<Filter>{{FilterMode::fmDivision, 0, 1}}));
        // The saved indexes are written back as they were.
        EXPECT_EQ(fresh.filterState().categorySection, c.section);
        EXPECT_EQ(fresh.filterState().categoryItem, c.item);
    }
}

TEST_F(ClassificationRulesTest, StartUpRestoresOnlyWhenRememberingIsOn) {
    testsupport::TempDir dir;
    settings::IniFile ini(dir.path() / "Tarvesk.ini");
    logic.setSwitches({true, true, false});
    logic.chooseItem(BarKind::Category, 1, 0);
    mainwin::writeFilterState(ini, logic.filterState());
    EXPECT_EQ(ini.readString("Filter", "barCategory_Section", ""), "1");
    EXPECT_EQ(ini.readString("Filter", "cbxNonParent_Checked", ""), "0");

    // Remembering off (the default): nothing restored, no filter, empty status lines.
    barstest::resetBarVariables();
    MemoryBar c1{barstest::categorySample()}, d1{barstest::divisionSample()};
    RecordingData off;
    ClassificationRules notRemembered{c1, d1, off};
    notRemembered.startUp(ini);
    EXPECT_EQ(notRemembered.switches(), FilterSwitches{});
    EXPECT_TRUE(notRemembered.nonParentEnabled());
    EXPECT_TRUE(off.filters.empty());
    EXPECT_EQ(notRemembered.statusLine(BarKind::Category), "");
    EXPECT_EQ(app::CurrentCategoryId, 0);
    EXPECT_EQ(app::NextCategoryId, 3);

    // Remembering on with both bars empty: switches back, but no filter until a click.
    ini.writeBool("Common", "cbxFilter_Checked", true);
    MemoryBar c2, d2;
    RecordingData on;
    ClassificationRules emptyBars{c2, d2, on};
    emptyBars.startUp(ini);
    EXPECT_EQ(emptyBars.switches(), (FilterSwitches{true, true, false}));
    EXPECT_FALSE(emptyBars.nonParentEnabled());
    EXPECT_TRUE(on.filters.empty());
    EXPECT_EQ(app::NextCategoryId, 0);

    // Remembering on with the bars filled: the saved item is chosen again.
    barstest::resetBarVariables();
    MemoryBar c3{barstest::categorySample()}, d3{barstest::divisionSample()};
    RecordingData filled;
    ClassificationRules full{c3, d3, filled};
    full.startUp(ini);
    EXPECT_EQ(full.statusLine(BarKind::Category), "Розница, Киоск");
    ASSERT_FALSE(filled.filters.empty());
    EXPECT_EQ(filled.filters.front(), (Filter{FilterMode::fmBoth, 3, 0}));
}

TEST(FilterStateTest, MissingKeysTakeTheirDefaults) {
    testsupport::TempDir dir;
    settings::IniFile ini(dir.path() / "Tarvesk.ini");
    EXPECT_EQ(mainwin::readFilterState(ini), (FilterState{0, 0, 0, 0, {true, true, true}}));
    EXPECT_FALSE(mainwin::rememberFilterState(ini));
    FilterState state{-3, 7, 2147483647, 1, {false, true, false}};
    mainwin::writeFilterState(ini, state);
    EXPECT_EQ(mainwin::readFilterState(ini), state);
}
