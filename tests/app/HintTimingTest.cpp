// The hint timing of the whole application, with the toolkit's own tool-tip machinery: a hint
// shows after the long pause, and while hints are showing the next one follows after the short one.
// Timers fire in the order they fall due, so the checks below hold on a machine of any speed: a
// hint that shows before a timer of 150 ms started at the same moment came with the short pause.
#include "app/entry/HintTiming.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "test_app_hints";
    static char* argv[] = {name, nullptr};
    static auto* app = [] {
        auto* created = new QApplication(argc, argv);
        app::installHintTiming(created);
        return created;
    }();
    return *app;
}

// Moves the pointer onto the widget, then reports whether its hint was showing when a timer of
// fence milliseconds, started with the move, fired.
bool hintShownWithin(QWidget* widget, int fence) {
    QTest::mouseMove(widget, widget->rect().center());
    bool shown = false;
    QEventLoop loop;
    QTimer::singleShot(fence, &loop, [&] {
        shown = QToolTip::isVisible() && QToolTip::text() == widget->toolTip();
        loop.quit();
    });
    loop.exec();
    return shown;
}

} // namespace

TEST(HintTiming, TheNextHintFollowsAfterTheShortPauseWhileHintsAreShowing) {
    application();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    QPushButton first(QStringLiteral("Первая")), second(QStringLiteral("Вторая")), third(QStringLiteral("Третья"));
    first.setToolTip(QStringLiteral(" Настройки программы"));
    second.setToolTip(QStringLiteral(" О программе"));
    third.setToolTip(QStringLiteral(" Клавиша М - изменение режима"));
    for (QWidget* w : {&first, &second, &third})
        layout->addWidget(w);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    EXPECT_FALSE(hintShownWithin(&first, app::kHintPauseMs / 2)) << "the first hint waits for the long pause";
    ASSERT_TRUE(QTest::qWaitFor([&] { return QToolTip::isVisible(); }, 5000));
    EXPECT_EQ(QToolTip::text(), first.toolTip());
    // Moving on while it shows: the next hints come after the short pause, one after another.
    EXPECT_TRUE(hintShownWithin(&second, app::kHintPauseMs / 2));
    EXPECT_TRUE(hintShownWithin(&third, app::kHintPauseMs / 2));
}
