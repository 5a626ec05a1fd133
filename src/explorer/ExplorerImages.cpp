#include "explorer/ExplorerImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace explorer {
namespace {

void drawView(QPainter& p, int style) {
    p.setPen(QColor(0, 0, 128));
    p.setBrush(QColor(90, 140, 220));
    switch (style) {
    case 0: // large icons: four big squares
        for (int y : {1, 9})
            for (int x : {1, 9})
                p.drawRect(x, y, 5, 5);
        break;
    case 1: // small icons: rows of small squares with a line each
        for (int y : {2, 7, 12}) {
            p.drawRect(1, y, 2, 2);
            p.drawRect(8, y, 2, 2);
        }
        break;
    case 2: // list: one column of entries
        for (int y : {2, 6, 10}) {
            p.drawRect(1, y, 2, 2);
            p.drawLine(5, y + 1, 14, y + 1);
        }
        break;
    default: // table: entries with columns
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 1, 15, 13);
        p.drawLine(0, 5, 15, 5);
        p.drawLine(0, 9, 15, 9);
        p.drawLine(7, 1, 7, 14);
        break;
    }
}

void drawRegime(QPainter& p, int regime) {
    static const QColor colours[] = {QColor(0, 128, 0), QColor(200, 140, 0), QColor(192, 0, 0), QColor(0, 0, 192),
                                     QColor(128, 0, 128)};
    static const char* letters[] = {"П", "К", "О", "М", "@"};
    p.setPen(Qt::NoPen);
    p.setBrush(colours[regime]);
    p.drawRoundedRect(0, 0, 16, 16, 3, 3);
    QFont font = p.font();
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString::fromUtf8(letters[regime]));
}

void drawUp(QPainter& p) {
    QPainterPath arrow;
    arrow.moveTo(8, 1);
    arrow.lineTo(15, 8);
    arrow.lineTo(11, 8);
    arrow.lineTo(11, 15);
    arrow.lineTo(5, 15);
    arrow.lineTo(5, 8);
    arrow.lineTo(1, 8);
    arrow.closeSubpath();
    p.setPen(QColor(0, 64, 0));
    p.setBrush(QColor(60, 170, 60));
    p.drawPath(arrow);
}

void drawMode(QPainter& p, bool exclusive) {
    p.setPen(Qt::black);
    if (exclusive) { // one user
        p.setBrush(QColor(220, 40, 40));
        p.drawEllipse(5, 1, 6, 6);
        p.drawRoundedRect(3, 8, 10, 7, 2, 2);
    } else { // several users
        p.setBrush(QColor(60, 140, 220));
        p.drawEllipse(1, 2, 5, 5);
        p.drawRoundedRect(0, 8, 7, 7, 2, 2);
        p.drawEllipse(9, 2, 5, 5);
        p.drawRoundedRect(8, 8, 7, 7, 2, 2);
    }
}

} // namespace

QIcon explorerImage(int index) {
    if (index < 0 || index > ExclusiveImage)
        return {};
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, index >= RegimeImageBase);
    if (index < RegimeImageBase)
        drawView(p, index);
    else if (index < UpImage)
        drawRegime(p, index - RegimeImageBase);
    else if (index == UpImage)
        drawUp(p);
    else
        drawMode(p, index == ExclusiveImage);
    p.end();
    return QIcon(picture);
}

} // namespace explorer
