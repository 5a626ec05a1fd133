#include "widgets/SystemTrayHost.h"

namespace widgets {

SystemTrayHost::SystemTrayHost(ActivationHandler onActivated) {
    QObject::connect(&m_icon, &QSystemTrayIcon::activated, &m_icon, std::move(onActivated));
}

void SystemTrayHost::setVisible(bool visible) {
    m_icon.setVisible(visible);
}

void SystemTrayHost::setIcon(const QIcon& icon) {
    m_icon.setIcon(icon);
}

void SystemTrayHost::setToolTip(const QString& text) {
    m_icon.setToolTip(text);
}

void SystemTrayHost::setContextMenu(QMenu* menu) {
    m_icon.setContextMenu(menu);
}

} // namespace widgets
