#include "main/MainPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace mainwin {

namespace {

QPixmap canvas(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

// A coloured disc per regime with a mark of its own: a triangle (run), a gear-like square
// (configure), a cross-hair (debug), bars (monitor), stacked sheets (batch).
QIcon MainPictures::regimeIcon(int regime) {
    static const QColor colours[] = {QColor(0, 128, 0), QColor(0, 0, 160), QColor(160, 0, 0), QColor(0, 128, 128),
                                     QColor(128, 0, 128)};
    QPixmap pixmap = canvas(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colours[regime >= 0 && regime < 5 ? regime : 0]);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::white, 1.5));
    switch (regime) {
    case 0: {
        QPainterPath path;
        path.moveTo(6, 4);
        path.lineTo(12, 8);
        path.lineTo(6, 12);
        path.closeSubpath();
        p.fillPath(path, Qt::white);
        break;
    }
    case 1:
        p.drawRect(QRectF(5, 5, 6, 6));
        break;
    case 2:
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(4.5, 4.5, 7, 7));
        p.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
        p.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
        break;
    case 3:
        p.drawLine(QPointF(5, 12), QPointF(5, 8));
        p.drawLine(QPointF(8, 12), QPointF(8, 4));
        p.drawLine(QPointF(11, 12), QPointF(11, 6));
        break;
    default:
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(4, 4, 6, 6));
        p.drawRect(QRectF(6.5, 6.5, 6, 6));
        break;
    }
    return QIcon(pixmap);
}

QIcon MainPictures::toolIcon(Tool tool) {
    QPixmap pixmap = canvas(20);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (tool) {
    case Tool::Settings:
        p.setPen(QPen(QColor(64, 64, 64), 3, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 4; ++i) {
            p.save();
            p.translate(10, 10);
            p.rotate(45.0 * i);
            p.drawLine(QPointF(-8, 0), QPointF(8, 0));
            p.restore();
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(128, 128, 128));
        p.drawEllipse(QRectF(4, 4, 12, 12));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(7.5, 7.5, 5, 5));
        break;
    case Tool::Registry:
        p.setPen(QPen(QColor(0, 0, 128), 1));
        for (int i = 0; i < 3; ++i) {
            p.setBrush(i == 1 ? QColor(255, 255, 160) : QColor(192, 220, 255));
            p.drawRect(QRectF(2.5, 2.5 + 5.5 * i, 15, 4.5));
        }
        break;
    case Tool::About:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 96, 192));
        p.drawEllipse(QRectF(1, 1, 18, 18));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(8.5, 4, 3, 3));
        p.drawRect(QRectF(8.5, 8.5, 3, 7.5));
        break;
    }
    return QIcon(pixmap);
}

} // namespace mainwin
