#include "widgets/TrayPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace widgets {
namespace {

const QColor kNavy(0, 0, 128);
const QColor kYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);
const QColor kTeal(0, 128, 128);
const QColor kAqua(0, 255, 255);

// A "start" triangle pointing right, centred in a square of the given side.
QPainterPath startTriangle(qreal side) {
    QPainterPath path;
    path.moveTo(side * 0.38, side * 0.28);
    path.lineTo(side * 0.74, side * 0.50);
    path.lineTo(side * 0.38, side * 0.72);
    path.closeSubpath();
    return path;
}

} // namespace

QIcon TrayPictures::staticIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kWhite, 1.5));
    painter.setBrush(kNavy);
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    painter.setPen(QPen(kTeal, 1));
    painter.setBrush(kYellow);
    painter.drawPath(startTriangle(32));
    return QIcon(pixmap);
}

QList<QIcon> TrayPictures::animationFrames() {
    QList<QIcon> frames;
    for (int frame = 0; frame < kFrameCount; ++frame) {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kNavy);
        painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        painter.setBrush(kYellow);
        painter.drawPath(startTriangle(16));
        // A light dot runs round the rim, one eighth of a turn per picture, clockwise from the top.
        qreal angle = qDegreesToRadians(frame * 45.0 - 90.0);
        QPointF dot(8 + 5.6 * qCos(angle), 8 + 5.6 * qSin(angle));
        painter.setBrush(kAqua);
        painter.drawEllipse(dot, 1.8, 1.8);
        frames.append(QIcon(pixmap));
    }
    return frames;
}

} // namespace widgets
