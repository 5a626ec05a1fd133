#pragma once
#include <optional>

namespace settings {
class IniFile;
}

// The main window's remembered place: "Main"/frmMain_Left and frmMain_Top in the settings file,
// -1 in either meaning that no place is stored (the window is then centred). Only the place is
// kept; the window's size is fixed.
namespace mainwin {

struct WindowPoint {
    int left = 0;
    int top = 0;
    bool operator==(const WindowPoint&) const = default;
};

struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The stored place, or nothing when either key is missing or -1. A stored place is used as it is,
// also when it lies off every screen.
std::optional<WindowPoint> readWindowPosition(const settings::IniFile& ini);
// Writes both keys, whatever their values; raises what the settings file raises.
void writeWindowPosition(settings::IniFile& ini, WindowPoint point);

// The top-left corner of a frame of the given size centred in the screen's available area.
WindowPoint centredPosition(const WindowRect& screen, int width, int height);

} // namespace mainwin
