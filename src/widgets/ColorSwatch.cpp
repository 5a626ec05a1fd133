#include "widgets/ColorSwatch.h"

#include "widgets/ColorValue.h"

#include <QPainter>
#include <QPixmap>

namespace widgets {

QIcon ColorSwatch::icon(std::uint32_t value, const QPalette& palette, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.fillRect(QRect(QPoint(0, 0), size), resolveColor(value, palette));
    painter.setPen(QColor(Qt::black));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return QIcon(pixmap);
}

} // namespace widgets
