#pragma once
#include <functional>
#include <string>

namespace platform {
class PathMapper;
}

namespace settings {

class AppearanceTarget;
class AutoStart;

// What the settings window is given. Every member may be left empty: no appearance or autostart
// step, paths shown as the host gives them, the message box and the file dialog by default.
struct SetupServices {
    AppearanceTarget* appearance = nullptr;
    AutoStart* autoStart = nullptr;
    const platform::PathMapper* pathMapper = nullptr;
    // The application's general error report.
    std::function<void(const std::string&)> reportError;
    // Asks for an existing batch file; its host path, or empty when cancelled.
    std::function<std::string()> choosePrmFile;
    // The action map the grid edits; the process-wide ControlMap when null.
    std::string* controlMap = nullptr;
};

} // namespace settings
