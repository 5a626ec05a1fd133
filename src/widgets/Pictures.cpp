#include "widgets/Pictures.h"

#include <QFile>

// The resource file is linked from a static library: naming its initialiser here both registers
// it and keeps the linker from dropping it. The macro must be used outside any namespace.
static void initPictureResources() {
    Q_INIT_RESOURCE(tarvesk);
}

namespace widgets {

QIcon picture(const QString& name) {
    static const bool registered = [] {
        initPictureResources();
        return true;
    }();
    (void)registered;
    const QString path = QStringLiteral(":/pictures/") + name;
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

} // namespace widgets
