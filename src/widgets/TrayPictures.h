#pragma once
#include <QIcon>
#include <QList>

namespace widgets {

// The pictures of the tray icon from the resource file: a 32 x 32 static icon and an animation of
// 8 pictures of 16 x 16, both in colours of the 16-colour palette.
class TrayPictures {
public:
    static constexpr int kFrameCount = 8;

    static QIcon staticIcon();
    static QList<QIcon> animationFrames();
};

} // namespace widgets
