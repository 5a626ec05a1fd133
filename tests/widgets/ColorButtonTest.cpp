#include "widgets/ColorButton.h"

#include "WidgetTestSupport.h"
#include "widgets/ColorPopup.h"
#include "widgets/ColorTable.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace widgets;

TEST(ColorButtonTest, ActiveColourRoundTripsAndIsReportedOnChange) {
    ColorButton button;
    EXPECT_EQ(button.activeColor(), kColorGray);
    QSignalSpy changed(&button, &ColorButton::activeColorChanged);
    button.setActiveColor(0x008080FF);
    button.setActiveColor(0x008080FF);
    EXPECT_EQ(button.activeColor(), 0x008080FFu);
    EXPECT_EQ(changed.count(), 1);
}

TEST(ColorButtonTest, ShowsItsColour) {
    ColorButton button;
    button.resize(64, 26);
    button.setActiveColor(0x000000FF);
    EXPECT_EQ(widgettest::pixelOf(&button, 32, 13), QColor(255, 0, 0));
}

TEST(ColorButtonTest, PopupPicksAutoAsBlackAndFixedColours) {
    ColorButton button;
    ASSERT_TRUE(widgettest::showActive(&button));
    QTest::mouseClick(&button, Qt::LeftButton);
    ColorPopup* popup = button.popup();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->autoButton()->text(), "Авто");
    EXPECT_EQ(popup->moreButton()->text(), "Другие цвета");

    popup->autoButton()->click();
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(button.activeColor(), kColorBlack);

    button.showPopup();
    popup->swatchButtons().at(16)->click();
    EXPECT_EQ(button.activeColor(), ColorPopup::paletteColors().at(16));
    EXPECT_EQ(button.activeColor(), 0x000000FFu);
}

TEST(ColorButtonTest, OtherColoursComeFromTheColourDialog) {
    ColorButton button;
    button.setActiveColor(0x00102030);
    QColor offered;
    std::optional<QColor> answer = QColor(1, 2, 3);
    button.setColorPicker([&](const QColor& initial, QWidget*) {
        offered = initial;
        return answer;
    });
    button.showPopup();
    button.popup()->moreButton()->click();
    EXPECT_EQ(offered, QColor(0x30, 0x20, 0x10));
    EXPECT_EQ(button.activeColor(), 0x00030201u);

    answer.reset(); // cancelled
    button.showPopup();
    button.popup()->moreButton()->click();
    EXPECT_EQ(button.activeColor(), 0x00030201u);
}

TEST(ColorButtonTest, WorksByKeyboard) {
    ColorButton button;
    ASSERT_TRUE(widgettest::showActive(&button));
    button.setFocus();
    QTest::keyClick(&button, Qt::Key_Space);
    ColorPopup* popup = button.popup();
    ASSERT_TRUE(popup->isVisible());
    ASSERT_EQ(popup->focusWidget(), popup->swatchButtons().at(15)) << "the entry of grey has the focus";

    QTest::keyClick(popup->focusWidget(), Qt::Key_Up);
    QTest::keyClick(popup->focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(button.activeColor(), ColorPopup::paletteColors().at(7));

    button.showPopup();
    popup->swatchButtons().at(0)->setFocus();
    QTest::keyClick(popup->focusWidget(), Qt::Key_Up);
    EXPECT_EQ(popup->focusWidget(), popup->autoButton());
    QTest::keyClick(popup->focusWidget(), Qt::Key_Enter);
    EXPECT_EQ(button.activeColor(), kColorBlack);
}
