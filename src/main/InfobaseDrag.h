#pragma once

// Every drag source of the program carries a MIME type of its own, so that a drop target knows
// where a drag came from. An infobase dragged from the main window's infobase list (onto the
// category and division bars) carries this type; its data is the infobase's directory (PATH) as
// UTF-8. The dragged infobase is the current row of the infobase list.
namespace mainwin {

inline constexpr const char* kInfobaseMimeType = "application/x-tarvesk-infobase";

} // namespace mainwin
