#include "data/FolderFilter.h"

#include <gtest/gtest.h>

namespace {

using app::FilterMode;
using data::FolderFilter;

TEST(FolderFilterTest, ExpressionsOfEveryMode) {
    const struct {
        FilterMode mode;
        int category, division;
        FolderFilter expected;
    } cases[] = {
        {FilterMode::fmNone, 4, 12, {"", false}},
        {FilterMode::fmCategory, 4, 12, {"CATEGORY=4 .AND. CATEGORY>0", true}},
        {FilterMode::fmCategory, 0, 0, {"CATEGORY=0 .AND. CATEGORY>0", true}},
        {FilterMode::fmDivision, 4, 12, {"DIVISION=12 .AND. DIVISION>0", true}},
        {FilterMode::fmBoth, 4, 12, {"CATEGORY=4 .AND. DIVISION=12 .AND. CATEGORY>0 .AND. DIVISION>0", true}},
        {FilterMode::fmUnclassified, 4, 12, {"CATEGORY=0 .OR. DIVISION=0", true}},
        {FilterMode::fmBoth, 123456, 7, {"CATEGORY=123456 .AND. DIVISION=7 .AND. CATEGORY>0 .AND. DIVISION>0", true}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(data::folderFilterFor(c.mode, c.category, c.division), c.expected)
            << static_cast<int>(c.mode) << " " << c.category << " " << c.division;
}

} // namespace
