#include "widgets/ColorList.h"

#include "widgets/ColorTable.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace widgets;

TEST(ColorListTest, ListsNamedColoursWithoutTyping) {
    ColorList list;
    EXPECT_FALSE(list.isEditable());
    EXPECT_EQ(list.count(), 50);
    EXPECT_EQ(list.fixedEntryCount(), 50);
    EXPECT_EQ(list.selectedColor(), kColorBtnFace);
    EXPECT_EQ(list.currentText(), "clBtnFace");
    EXPECT_FALSE(list.itemIcon(0).isNull());
}

TEST(ColorListTest, SelectionRoundTripsEveryEntry) {
    ColorList list;
    for (const auto& color : standardColors()) {
        list.setSelectedColor(color.value);
        EXPECT_EQ(list.selectedColor(), color.value);
    }
    for (const auto& info : systemColors()) {
        list.setSelectedColor(info.value());
        EXPECT_EQ(list.selectedColor(), info.value());
    }
    EXPECT_EQ(list.count(), list.fixedEntryCount());
}

TEST(ColorListTest, UserChoiceIsReportedOnce) {
    ColorList list;
    QSignalSpy changed(&list, &ColorList::colorChanged);
    list.setCurrentIndex(list.findText("clCream"));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).value<std::uint32_t>(), 0x00F0FBFFu);
}

TEST(ColorListTest, ColourNotInTheListGetsOneExtraEntry) {
    ColorList list;
    list.setSelectedColor(0x00563412);
    EXPECT_EQ(list.selectedColor(), 0x00563412u);
    EXPECT_EQ(list.currentText(), "#123456");
    EXPECT_EQ(list.count(), list.fixedEntryCount() + 1);

    QSignalSpy changed(&list, &ColorList::colorChanged);
    list.setSelectedColor(0x80000019);
    EXPECT_EQ(list.selectedColor(), 0x80000019u);
    EXPECT_EQ(list.count(), list.fixedEntryCount() + 1) << "the extra entry is replaced";
    EXPECT_EQ(changed.count(), 1);

    list.setSelectedColor(kColorAppWorkspace);
    EXPECT_EQ(list.selectedColor(), kColorAppWorkspace);
}
