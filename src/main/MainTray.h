#pragma once
#include <QObject>

#include <memory>

class QAction;
class QMenu;

namespace widgets {
class TrayHost;
class TrayIcon;
} // namespace widgets

namespace mainwin {

// The main window's notification-area icon with its menu pmuTray: "Настройки..." (the default
// entry, bold), "Восстановить", "Свернуть", a separator, "Закрыть". A single click asks for the
// restore, a double click for the settings (never both); the right button opens the menu.
class MainTray : public QObject {
    Q_OBJECT
public:
    // host: the notification area (tests pass a fake); null for the desktop's own.
    explicit MainTray(std::unique_ptr<widgets::TrayHost> host, QObject* parent = nullptr);
    ~MainTray() override;

    widgets::TrayIcon& icon() { return *m_icon; }
    QMenu* menu() const { return m_menu.get(); }

signals:
    void settingsRequested();
    void restoreRequested();
    void minimizeRequested();
    void terminateRequested();

private:
    QAction* addEntry(const char* name, const QString& text, void (MainTray::*signal)());

    std::unique_ptr<QMenu> m_menu;
    widgets::TrayIcon* m_icon = nullptr;
};

} // namespace mainwin
