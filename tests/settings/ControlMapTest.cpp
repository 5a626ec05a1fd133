#include "settings/ControlMap.h"

#include <gtest/gtest.h>

namespace {

using namespace settings;

TEST(ControlMapTest, LoadCutsAndPadsTo18) {
    struct Case {
        const char* stored;
        const char* loaded;
    };
    const Case cases[] = {
        {"000010100011001110", "000010100011001110"},   {"1", "100000000000000000"},  {"", "000000000000000000"},
        {"00001010001100111011", "000010100011001110"}, {"x1", "x10000000000000000"}, // other characters are kept
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(LoadControlMap(c.stored), c.loaded);
        EXPECT_EQ(StoreControlMap(LoadControlMap(c.stored)), c.loaded);
    }
}

TEST(ControlMapTest, ClearCoincidingRows) {
    struct Case {
        const char* name;
        const char* before;
        int row;
        const char* after;
    };
    const Case cases[] = {
        // Ctrl set in row 5 of the default map: row 4 (Ctrl+Shift) is cleared, row 1 (000) is not.
        {"RowFiveMatchesRowFour", "000010100011011110", 5, "000010100000011110"},
        {"NothingEqual", "000010100011001110", 3, "000010100011001110"},
        {"SeveralRowsCleared", "010010100010001010", 2, "000010100000001000"},
        // Clearing to 000 compares against 000 rows only through the row asked for.
        {"ZeroRowClearsOtherZeroRows", "000000100000001110", 1, "000000100000001110"},
        {"OtherCharactersCompareAsThemselves", "x00x00100011001110", 1, "x00000100011001110"},
        {"RowOutOfRangeIgnored", "010010100010001010", 7, "010010100010001010"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string map = c.before;
        ClearCoincidingRows(map, c.row);
        EXPECT_EQ(map, c.after);
    }
}

TEST(ControlMapTest, MaskFindsFirstMatchingRow) {
    // Masks: 1 Shift, 2 Alt, 4 Ctrl.
    struct Case {
        const char* map;
        int mask;
        int row;
    };
    const Case cases[] = {
        {"000010100011001110", 0, 1},         {"000010100011001110", 4, 2}, {"000010100011001110", 2, 3},
        {"000010100011001110", 5, 4},         {"000010100011001110", 1, 5}, {"000010100011001110", 6, 6},
        {"000010100011001110", 3, 0},                                       // Alt+Shift: no row
        {"000010100011001110", 7, 0},                                       // all three: no row
        {"000010100011001110", 4 | 0x100, 2},                               // other bits are ignored
        {"100000000000000000", 2, 1},         {"100000000000000000", 0, 2}, // equal rows: the smallest wins
        {"x00000000000000000", 0, 2},                                       // a stored "x" never matches
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.map) + " mask " + std::to_string(c.mask));
        EXPECT_EQ(mappedRow(c.map, c.mask), c.row);
    }
    EXPECT_EQ(combinationOfMask(1), "001");
    EXPECT_EQ(combinationOfMask(2), "100");
    EXPECT_EQ(combinationOfMask(4), "010");
}

} // namespace
