#pragma once
// Widths of the text fields of the three tables. The tables are created with them and the
// dialogs limit their edits to them, so what is typed is what is stored.
namespace data::width {

inline constexpr int Name = 40;      // NAME of program and folder
inline constexpr int Path = 240;     // PATH, USERPATH, PRMFILE
inline constexpr int UserName = 24;  // USERNAME of folder and user
inline constexpr int Password = 10;  // PASSWORD of folder and user

} // namespace data::width
