#include "main/WindowPosition.h"

#include "settings/IniFile.h"

namespace mainwin {

namespace {
constexpr const char* kSection = "Main";
constexpr const char* kLeft = "frmMain_Left";
constexpr const char* kTop = "frmMain_Top";
} // namespace

std::optional<WindowPoint> readWindowPosition(const settings::IniFile& ini) {
    const int left = ini.readInteger(kSection, kLeft, -1);
    const int top = ini.readInteger(kSection, kTop, -1);
    if (left == -1 || top == -1)
        return std::nullopt;
    return WindowPoint{left, top};
}

void writeWindowPosition(settings::IniFile& ini, WindowPoint point) {
    ini.writeInteger(kSection, kLeft, point.left);
    ini.writeInteger(kSection, kTop, point.top);
}

WindowPoint centredPosition(const WindowRect& screen, int width, int height) {
    return {screen.left + (screen.width - width) / 2, screen.top + (screen.height - height) / 2};
}

} // namespace mainwin
