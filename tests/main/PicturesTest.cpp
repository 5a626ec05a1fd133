// The pictures come from the resource file compiled into the program: every one the windows ask
// for is there, at the size it is drawn for.
#include "widgets/Pictures.h"
#include "explorer/ExplorerImages.h"
#include "main/MainPictures.h"
#include "widgets/TrayPictures.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "test_main_pictures";
    static char* argv[] = {name, nullptr};
    static auto* application = new QApplication(argc, argv);
    return *application;
}

// The icon's one picture: its size, and whether any pixel is drawn.
QSize pictureSize(const QIcon& icon) {
    const QList<QSize> sizes = icon.availableSizes();
    return sizes.size() == 1 ? sizes.front() : QSize();
}

QImage image(const QIcon& icon) {
    return icon.pixmap(pictureSize(icon)).toImage();
}

TEST(Pictures, EveryPictureOfTheWindowsIsInTheResourceFile) {
    qtApp();
    struct Case {
        QString what;
        QIcon icon;
        QSize size;
    };
    std::vector<Case> cases;
    for (int regime = 0; regime < 5; ++regime)
        cases.push_back({QStringLiteral("regime %1").arg(regime), mainwin::MainPictures::regimeIcon(regime), {16, 16}});
    for (auto tool : {mainwin::MainPictures::Tool::Settings, mainwin::MainPictures::Tool::Registry,
                      mainwin::MainPictures::Tool::About})
        cases.push_back(
            {QStringLiteral("tool %1").arg(static_cast<int>(tool)), mainwin::MainPictures::toolIcon(tool), {20, 20}});
    for (int index = 0; index <= explorer::ExclusiveImage; ++index)
        cases.push_back({QStringLiteral("explorer %1").arg(index), explorer::explorerImage(index), {16, 16}});
    cases.push_back({QStringLiteral("tray"), widgets::TrayPictures::staticIcon(), {32, 32}});
    const QList<QIcon> frames = widgets::TrayPictures::animationFrames();
    ASSERT_EQ(frames.size(), widgets::TrayPictures::kFrameCount);
    for (int frame = 0; frame < frames.size(); ++frame)
        cases.push_back({QStringLiteral("tray frame %1").arg(frame), frames[frame], {16, 16}});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what.toStdString());
        ASSERT_FALSE(c.icon.isNull());
        EXPECT_EQ(pictureSize(c.icon), c.size);
        const QImage picture = image(c.icon);
        bool drawn = false;
        for (int y = 0; y < picture.height() && !drawn; ++y)
            for (int x = 0; x < picture.width() && !drawn; ++x)
                drawn = qAlpha(picture.pixel(x, y)) != 0;
        EXPECT_TRUE(drawn) << "an empty picture";
    }
}

TEST(Pictures, TheAnimationMovesAndUnknownNamesGiveNothing) {
    qtApp();
    const QList<QIcon> frames = widgets::TrayPictures::animationFrames();
    for (int frame = 1; frame < frames.size(); ++frame)
        EXPECT_NE(image(frames[frame]), image(frames[frame - 1])) << frame;
    EXPECT_TRUE(widgets::picture(QStringLiteral("no-such-picture.png")).isNull());
    EXPECT_TRUE(explorer::explorerImage(explorer::ExclusiveImage + 1).isNull());
}

} // namespace
