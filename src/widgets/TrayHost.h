#pragma once
#include <QIcon>
#include <QString>

class QMenu;

namespace widgets {

// What the tray icon needs of the notification area; the system one is SystemTrayHost, tests
// put a fake in its place.
class TrayHost {
public:
    virtual ~TrayHost() = default;
    virtual void setVisible(bool visible) = 0;
    virtual void setIcon(const QIcon& icon) = 0;
    virtual void setToolTip(const QString& text) = 0;
    virtual void setContextMenu(QMenu* menu) = 0;
};

} // namespace widgets
