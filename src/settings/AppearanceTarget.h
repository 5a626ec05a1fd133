#pragma once

namespace settings {

class TfrmSetup;

// What the appearance step changes (the main window's colours, the tray icon). The settings window
// calls it at creation and on OK and Apply; it reads the choices through TfrmSetup's getters.
class AppearanceTarget {
public:
    virtual ~AppearanceTarget() = default;
    virtual void applyAppearance(const TfrmSetup& setup) = 0;
};

} // namespace settings
