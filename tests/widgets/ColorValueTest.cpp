#include "widgets/ColorValue.h"

#include "widgets/ColorTable.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <set>

using namespace widgets;

TEST(ColorValueTest, ResolvesRgbAndSystemColours) {
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Base, QColor(4, 5, 6));
    palette.setColor(QPalette::WindowText, QColor(7, 8, 9));
    palette.setColor(QPalette::Highlight, QColor(10, 11, 12));
    struct Case {
        std::uint32_t value;
        QColor expected;
    };
    const Case cases[] = {
        {0x00808080, QColor(128, 128, 128)},    {0x000000FF, QColor(255, 0, 0)},
        {0x0000FF00, QColor(0, 255, 0)},        {0x00FF0000, QColor(0, 0, 255)},
        {0x00C0DCC0, QColor(192, 220, 192)},    {0x8000000F, QColor(1, 2, 3)}, // button face
        {0x80000005, QColor(4, 5, 6)},                                         // window
        {0x80000008, QColor(7, 8, 9)},                                         // window text
        {0x8000000D, QColor(10, 11, 12)},                                      // highlight
        {0x8000000C, QColor(0xAB, 0xAB, 0xAB)},                                // application workspace: no palette role
        {0x80000019, QColor(0, 0, 0)},                                         // index 25 does not exist
        {0x8000FFFF, QColor(0, 0, 0)},                                         // far beyond the table
    };
    for (const Case& c : cases)
        EXPECT_EQ(resolveColor(c.value, palette), c.expected) << std::hex << c.value;
}

TEST(ColorValueTest, FollowsTheApplicationPalette) {
    EXPECT_EQ(resolveColor(kColorBtnFace), QApplication::palette().color(QPalette::Button));
    QPalette saved = QApplication::palette();
    QPalette changed = saved;
    changed.setColor(QPalette::Button, QColor(200, 100, 50));
    QApplication::setPalette(changed);
    EXPECT_EQ(resolveColor(kColorBtnFace), QColor(200, 100, 50));
    QApplication::setPalette(saved);
}

TEST(ColorValueTest, ToColorValueIsTheInverseForRgb) {
    EXPECT_EQ(toColorValue(QColor(0x12, 0x34, 0x56)), 0x00563412u);
    EXPECT_EQ(toColorValue(QColor::fromHsv(0, 255, 255)), 0x000000FFu);
    for (std::uint32_t value : {0x00000000u, 0x00FFFFFFu, 0x00A4A0A0u, 0x00F0CAA6u})
        EXPECT_EQ(toColorValue(resolveColor(value)), value);
}

TEST(ColorValueTest, TableNamesEveryColourOnce) {
    EXPECT_EQ(standardColors().size(), 20u);
    std::set<std::uint32_t> values;
    std::set<std::string_view> names;
    for (const auto& c : standardColors()) {
        values.insert(c.value);
        names.insert(c.name);
    }
    std::set<int> indexes;
    for (const auto& info : systemColors()) {
        indexes.insert(info.index);
        names.insert(info.name);
        EXPECT_EQ(findSystemColor(info.value()), &info);
    }
    EXPECT_EQ(values.size(), 20u);
    EXPECT_EQ(indexes.size(), 30u);
    EXPECT_EQ(indexes.count(25), 0u);
    EXPECT_EQ(*indexes.rbegin(), 30);
    EXPECT_EQ(names.size(), 50u);
    EXPECT_EQ(colorValueDisplayName(kColorBtnFace), "clBtnFace");
    EXPECT_EQ(colorValueDisplayName(kColorAppWorkspace), "clAppWorkSpace");
    EXPECT_EQ(colorValueDisplayName(0x00C0DCC0), "clMoneyGreen");
    EXPECT_EQ(colorValueDisplayName(0x00563412), "#123456");
    EXPECT_EQ(colorValueDisplayName(0x80000019), "0x80000019");
}
