#pragma once
#include <QTableWidget>

#include <string>

namespace settings {

// The action grid stgKey: 4 columns by 7 rows, the first row and column fixed (captions, not
// selectable). Data cell (row 1..6, column 1..3) shows "Alt", "Ctrl" or "Shift" when its
// character of the action map is "1" and nothing otherwise. Space sets the current data cell,
// Delete clears it, a double click toggles the cell under the pointer ("0" <-> "1", any other
// character stays). Each edit changes the map at once and is announced by cellEdited.
class KeyGrid : public QTableWidget {
    Q_OBJECT
public:
    // map is the action map the grid edits; it must outlive the grid.
    explicit KeyGrid(std::string& map, QWidget* parent = nullptr);

    // Shows the map's current characters in the data cells.
    void refresh();
    // Makes the grid's font small enough that every caption fits its fixed cell: the cells keep
    // their given sizes whatever the window's font is.
    void fitFont();

signals:
    // A data cell of this row (1..6) was set, cleared or toggled by the user.
    void cellEdited(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    static bool isDataCell(int row, int column);
    void setCharacter(int row, int column, char c);

    std::string& m_map;
};

} // namespace settings
