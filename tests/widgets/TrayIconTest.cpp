#include "widgets/TrayIcon.h"

#include "widgets/TrayHost.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using widgets::TrayIcon;

namespace {

// A notification area that only remembers what it was told.
struct FakeTrayHost : widgets::TrayHost {
    void setVisible(bool v) override { visible = v; }
    void setIcon(const QIcon& i) override { icon = i; }
    void setToolTip(const QString& text) override { toolTip = text; }
    void setContextMenu(QMenu* m) override { menu = m; }

    bool visible = true;
    QIcon icon;
    QString toolTip;
    QMenu* menu = nullptr;
};

class TrayIconTest : public ::testing::Test {
protected:
    TrayIconTest() : host(new FakeTrayHost), tray(std::unique_ptr<widgets::TrayHost>(host)) {}

    bool showsFrame(int frame) const { return host->icon.cacheKey() == tray.frameIcon(frame).cacheKey(); }
    bool showsStatic() const { return host->icon.cacheKey() == tray.staticIcon().cacheKey(); }

    FakeTrayHost* host;
    TrayIcon tray;
};

} // namespace

TEST_F(TrayIconTest, StartsHiddenAndStaticWithItsToolTip) {
    EXPECT_FALSE(host->visible);
    EXPECT_EQ(host->toolTip, "Tarvesk");
    EXPECT_TRUE(showsStatic());
    tray.setVisible(true);
    EXPECT_TRUE(host->visible);
    EXPECT_FALSE(tray.isAnimationRunning());
}

TEST_F(TrayIconTest, PicturesHaveTheirSizesAndDiffer) {
    EXPECT_TRUE(tray.staticIcon().availableSizes().contains(QSize(32, 32)));
    QList<QImage> images;
    for (int frame = 0; frame < 8; ++frame) {
        ASSERT_TRUE(tray.frameIcon(frame).availableSizes().contains(QSize(16, 16))) << frame;
        QImage image = tray.frameIcon(frame).pixmap(16, 16).toImage();
        EXPECT_FALSE(images.contains(image)) << "picture " << frame << " repeats an earlier one";
        images.append(image);
    }
}

TEST_F(TrayIconTest, AnimationStepsThroughEightPicturesInALoop) {
    tray.setVisible(true);
    tray.setAnimated(true);
    EXPECT_TRUE(tray.isAnimationRunning());
    EXPECT_TRUE(showsFrame(0)) << "the first picture of the run is the first of the list";
    for (int tick = 1; tick <= 17; ++tick) {
        tray.advanceFrame();
        EXPECT_EQ(tray.currentFrame(), tick % 8) << tick;
        EXPECT_TRUE(showsFrame(tick % 8)) << tick;
    }
}

TEST_F(TrayIconTest, SwitchingOffShowsTheStaticIconAndOnAgainResumes) {
    tray.setVisible(true);
    tray.setAnimated(true);
    for (int i = 0; i < 3; ++i)
        tray.advanceFrame();
    tray.setAnimated(false);
    EXPECT_TRUE(showsStatic());
    EXPECT_FALSE(tray.isAnimationRunning());
    tray.advanceFrame(); // a tick after switching off changes nothing
    EXPECT_TRUE(showsStatic());

    tray.setAnimated(true);
    EXPECT_EQ(tray.currentFrame(), 3);
    EXPECT_TRUE(showsFrame(3));
    tray.advanceFrame();
    EXPECT_TRUE(showsFrame(4));
}

TEST_F(TrayIconTest, AnimationRunsOnlyWhileVisible) {
    tray.setAnimated(true);
    EXPECT_FALSE(tray.isAnimationRunning());
    tray.setVisible(true);
    EXPECT_TRUE(tray.isAnimationRunning());
    tray.setVisible(false);
    EXPECT_FALSE(tray.isAnimationRunning());
    EXPECT_FALSE(host->visible);
}

TEST_F(TrayIconTest, SingleClickWaitsAndDoubleClickReplacesIt) {
    tray.setVisible(true);
    QSignalSpy clicked(&tray, &TrayIcon::clicked);
    QSignalSpy doubleClicked(&tray, &TrayIcon::doubleClicked);
    struct Case {
        const char* name;
        std::vector<QSystemTrayIcon::ActivationReason> events;
        int clicks;
        int doubleClicks;
    };
    const Case cases[] = {
        {"one click", {QSystemTrayIcon::Trigger}, 1, 0},
        {"click then double click", {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick}, 0, 1},
        {"two clicks within the interval", {QSystemTrayIcon::Trigger, QSystemTrayIcon::Trigger}, 0, 1},
        {"double click alone", {QSystemTrayIcon::DoubleClick}, 0, 1},
    };
    for (const Case& c : cases) {
        clicked.clear();
        doubleClicked.clear();
        for (auto reason : c.events)
            tray.handleActivation(reason);
        EXPECT_EQ(clicked.count(), 0) << c.name << ": nothing before the interval ends";
        tray.finishClick(); // the double-click interval ends
        EXPECT_EQ(clicked.count(), c.clicks) << c.name;
        EXPECT_EQ(doubleClicked.count(), c.doubleClicks) << c.name;
        EXPECT_FALSE(tray.isClickPending()) << c.name;
    }
}

TEST_F(TrayIconTest, ClickWaitingWhenTheIconIsHiddenIsDropped) {
    tray.setVisible(true);
    QSignalSpy clicked(&tray, &TrayIcon::clicked);
    tray.handleClick();
    EXPECT_TRUE(tray.isClickPending());
    tray.setVisible(false);
    tray.finishClick();
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(TrayIconTest, ContextRequestIsPassedOn) {
    QSignalSpy requested(&tray, &TrayIcon::contextMenuRequested);
    tray.handleContextMenuRequest(QPoint(10, 20));
    tray.handleActivation(QSystemTrayIcon::Context);
    ASSERT_EQ(requested.count(), 2);
    EXPECT_EQ(requested.at(0).at(0).toPoint(), QPoint(10, 20));
}

TEST(TrayIconSystemTest, WorksWithoutANotificationArea) {
    TrayIcon tray;
    tray.setVisible(true);
    tray.setAnimated(true);
    tray.advanceFrame();
    EXPECT_EQ(tray.currentFrame(), 1);
    tray.setVisible(false);
}
