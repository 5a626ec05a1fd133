#pragma once
#include "widgets/TrayHost.h"

#include <QSystemTrayIcon>
#include <functional>

namespace widgets {

// The notification area of the desktop through QSystemTrayIcon. Errors of the notification area
// are not reported: an icon that cannot be shown simply does not show.
class SystemTrayHost : public TrayHost {
public:
    using ActivationHandler = std::function<void(QSystemTrayIcon::ActivationReason)>;

    explicit SystemTrayHost(ActivationHandler onActivated);

    void setVisible(bool visible) override;
    void setIcon(const QIcon& icon) override;
    void setToolTip(const QString& text) override;
    void setContextMenu(QMenu* menu) override;

private:
    QSystemTrayIcon m_icon;
};

} // namespace widgets
