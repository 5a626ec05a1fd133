#include "registry/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace registry {

void centerOn(QWidget& window, const QWidget* other) {
    const QWidget* anchor = other ? other->window() : nullptr;
    QRect area;
    if (anchor && anchor->isVisible())
        area = anchor->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    else
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(area.center());
    window.move(frame.topLeft());
}

} // namespace registry
