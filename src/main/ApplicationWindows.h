#pragma once
#include "launch/LaunchViews.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace mainwin {

// The application as a whole: the main window and the program's other open windows (explorer,
// registry) are minimised, hidden from the taskbar and restored together; no other window of the
// process is touched (the toolkit's own tray icon is a top-level window too, and hiding it would
// leave nothing to click). Minimising hides the taskbar entries only while the tray setting is on
// and the desktop has a notification area at that moment, so the program never becomes
// unreachable.
class ApplicationWindows : public QObject, public launch::Application {
    Q_OBJECT
public:
    struct Rules {
        std::function<bool()> sysTray;                 // cbxSysTray, read when the program is minimised
        std::function<bool()> trayAvailable;           // the desktop has a notification area now
        std::function<void()> terminate;               // ends the program without the close query
        std::function<QList<QWidget*>()> otherWindows; // the program's windows besides the main one
    };

    explicit ApplicationWindows(QWidget* mainWindow, Rules rules, QObject* parent = nullptr);

    // Start-up has shown the main window: from now on restoring may show windows.
    void setStarted() { m_started = true; }
    bool isStarted() const { return m_started; }

    // The program is minimised: on the taskbar or hidden from it.
    bool isMinimized() const;
    bool isHiddenFromTaskbar() const { return m_hidden; }

    // launch::Application
    void minimizeApplication() override;
    void terminateApplication() override;

    // Restores the application from minimised (showing it again when hidden) and brings it to
    // the front. Does nothing before start-up has shown the main window.
    void restoreApplication();
    // The activation message of a second start: restore when minimised, then bring to the front.
    void activate();

public slots:
    // Called by the main window after it was minimised (by its button or by minimizeApplication).
    void afterMinimized();

private:
    QList<QWidget*> otherOpenWindows() const;
    void bringToFront();

    QWidget* m_main;
    Rules m_rules;
    QList<QPointer<QWidget>> m_taken; // the other windows minimised along with the main window
    bool m_started = false;
    bool m_hidden = false;
};

} // namespace mainwin
