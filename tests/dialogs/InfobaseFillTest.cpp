#include "dialogs/InfobaseFill.h"
#include "ScriptedSource.h"
#include "app/Common.h"

#include <gtest/gtest.h>

namespace {

using dialogtest::ScriptedSource;
using widgets::SectionBarData;

const SectionBarData kBar = {{
    {"A", {{"B", 3}, {"C", 4}}},
    {"Отдел", {{"Склад", 7}}},
    {"Дубль", {{"Первый", 9}, {"Второй", 9}}},
}};

TEST(ClassificationCaption, SectionAndItemOfTheIdLastMatchWins) {
    const struct {
        long long id;
        const char* caption;
    } cases[] = {
        {3, "A, B"}, {7, "Отдел, Склад"}, {9, "Дубль, Второй"}, {5, ""}, {0, ""}, {-3, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dialogs::classificationCaption(kBar, c.id), c.caption) << c.id;
    EXPECT_EQ(dialogs::classificationCaption({}, 3), "");
}

TEST(WithTrailingBackslash, AppendsOneBackslash) {
    EXPECT_EQ(dialogs::withTrailingBackslash("D:\\Bases\\Trade"), "D:\\Bases\\Trade\\");
    EXPECT_EQ(dialogs::withTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(dialogs::withTrailingBackslash("C:\\Bases\\"), "C:\\Bases\\");
}

TEST(FillInfobaseDialog, NewModesTakeTheNextDefaultNameEveryTime) {
    app::NewBaseCounter = 0;
    ScriptedSource source;
    const auto first = dialogs::fillInfobaseDialog(0, source);
    const auto second = dialogs::fillInfobaseDialog(2, source);
    const auto third = dialogs::fillInfobaseDialog(0, source);
    EXPECT_EQ(first.name, "Новая ИБ 1");
    EXPECT_EQ(second.name, "Новая ИБ 2");
    EXPECT_EQ(third.name, "Новая ИБ 3");
    EXPECT_EQ(first.path, "");
    EXPECT_EQ(second.path, "C:\\Explorer\\Base\\");
    for (const auto& fill : {first, second, third}) {
        EXPECT_EQ(fill.userName + fill.password + fill.userPath + fill.prmFile, "");
        EXPECT_EQ(fill.category + fill.division, "");
    }
    EXPECT_EQ(source.rowReads, 0);
}

TEST(FillInfobaseDialog, EditModeShowsTheRowAndItsClassification) {
    app::NewBaseCounter = 0;
    ScriptedSource source;
    source.row = {{"Торговля", "D:\\Bases\\Trade\\", "Иванов", "секрет", "D:\\Users\\", "D:\\run.prm"}, 4, 0};
    source.categories = kBar;
    source.divisions = kBar;
    const auto fill = dialogs::fillInfobaseDialog(1, source);
    EXPECT_EQ(fill.name, "Торговля");
    EXPECT_EQ(fill.path, "D:\\Bases\\Trade\\");
    EXPECT_EQ(fill.userName, "Иванов");
    EXPECT_EQ(fill.password, "секрет");
    EXPECT_EQ(fill.userPath, "D:\\Users\\");
    EXPECT_EQ(fill.prmFile, "D:\\run.prm");
    EXPECT_EQ(fill.category, "A, C");
    EXPECT_EQ(fill.division, ""); // blank division
    EXPECT_EQ(app::NewBaseCounter, 0);
}

} // namespace
