#pragma once

namespace settings {

// Makes the system start the program at logon as chosen on the "Общие" page. The settings window
// calls it on OK and Apply, after the appearance step and before saving.
class AutoStart {
public:
    // The ticks of cgbAutoStart and of its four radios (rbnAllUser carries the Startup folder row
    // 8, rbnCurUser row 28).
    struct Choice {
        bool autoStart = false;   // cgbAutoStart
        bool sysRegistry = false; // rbnSysRegistry
        bool startUpMenu = false; // rbnStartUpMenu
        bool allUser = false;     // rbnAllUser
        bool curUser = false;     // rbnCurUser
    };

    virtual ~AutoStart() = default;
    // Raises an exception (std::exception, its what() the text for the user) when a step fails;
    // the settings window then reports it, skips saving and stays open.
    virtual void applyAutoStart(const Choice& choice) = 0;
};

} // namespace settings
