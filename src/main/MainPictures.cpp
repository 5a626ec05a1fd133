#include "main/MainPictures.h"

#include "widgets/Pictures.h"

namespace mainwin {

// A coloured disc per regime with a mark of its own (run, configure, debug, monitor, batch).
QIcon MainPictures::regimeIcon(int regime) {
    return widgets::picture(QStringLiteral("regime-%1.png").arg(regime >= 0 && regime < 5 ? regime : 0));
}

QIcon MainPictures::toolIcon(Tool tool) {
    switch (tool) {
    case Tool::Settings:
        return widgets::picture(QStringLiteral("tool-settings.png"));
    case Tool::Registry:
        return widgets::picture(QStringLiteral("tool-registry.png"));
    case Tool::About:
        break;
    }
    return widgets::picture(QStringLiteral("tool-about.png"));
}

} // namespace mainwin
