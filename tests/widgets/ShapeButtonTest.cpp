#include "widgets/ShapeButton.h"

#include "WidgetTestSupport.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using widgets::ShapeButton;

namespace {

// A pixel inside the rounded fill, away from the caption.
QColor fillOf(ShapeButton& button) {
    return widgettest::pixelOf(&button, 10, button.height() / 2);
}

} // namespace

TEST(ShapeButtonTest, FillFollowsPressedHoverAndNormalColours) {
    ShapeButton button("Добавить");
    button.resize(120, 30);
    button.setColors(0x00808000, 0x00CAF38B, 0x00C0DCC0);

    EXPECT_EQ(fillOf(button), QColor(192, 220, 192)) << "normal";
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &enter);
    EXPECT_EQ(fillOf(button), QColor(139, 243, 202)) << "pointer over";
    QTest::mousePress(&button, Qt::LeftButton);
    EXPECT_EQ(fillOf(button), QColor(0, 128, 128)) << "pressed";
    QSignalSpy clicked(&button, &ShapeButton::clicked);
    QTest::mouseRelease(&button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_EQ(fillOf(button), QColor(192, 220, 192)) << "normal again";
}

TEST(ShapeButtonTest, DefaultsToButtonFaceOfThePalette) {
    ShapeButton button("Старт");
    button.resize(120, 30);
    EXPECT_EQ(fillOf(button), button.palette().color(QPalette::Button));
}

TEST(ShapeButtonTest, BoldCaptionWidensTheButton) {
    ShapeButton plain("Проводник");
    ShapeButton bold("Проводник");
    bold.setBold(true);
    EXPECT_TRUE(bold.isBold());
    EXPECT_GT(bold.sizeHint().width(), plain.sizeHint().width());
}

TEST(ShapeButtonTest, ClickTakesTheFocusOnlyWhenAsked) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    auto* button = new ShapeButton("Закрыть", &window);
    layout->addWidget(edit);
    layout->addWidget(button);
    ASSERT_TRUE(widgettest::showActive(&window));
    edit->setFocus();

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(edit->hasFocus());
    button->setFocusOnClick(true);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(button->hasFocus());
}
