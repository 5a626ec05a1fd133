#include "widgets/SectionBar.h"

#include "WidgetTestSupport.h"
#include "widgets/CaptionEditor.h"
#include "widgets/ColorTable.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>

using widgets::SectionBar;
using widgets::SectionBarData;

namespace {

SectionBarData sampleBar() {
    return SectionBarData{{
        {"Опт", {{"Склад", 1}, {"Магазин", 2}}},
        {"Розница", {{"Киоск", 3}}},
        {"Пустая", {}},
    }};
}

// A window with the bar and a line edit to move the focus to.
class SectionBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        bar = new SectionBar(&window);
        other = new QLineEdit(&window);
        layout->addWidget(bar);
        layout->addWidget(other);
        bar->setData(sampleBar());
        window.resize(200, 360);
    }

    void click(const QPoint& point) { QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, point); }

    QWidget window;
    SectionBar* bar = nullptr;
    QLineEdit* other = nullptr;
};

} // namespace

TEST_F(SectionBarTest, AddsAndRemovesSectionsAndItems) {
    SectionBar empty;
    EXPECT_EQ(empty.activeSection(), -1);
    EXPECT_EQ(empty.addSection("Опт"), 0);
    EXPECT_EQ(empty.activeSection(), 0);
    EXPECT_EQ(empty.addSection("Розница"), 1);
    EXPECT_EQ(empty.addItem(1, "Киоск", 7), 0);
    EXPECT_EQ(empty.addItem(5, "nowhere", 8), -1);
    empty.setItemCaption(1, 0, "Ларёк");
    EXPECT_EQ(empty.data(), (SectionBarData{{{"Опт", {}}, {"Розница", {{"Ларёк", 7}}}}}));

    empty.setActiveSection(1);
    QSignalSpy activeChanged(&empty, &SectionBar::activeSectionChanged);
    empty.removeSection(1);
    EXPECT_EQ(empty.activeSection(), 0);
    EXPECT_EQ(activeChanged.count(), 1);
    empty.removeItem(0, 0); // no such item: ignored
    empty.removeSection(0);
    EXPECT_EQ(empty.activeSection(), -1);
    EXPECT_EQ(empty.sectionCount(), 0);
}

TEST_F(SectionBarTest, StacksEarlierHeadersAtTheTopAndLaterOnesAtTheBottom) {
    window.show();
    bar->setActiveSection(1);
    QRect first = bar->sectionRect(0);
    QRect active = bar->sectionRect(1);
    QRect later = bar->sectionRect(2);
    QRect item = bar->itemRect(0);

    EXPECT_EQ(first.top(), 0);
    EXPECT_EQ(active.top(), first.bottom() + 1);
    EXPECT_EQ(item.top(), active.bottom() + 1);
    EXPECT_EQ(later.bottom(), bar->height() - 1);
    EXPECT_EQ(bar->itemAt(item.center()), 0);
    EXPECT_EQ(bar->itemCaption(1, 0), "Киоск");
}

TEST_F(SectionBarTest, ClickOnAHeaderActivatesItsSection) {
    window.show();
    QSignalSpy activeChanged(bar, &SectionBar::activeSectionChanged);
    QSignalSpy headerClicked(bar, &SectionBar::sectionClicked);

    click(bar->sectionRect(2).center());
    EXPECT_EQ(bar->activeSection(), 2);
    click(bar->sectionRect(1).center());
    EXPECT_EQ(bar->activeSection(), 1);

    ASSERT_EQ(activeChanged.count(), 2);
    EXPECT_EQ(activeChanged.at(1).at(0).toInt(), 1);
    EXPECT_EQ(headerClicked.count(), 2);
}

TEST_F(SectionBarTest, ClickOnAnItemReportsSectionAndItem) {
    window.show();
    QSignalSpy itemClicked(bar, &SectionBar::itemClicked);
    click(bar->sectionRect(1).center());
    click(bar->itemRect(0).center());
    click(QPoint(10, bar->itemRect(0).bottom() + 5)); // below the last item: nothing

    ASSERT_EQ(itemClicked.count(), 1);
    EXPECT_EQ(itemClicked.at(0).at(0).toInt(), 1);
    EXPECT_EQ(itemClicked.at(0).at(1).toInt(), 0);
}

TEST_F(SectionBarTest, HitTestsHeadersAndItemsOfTheActiveSection) {
    window.show();
    const QRect secondItem = bar->itemRect(1);
    struct Case {
        const char* name;
        QPoint point;
        int section;
        int item;
    };
    const Case cases[] = {
        {"first header", bar->sectionRect(0).center(), 0, -1},
        {"last header at the bottom", bar->sectionRect(2).center(), 2, -1},
        {"second item", secondItem.center(), -1, 1},
        {"first item's top row", bar->itemRect(0).topLeft(), -1, 0},
        {"empty space under the items", QPoint(5, secondItem.bottom() + 3), -1, -1},
        {"left of the bar", QPoint(-1, secondItem.center().y()), -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bar->sectionAt(c.point), c.section) << c.name;
        EXPECT_EQ(bar->itemAt(c.point), c.item) << c.name;
    }
    SectionBar empty;
    empty.resize(100, 100);
    EXPECT_EQ(empty.sectionAt(QPoint(10, 5)), -1);
    EXPECT_EQ(empty.itemAt(QPoint(10, 40)), -1);
}

TEST_F(SectionBarTest, EnterStoresTheEditedCaption) {
    ASSERT_TRUE(widgettest::showActive(&window));
    QSignalSpy edited(bar, &SectionBar::itemCaptionEdited);

    bar->editItemCaption(0, 1);
    auto* editor = bar->captionEditor();
    ASSERT_TRUE(editor->isVisible());
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(editor->text(), "Магазин");
    widgettest::typeText(editor, "Магазин №2 «Ёлка»");
    QTest::keyClick(editor, Qt::Key_Return);

    EXPECT_FALSE(bar->isEditing());
    EXPECT_FALSE(editor->isVisible());
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited.at(0).at(2).toString(), "Магазин №2 «Ёлка»");
    EXPECT_EQ(bar->data().sections[0].items[1].caption, "Магазин №2 «Ёлка»");
}

TEST_F(SectionBarTest, EnterStoresASectionCaption) {
    ASSERT_TRUE(widgettest::showActive(&window));
    QSignalSpy edited(bar, &SectionBar::sectionCaptionEdited);
    int added = bar->addSection(QString());
    bar->editSectionCaption(added);
    widgettest::typeText(bar->captionEditor(), "Новая");
    QTest::keyClick(bar->captionEditor(), Qt::Key_Enter, Qt::KeypadModifier);

    EXPECT_EQ(bar->sectionCaption(added), "Новая");
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited.at(0).at(0).toInt(), added);
}

TEST_F(SectionBarTest, EveryOtherWayOutOfTheEditorKeepsTheCaption) {
    ASSERT_TRUE(widgettest::showActive(&window));
    QSignalSpy itemEdited(bar, &SectionBar::itemCaptionEdited);
    QSignalSpy sectionEdited(bar, &SectionBar::sectionCaptionEdited);
    struct Way {
        const char* name;
        std::function<void()> leave;
    };
    const Way ways[] = {
        {"Escape", [this] { QTest::keyClick(bar->captionEditor(), Qt::Key_Escape); }},
        {"focus elsewhere", [this] { other->setFocus(Qt::MouseFocusReason); }},
        {"click on the bar", [this] { click(bar->sectionRect(2).center()); }},
        {"bar content changed", [this] { bar->addItem(0, "ещё", 9); }},
    };
    for (const Way& way : ways) {
        bar->setActiveSection(0);
        bar->editItemCaption(0, 0);
        widgettest::typeText(bar->captionEditor(), "Чужое");
        way.leave();
        EXPECT_FALSE(bar->isEditing()) << way.name;
        EXPECT_EQ(bar->itemCaption(0, 0), "Склад") << way.name;

        bar->setActiveSection(0);
        bar->editSectionCaption(1);
        widgettest::typeText(bar->captionEditor(), "Чужое");
        way.leave();
        EXPECT_FALSE(bar->isEditing()) << way.name;
        EXPECT_EQ(bar->sectionCaption(1), "Розница") << way.name;
    }
    EXPECT_EQ(itemEdited.count(), 0);
    EXPECT_EQ(sectionEdited.count(), 0);
}

TEST_F(SectionBarTest, EditorRefusesCharactersWindows1251CannotHold) {
    ASSERT_TRUE(widgettest::showActive(&window));
    QSignalSpy rejected(bar, &SectionBar::captionRejected);
    bar->editItemCaption(0, 0);
    auto* editor = bar->captionEditor();
    editor->end(false);

    widgettest::typeText(editor, QString::fromUtf8("\xE2\x98\x83"));     // snowman
    widgettest::typeText(editor, QString::fromUtf8("\xF0\x9F\x98\x80")); // emoji, a surrogate pair
    editor->insert(QString::fromUtf8("ab\xCE\xA9"));                     // a paste with Greek omega
    EXPECT_EQ(editor->text(), "Склад");
    ASSERT_EQ(rejected.count(), 3);
    QString message = rejected.at(0).at(0).toString();
    EXPECT_TRUE(message.contains(QString::fromUtf8("\xE2\x98\x83"))) << message.toStdString();
    EXPECT_TRUE(message.contains("Windows-1251")) << message.toStdString();
    EXPECT_TRUE(bar->isEditing()) << "a refused character does not end the editing";

    widgettest::typeText(editor, "-ё№€");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(bar->itemCaption(0, 0), "Склад-ё№€");
}

TEST_F(SectionBarTest, EditingAnItemOfAnotherSectionActivatesIt) {
    ASSERT_TRUE(widgettest::showActive(&window));
    bar->editItemCaption(1, 0);
    EXPECT_EQ(bar->activeSection(), 1);
    EXPECT_TRUE(bar->captionEditor()->geometry().contains(bar->itemRect(0).center()))
        << "the editor lies over the item";
}

TEST_F(SectionBarTest, SetDataAndDataRoundTripCyrillicCaptions) {
    SectionBarData data = sampleBar();
    data.sections[0].items.push_back({"Ёжик в тумане", -4});
    bar->setData(data);
    EXPECT_EQ(bar->data(), data);
    EXPECT_EQ(bar->itemCaption(0, 2), QString::fromUtf8("Ёжик в тумане"));
    EXPECT_EQ(bar->itemId(0, 2), -4);
    EXPECT_EQ(bar->activeSection(), 0);
}

TEST_F(SectionBarTest, FillsSolidOrWithAVerticalGradient) {
    const QColor workspace(0xAB, 0xAB, 0xAB);
    const QColor grey(128, 128, 128);
    struct Case {
        const char* name;
        std::function<void(SectionBar&)> fill;
        QColor top;
        QColor bottom;
    };
    const Case cases[] = {
        {"default: application workspace", [](SectionBar&) {}, workspace, workspace},
        {"solid", [](SectionBar& b) { b.setSolidFill(0x000000FF); }, QColor(255, 0, 0), QColor(255, 0, 0)},
        {"gradient with equal ends", [](SectionBar& b) { b.setGradientFill(0x00808080, 0x00808080); }, grey, grey},
        {"gradient red to blue", [](SectionBar& b) { b.setGradientFill(0x000000FF, 0x00FF0000); }, QColor(255, 0, 0),
         QColor(0, 0, 255)},
    };
    for (const Case& c : cases) {
        SectionBar empty;
        empty.resize(120, 240);
        c.fill(empty);
        QImage image = empty.grab().toImage();
        QColor top = image.pixelColor(60, 0);
        QColor bottom = image.pixelColor(60, 239);
        EXPECT_EQ(top, c.top) << c.name;
        EXPECT_NEAR(bottom.red(), c.bottom.red(), 3) << c.name;
        EXPECT_NEAR(bottom.blue(), c.bottom.blue(), 3) << c.name;
        EXPECT_NEAR(bottom.green(), c.bottom.green(), 3) << c.name;
    }
}

TEST_F(SectionBarTest, OwnerDecidesWhichDropsAreAccepted) {
    window.show();
    QMimeData mime;
    mime.setText("infobase");
    const QPoint point = bar->itemRect(1).center();
    QSignalSpy dropped(bar, &SectionBar::dropped);

    QDragEnterEvent refused(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &refused);
    EXPECT_FALSE(refused.isAccepted()) << "without a filter nothing is accepted";

    QPoint seen;
    bar->setDropFilter([&](const QMimeData* data, QObject*, const QPoint& at) {
        seen = at;
        return data->text() == "infobase";
    });
    QDragEnterEvent enter(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(seen, point);

    QDropEvent drop(QPointF(point), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &drop);
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(bar->itemAt(dropped.at(0).at(2).toPoint()), 1);

    QMimeData foreignMime;
    foreignMime.setText("something else");
    QDropEvent foreign(QPointF(point), Qt::CopyAction, &foreignMime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &foreign);
    EXPECT_EQ(dropped.count(), 1);
}

namespace {

SectionBarData manyItems(int sections, int items) {
    SectionBarData data;
    for (int s = 0; s < sections; ++s) {
        data.sections.push_back({"Раздел " + std::to_string(s), {}});
        for (int i = 0; i < items; ++i)
            data.sections.back().items.push_back({"Элемент " + std::to_string(i), 100 * s + i});
    }
    return data;
}

void wheel(SectionBar* bar, const QPoint& point, int delta) {
    QWheelEvent event(QPointF(point), QPointF(bar->mapToGlobal(point)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &event);
}

} // namespace

// More items than fit: they scroll by the wheel and by the arrows, which show only while items are
// hidden that way; every item can be reached and clicked.
TEST_F(SectionBarTest, ItemsThatDoNotFitScrollByWheelAndArrows) {
    bar->setData(manyItems(3, 40));
    window.show();
    ASSERT_TRUE(bar->itemsUpArrow().isEmpty());
    ASSERT_FALSE(bar->itemsDownArrow().isEmpty());
    const QPoint inItems = bar->itemRect(2).center();
    wheel(bar, inItems, -120);
    EXPECT_EQ(bar->firstVisibleItem(), 1);
    EXPECT_FALSE(bar->itemsUpArrow().isEmpty());
    EXPECT_EQ(bar->itemAt(inItems), 3);
    click(bar->itemsDownArrow().center());
    EXPECT_EQ(bar->firstVisibleItem(), 2);
    click(bar->itemsUpArrow().center());
    click(bar->itemsUpArrow().center());
    EXPECT_EQ(bar->firstVisibleItem(), 0);
    EXPECT_TRUE(bar->itemsUpArrow().isEmpty());

    for (int i = 0; i < 100; ++i)
        wheel(bar, inItems, -120);
    EXPECT_TRUE(bar->itemsDownArrow().isEmpty());
    EXPECT_LE(bar->itemRect(39).bottom(), bar->sectionRect(1).top()) << "the last item shows whole";
    QSignalSpy clicked(bar, &SectionBar::itemClicked);
    click(bar->itemRect(39).center());
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(1).toInt(), 39);
    // Another section opens at its top.
    bar->setActiveSection(1);
    EXPECT_EQ(bar->firstVisibleItem(), 0);
}

// An item being added or renamed is scrolled into view, and its editor sits on it inside the bar.
TEST_F(SectionBarTest, TheEditedItemIsScrolledIntoView) {
    bar->setData(manyItems(2, 40));
    window.show();
    const int added = bar->addItem(0, "Новый", 999);
    bar->editItemCaption(0, added);
    ASSERT_TRUE(bar->isEditing());
    const QRect editor = bar->captionEditor()->geometry();
    EXPECT_GE(editor.top(), 0);
    EXPECT_LE(editor.bottom(), bar->sectionRect(1).top());
    EXPECT_EQ(bar->itemAt(editor.center()), added);
}

// Sections past what the bar can hold: the bar scrolls as a whole, so every header can be reached
// and opened.
TEST_F(SectionBarTest, HeadersThatDoNotFitStayReachable) {
    bar->setData(manyItems(30, 5));
    window.show();
    ASSERT_GT(bar->sectionRect(29).top(), bar->height());
    ASSERT_FALSE(bar->barDownArrow().isEmpty());
    for (int i = 0; i < 100 && bar->sectionRect(29).bottom() >= bar->height(); ++i)
        wheel(bar, bar->sectionRect(0).center(), -120);
    ASSERT_LT(bar->sectionRect(29).bottom(), bar->height());
    click(bar->sectionRect(29).center());
    EXPECT_EQ(bar->activeSection(), 29);
    EXPECT_GE(bar->itemRect(0).top(), 0);
    EXPECT_LE(bar->itemRect(0).bottom(), bar->height());
    EXPECT_FALSE(bar->barUpArrow().isEmpty());
    for (int i = 0; i < 100 && !bar->barUpArrow().isEmpty(); ++i)
        click(bar->barUpArrow().center());
    EXPECT_EQ(bar->sectionRect(0).top(), 0);
}

// Deleting a section above the open one keeps the same section open.
TEST_F(SectionBarTest, DeletingASectionAboveTheOpenOneKeepsItOpen) {
    bar->setData(manyItems(4, 2));
    bar->setActiveSection(2);
    QSignalSpy activeChanged(bar, &SectionBar::activeSectionChanged);
    bar->removeSection(0);
    EXPECT_EQ(bar->sectionCaption(bar->activeSection()), "Раздел 2");
    bar->removeSection(2); // below it: nothing moves
    EXPECT_EQ(bar->sectionCaption(bar->activeSection()), "Раздел 2");
    EXPECT_EQ(activeChanged.count(), 1) << "the index changed, the section did not";
}

// A drag held at the bottom of the items scrolls them, so an item below can take the drop.
TEST_F(SectionBarTest, ADragHeldAtTheEdgeScrollsTheItems) {
    bar->setData(manyItems(2, 40));
    bar->setDropFilter([](const QMimeData*, QObject*, const QPoint&) { return true; });
    window.show();
    QMimeData data;
    data.setText(QStringLiteral("infobase"));
    const QPoint edge(bar->width() / 3, bar->sectionRect(1).top() - 3);
    QDragEnterEvent enter(edge, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &enter);
    QDragMoveEvent move(edge, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->firstVisibleItem() >= 3; }, 5000));
    QDropEvent drop(QPointF(edge), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &drop);
    const int reached = bar->firstVisibleItem();
    QTest::qWait(400);
    EXPECT_EQ(bar->firstVisibleItem(), reached) << "the scrolling stops with the drop";
}

TEST(SectionBarDataTest, CountsItemsAndFindsTheLargestId) {
    SectionBarData data = sampleBar();
    EXPECT_EQ(data.itemCount(), 3u);
    EXPECT_EQ(data.maxItemId(), 3);
    data.sections[2].items.push_back({"Удалённые раньше", 41});
    data.sections[0].items.push_back({"Служебный", -7});
    EXPECT_EQ(data.itemCount(), 5u);
    EXPECT_EQ(data.maxItemId(), 41);
    EXPECT_EQ(SectionBarData{}.maxItemId(), 0);
}
