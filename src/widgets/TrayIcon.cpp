#include "widgets/TrayIcon.h"

#include "widgets/SystemTrayHost.h"
#include "widgets/TrayPictures.h"

#include <QApplication>
#include <QCursor>

namespace widgets {

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {
    m_host = std::make_unique<SystemTrayHost>(
        [this](QSystemTrayIcon::ActivationReason reason) { handleActivation(reason); });
    init();
}

TrayIcon::TrayIcon(std::unique_ptr<TrayHost> host, QObject* parent) : QObject(parent), m_host(std::move(host)) {
    init();
}

TrayIcon::~TrayIcon() {
    m_host->setVisible(false);
}

void TrayIcon::init() {
    m_static = TrayPictures::staticIcon();
    m_frames = TrayPictures::animationFrames();
    m_frameTimer.setInterval(kFrameIntervalMs);
    connect(&m_frameTimer, &QTimer::timeout, this, &TrayIcon::advanceFrame);
    m_clickTimer.setSingleShot(true);
    connect(&m_clickTimer, &QTimer::timeout, this, &TrayIcon::finishClick);
    m_host->setToolTip(toolTip());
    showPicture();
    m_host->setVisible(false);
}

QString TrayIcon::toolTip() const {
    return QStringLiteral("Tarvesk");
}

void TrayIcon::setVisible(bool visible) {
    if (visible == m_visible)
        return;
    m_visible = visible;
    if (!visible) {
        m_clickTimer.stop();
        m_clickPending = false;
    }
    m_host->setVisible(visible);
    updateTimer();
}

void TrayIcon::setAnimated(bool animated) {
    if (animated == m_animated)
        return;
    m_animated = animated;
    showPicture();
    updateTimer();
}

void TrayIcon::setContextMenu(QMenu* menu) {
    m_host->setContextMenu(menu);
}

void TrayIcon::advanceFrame() {
    if (!m_animated)
        return;
    m_frame = (m_frame + 1) % static_cast<int>(m_frames.size());
    showPicture();
}

void TrayIcon::showPicture() {
    m_host->setIcon(m_animated ? m_frames.value(m_frame) : m_static);
}

// The animation only runs while it can be seen.
void TrayIcon::updateTimer() {
    if (m_animated && m_visible)
        m_frameTimer.start();
    else
        m_frameTimer.stop();
}

void TrayIcon::handleActivation(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        handleClick();
        break;
    case QSystemTrayIcon::DoubleClick:
        handleDoubleClick();
        break;
    case QSystemTrayIcon::Context:
        handleContextMenuRequest(QCursor::pos());
        break;
    default:
        break;
    }
}

void TrayIcon::handleClick() {
    if (m_clickPending) {
        handleDoubleClick();
        return;
    }
    m_clickPending = true;
    m_clickTimer.start(QApplication::doubleClickInterval());
}

void TrayIcon::handleDoubleClick() {
    m_clickTimer.stop();
    m_clickPending = false;
    emit doubleClicked();
}

void TrayIcon::handleContextMenuRequest(const QPoint& globalPos) {
    emit contextMenuRequested(globalPos);
}

void TrayIcon::finishClick() {
    if (!m_clickPending)
        return;
    m_clickTimer.stop();
    m_clickPending = false;
    emit clicked();
}

} // namespace widgets
