// The action grid on the "Управление" page, driven by keys and the mouse.
#include "SetupFixture.h"

#include "settings/IniFile.h"

#include <QTableWidget>

namespace {

using setuptest::SetupFixture;

class KeyGridTest : public SetupFixture {
protected:
    // Opens the window on the "Управление" page with the given [Control] keys.
    QTableWidget* openGrid(const std::string& controlKeys) {
        writeIni("[Control]\n" + controlKeys);
        create();
        open();
        showPage(2);
        return control<QTableWidget>("stgKey");
    }
    QPoint cellCentre(QTableWidget* grid, int row, int column) const {
        return grid->visualItemRect(grid->item(row, column)).center();
    }
    void focusCell(QTableWidget* grid, int row, int column) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, row, column));
    }
    void pressOn(QTableWidget* grid, int row, int column, Qt::Key key) {
        focusCell(grid, row, column);
        QTest::keyClick(grid, key);
    }
    void doubleClick(QTableWidget* grid, int row, int column) {
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, row, column));
    }
    // The texts of the 18 data cells, "-" for an empty one.
    std::string shown(QTableWidget* grid) const {
        std::string result;
        for (int r = 1; r <= 6; ++r)
            for (int c = 1; c <= 3; ++c) {
                const QString t = grid->item(r, c)->text();
                result += t.isEmpty() ? "-" : t.left(1).toStdString();
            }
        return result;
    }
};

TEST_F(KeyGridTest, LayoutAndCaptions) {
    auto* grid = openGrid("");
    ASSERT_EQ(grid->rowCount(), 7);
    ASSERT_EQ(grid->columnCount(), 4);
    const int widths[] = {128, 64, 64, 64};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(grid->columnWidth(c), widths[c]);
    EXPECT_EQ(grid->rowHeight(3), 16);
    const char* top[] = {"Режим", "Alt", "Ctrl", "Shift"};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(grid->item(0, c)->text(), QString::fromUtf8(top[c]));
    const char* rows[] = {"Редактирование ИБ", "Предприятие", "Конфигуратор", "Отладчик", "Монитор", "Пакетный режим"};
    for (int r = 1; r <= 6; ++r) {
        EXPECT_EQ(grid->item(r, 0)->text(), QString::fromUtf8(rows[r - 1]));
        EXPECT_FALSE(grid->item(r, 0)->flags() & Qt::ItemIsSelectable);
    }
    // The default map: 000 010 100 011 001 110.
    EXPECT_EQ(shown(grid), "----C-A---CS--SAC-");
}

TEST_F(KeyGridTest, SpaceDeleteAndDoubleClickEditTheMap) {
    auto* grid = openGrid("");
    pressOn(grid, 1, 3, Qt::Key_Space);
    EXPECT_EQ(m_map, "001010100011001110");
    EXPECT_EQ(grid->item(1, 3)->text(), "Shift");
    pressOn(grid, 2, 2, Qt::Key_Delete);
    EXPECT_EQ(m_map, "001000100011001110");
    EXPECT_EQ(grid->item(2, 2)->text(), "");
    doubleClick(grid, 3, 1);
    EXPECT_EQ(m_map, "001000000011001110");
    doubleClick(grid, 3, 1);
    EXPECT_EQ(m_map, "001000100011001110");
    // Fixed cells: a double click changes nothing, a click does not take the focus from the data
    // cell focused last (row 2, Ctrl), which Space then sets.
    doubleClick(grid, 0, 1);
    doubleClick(grid, 4, 0);
    EXPECT_EQ(m_map, "001000100011001110");
    focusCell(grid, 5, 0);
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(m_map, "001010100011001110");
}

TEST_F(KeyGridTest, OtherCharactersAreKeptShownEmptyAndSavedBack) {
    auto* grid = openGrid("strControl=x1\n");
    EXPECT_EQ(m_map, "x10000000000000000");
    EXPECT_EQ(grid->item(1, 1)->text(), "");
    doubleClick(grid, 1, 1);
    EXPECT_EQ(m_map, "x10000000000000000");
    pressButton("btnApply");
    EXPECT_EQ(settings::IniFile(iniPath()).readString("Control", "strControl", ""), "x10000000000000000");
    pressOn(grid, 1, 1, Qt::Key_Space);
    EXPECT_EQ(m_map, "110000000000000000");
}

TEST_F(KeyGridTest, StoredTextIsPaddedOrCut) {
    struct Case {
        const char* stored;
        const char* map;
    };
    const Case cases[] = {{"1", "100000000000000000"}, {"0000101000110011101111", "000010100011001110"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        openGrid(std::string("strControl=") + c.stored + "\n");
        EXPECT_EQ(m_map, c.map);
    }
}

TEST_F(KeyGridTest, EditClearsCoincidingRowsWhenAsked) {
    auto* grid = openGrid("cbxControl_Checked=1\n");
    // Ctrl in row 5 makes it 011 like row 4, which is cleared; row 1 (000) stays.
    pressOn(grid, 5, 2, Qt::Key_Space);
    EXPECT_EQ(m_map, "000010100000011110");
    EXPECT_EQ(shown(grid), "----C-A------CSAC-");
    // Unticked: edits leave the other rows alone.
    click("cbxControl");
    pressOn(grid, 2, 2, Qt::Key_Delete);
    EXPECT_EQ(m_map, "000000100000011110");
}

TEST_F(KeyGridTest, ChangingTheTickClearsLaterEqualRows) {
    // Rows 2 and 5 both hold Ctrl; the file's string is shown as stored although the box is ticked.
    auto* grid = openGrid("cbxControl_Checked=1\nstrControl=000010100011010110\n");
    EXPECT_EQ(m_map, "000010100011010110");
    click("cbxControl");
    EXPECT_EQ(m_map, "000010100011000110");
    EXPECT_EQ(shown(grid), "----C-A---CS---AC-");
}

TEST_F(KeyGridTest, CancelRestoresTheStoredMap) {
    auto* grid = openGrid("strControl=000010100011001111\n");
    pressOn(grid, 1, 1, Qt::Key_Space);
    EXPECT_EQ(m_map, "100010100011001111");
    pressButton("btnCancel");
    EXPECT_EQ(m_map, "000010100011001111");
    EXPECT_EQ(grid->item(1, 1)->text(), "");
}

} // namespace
