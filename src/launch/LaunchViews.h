#pragma once
#include <string>

// What the launcher reads from the windows a launch request comes from, at the moment of the
// request. The windows implement these; tests fake them.
namespace launch {

// The main window: its start-regime list and its " Монопольно " check box.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    virtual int startRegime() const = 0;     // selected index of cmbStartRegime, 0..4
    virtual bool exclusiveChecked() const = 0; // cbxStartMode is checked (also while disabled)
};

// The explorer window: its own regime and exclusive controls and the directory picked there.
class ExplorerView {
public:
    virtual ~ExplorerView() = default;
    virtual int explorerRegime() const = 0;     // the launch button's regime, 0..4
    virtual bool explorerExclusive() const = 0; // the start mode toggle is pressed
    // The picked directory as a Windows path followed by "\", or empty (see the explorer window).
    virtual std::string SelectedDirectory() const = 0;
};

// The application as a whole, for the after-launch rule.
class Application {
public:
    virtual ~Application() = default;
    virtual void minimizeApplication() = 0;  // as the minimise button does (tray rule included)
    virtual void terminateApplication() = 0; // ends at once, without the main window's close query
};

} // namespace launch
