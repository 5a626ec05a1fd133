#include "explorer/ExplorerImages.h"

#include "widgets/Pictures.h"

namespace explorer {

QIcon explorerImage(int index) {
    if (index < 0 || index > ExclusiveImage)
        return {};
    return widgets::picture(QStringLiteral("explorer-%1.png").arg(index, 2, 10, QLatin1Char('0')));
}

} // namespace explorer
