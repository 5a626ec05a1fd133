#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The action map: which combination of Alt, Ctrl and Shift picks each of the six actions of the
// main window (1 edit the infobase, 2..6 launch in start regime 0..4). It is 18 characters, three
// per row in the order Alt, Ctrl, Shift: "1" the modifier must be held, "0" it must not. Any other
// character is kept as it was stored and never matches.
namespace settings {

inline constexpr int ControlMapRows = 6;
inline constexpr int ControlMapColumns = 3; // Alt, Ctrl, Shift
inline constexpr std::size_t ControlMapLength = 18;
inline constexpr std::string_view DefaultControlMap = "000010100011001110";

// The one process-wide copy: the settings window writes it (loading, grid edits), the main window
// reads it at the moment of each mapped key press or click. Always 18 characters.
extern std::string ControlMap;

// The stored text cut to its first 18 characters and padded with "0" up to 18.
std::string LoadControlMap(std::string_view stored);
// The text to store: the 18 characters as they are.
std::string StoreControlMap(const std::string& map);
// Every row other than row (1..6) holding the same three characters as row is set to "000".
// Rows cleared this way are not compared again.
void ClearCoincidingRows(std::string& map, int row);

// Position of the character of a data cell: row 1..6, column 1..3 (Alt, Ctrl, Shift).
std::size_t controlMapIndex(int row, int column);
// The combination of a modifier mask (1 Shift, 2 Alt, 4 Ctrl; other bits ignored) as the three
// characters Alt, Ctrl, Shift.
std::string combinationOfMask(int mask);
// The first row (1..6) whose combination is that of the mask; 0 when none matches.
int mappedRow(std::string_view map, int mask);

} // namespace settings
