#include "widgets/TrayPictures.h"

#include "widgets/Pictures.h"

namespace widgets {

QIcon TrayPictures::staticIcon() {
    return picture(QStringLiteral("tray.png"));
}

QList<QIcon> TrayPictures::animationFrames() {
    QList<QIcon> frames;
    for (int frame = 0; frame < kFrameCount; ++frame)
        frames.append(picture(QStringLiteral("tray-%1.png").arg(frame)));
    return frames;
}

} // namespace widgets
