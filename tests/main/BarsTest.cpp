#include "main/Bars.h"

#include "BarsFakes.h"
#include "main/BarFile.h"
#include "main/BarsSide.h"
#include "main/InfobaseDrag.h"
#include "settings/IniFile.h"
#include "support/TempDir.h"
#include "widgets/CaptionEditor.h"
#include "widgets/SectionBar.h"
#include "widgets/WidgetTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using barstest::RecordingData;
using mainwin::BarFile;
using mainwin::BarKind;
using mainwin::Bars;
using widgets::SectionBar;

namespace {

// A window with the three places of the bars, filled from bar files in a temporary directory.
class BarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        barstest::resetBarVariables();
        ASSERT_TRUE(BarFile::write(dir.path() / "category.cfg", barstest::categorySample()).ok);
        ASSERT_TRUE(BarFile::write(dir.path() / "division.cfg", barstest::divisionSample()).ok);
        build();
    }

    // The window's places as the main window makes them; the component fills them.
    void build() {
        host = std::make_unique<QWidget>();
        mainwin::ClassificationHost places{new QWidget(host.get()), new QWidget(host.get()), new QWidget(host.get())};
        auto* layout = new QHBoxLayout(host.get());
        layout->addWidget(places.categorySide);
        layout->addWidget(places.nonParentSlot);
        layout->addWidget(places.divisionSide);
        mainwin::BarsServices services;
        services.data = &data;
        services.directory = filesDir;
        services.showError = [this](const QString& text) { errors.push_back(text); };
        services.reportError = [this](const std::string& message) { reports.push_back(message); };
        bars = std::make_unique<Bars>(places, services);
        host->resize(600, 400);
        // The main window's creation steps.
        bars->setIdCounters();
        if (ini.readBool("Common", "cbxFilter_Checked", false))
            bars->restoreFilterState(ini);
        bars->updateNonParentEnabling();
    }

    // The main window drops its members before its child widgets.
    void destroyWindow() {
        bars.reset();
        host.reset();
    }

    SectionBar* bar(BarKind kind) { return bars->side(kind)->bar(); }
    QString status(BarKind kind) { return bars->side(kind)->statusLabel()->text(); }

    // Opens the context menu at a point of the bar and triggers one of its entries.
    void menuCommand(BarKind kind, const QPoint& point, const char* entry) {
        QMenu* menu = bars->prepareMenu(kind, point);
        auto* action = menu->findChild<QAction*>(entry);
        ASSERT_NE(action, nullptr) << entry;
        ASSERT_TRUE(action->isEnabled()) << entry;
        action->trigger();
    }

    testsupport::TempDir dir;
    std::filesystem::path filesDir = dir.path();
    settings::IniFile ini{dir.path() / "Tarvesk.ini"};
    RecordingData data;
    std::vector<QString> errors;
    std::vector<std::string> reports;
    std::unique_ptr<QWidget> host;
    std::unique_ptr<Bars> bars;
};

} // namespace

TEST_F(BarsTest, ControlsCarryTheirNamesAndTheBarsTheirFiles) {
    for (const char* name : {"cbxCategoryFilter", "cbxDivisionFilter", "cbxNonParent", "barCategory", "barDivision",
                             "stxCategory", "stxDivision"})
        EXPECT_NE(host->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(bars->categorySide()->filterBox()->toolTip(), " Отбирать по категориям");
    EXPECT_EQ(bars->nonParent()->text(), " только не отсортированные базы ");
    EXPECT_EQ(bar(BarKind::Category)->data(), barstest::categorySample());
    EXPECT_EQ(bar(BarKind::Division)->data(), barstest::divisionSample());
    EXPECT_EQ(app::NextCategoryId, 3);
    EXPECT_EQ(app::NextDivisionId, 12);
    // Remembering is off: nothing chosen, no filter, cbxNonParent enabled.
    EXPECT_TRUE(data.filters.empty());
    EXPECT_EQ(status(BarKind::Category), "");
    EXPECT_TRUE(bars->nonParent()->isEnabled());
}

TEST_F(BarsTest, ClickingAnItemShowsTheStatusLineAndFilters) {
    host->show();
    SectionBar* b = bar(BarKind::Category);
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->itemRect(0).center());
    EXPECT_EQ(status(BarKind::Category), "Опт, Склад");
    EXPECT_EQ(app::CurrentCategoryId, 1);
    ASSERT_EQ(data.filters.size(), 1u);
    EXPECT_EQ(data.filters[0].mode, app::FilterMode::fmNone);
}

TEST_F(BarsTest, FilterBoxClicksFilterAndEnableTheNonParentBox) {
    host->show();
    QTest::mouseClick(bars->divisionSide()->filterBox(), Qt::LeftButton);
    EXPECT_FALSE(bars->nonParent()->isEnabled());
    QTest::mouseClick(bars->divisionSide()->filterBox(), Qt::LeftButton);
    EXPECT_TRUE(bars->nonParent()->isEnabled());
    QTest::mouseClick(bars->nonParent(), Qt::LeftButton);
    ASSERT_EQ(data.filters.size(), 3u);
    EXPECT_EQ(data.filters[0].mode, app::FilterMode::fmDivision);
    EXPECT_EQ(data.filters[1].mode, app::FilterMode::fmNone);
    EXPECT_EQ(data.filters[2].mode, app::FilterMode::fmUnclassified);
}

TEST_F(BarsTest, NewItemFromAMenuOverAnotherSectionGoesIntoTheActiveOneAndIsNamedInPlace) {
    host->show();
    host->activateWindow();
    SectionBar* b = bar(BarKind::Category);
    const QPoint overLaterHeader = b->sectionRect(1).center();
    QMenu* menu = bars->prepareMenu(BarKind::Category, overLaterHeader);
    EXPECT_TRUE(menu->findChild<QAction*>("pmiRenameSection")->isEnabled());
    EXPECT_FALSE(menu->findChild<QAction*>("pmiRenameItem")->isEnabled());

    menuCommand(BarKind::Category, overLaterHeader, "pmiAddItem");
    EXPECT_EQ(b->activeSection(), 0);
    ASSERT_EQ(b->itemCount(0), 3);
    EXPECT_EQ(b->itemCaption(0, 2), "новый");
    EXPECT_EQ(b->itemId(0, 2), 4);
    ASSERT_TRUE(b->isEditing());
    b->captionEditor()->setText("Офис");
    QTest::keyClick(b->captionEditor(), Qt::Key_Return);
    EXPECT_EQ(b->itemCaption(0, 2), "Офис");

    menuCommand(BarKind::Category, b->itemRect(2).center(), "pmiDeleteItem");
    EXPECT_EQ(b->itemCount(0), 2);
    EXPECT_TRUE(errors.empty());
}

TEST_F(BarsTest, RefusedDeletionsShowTheirBoxesAndChangeNothing) {
    host->show();
    data.used.insert({BarKind::Division, 12});
    SectionBar* b = bar(BarKind::Division);
    menuCommand(BarKind::Division, b->sectionRect(0).center(), "pmiDeleteSection");
    menuCommand(BarKind::Division, b->itemRect(1).center(), "pmiDeleteItem");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0], "Данной секции подчинены\nодин или несколько\nэлементов");
    EXPECT_EQ(errors[1], "Данному элементу подчинены\nодна или несколько\nинформационных баз");
    EXPECT_EQ(b->data(), barstest::divisionSample());
}

TEST_F(BarsTest, NewSectionOpensItsEmptyCaptionForEditing) {
    host->show();
    SectionBar* b = bar(BarKind::Division);
    menuCommand(BarKind::Division, QPoint(5, b->height() - 2), "pmiAddSection");
    ASSERT_EQ(b->sectionCount(), 2);
    EXPECT_EQ(b->sectionCaption(1), "");
    EXPECT_TRUE(b->isEditing());
    EXPECT_EQ(b->captionEditor()->text(), "");
}

TEST_F(BarsTest, DropsOfAnInfobaseClassifyOnTheirAxisOnly) {
    host->show();
    SectionBar* b = bar(BarKind::Division);
    QMimeData infobase;
    infobase.setData(mainwin::kInfobaseMimeType, "C:\\Bases\\Trade\\");
    QMimeData other;
    other.setText("C:\\Bases\\Trade\\");
    auto drop = [&](QMimeData* mime, const QPoint& point) {
        QDragEnterEvent enter(point, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(b, &enter);
        QDropEvent dropEvent(QPointF(point), Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(b, &dropEvent);
        return enter.isAccepted();
    };
    EXPECT_FALSE(drop(&other, b->itemRect(0).center()));
    EXPECT_TRUE(drop(&infobase, b->sectionRect(0).center())); // accepted over a header, but nothing to do
    EXPECT_TRUE(drop(&infobase, QPoint(5, b->height() - 3))); // below the items
    EXPECT_TRUE(drop(&infobase, b->itemRect(1).center()));
    EXPECT_EQ(data.assigned, (std::vector<std::pair<int, int>>{{0, 12}}));
    EXPECT_EQ(status(BarKind::Division), "");
    EXPECT_TRUE(data.filters.empty());
}

TEST_F(BarsTest, AppearanceFillsBothBars) {
    bars->setBarFill(true, 0x000000FF, 0x00FF0000);
    for (BarKind kind : {BarKind::Category, BarKind::Division}) {
        EXPECT_TRUE(bar(kind)->isGradientFill());
        EXPECT_EQ(bar(kind)->fillColor(), 0x000000FFu);
        EXPECT_EQ(bar(kind)->gradientEndColor(), 0x00FF0000u);
    }
    bars->setBarFill(false, 0x00808080, 0);
    EXPECT_FALSE(bar(BarKind::Division)->isGradientFill());
    EXPECT_EQ(bar(BarKind::Division)->fillColor(), 0x00808080u);
}

TEST_F(BarsTest, BarsAreWrittenWhenTheWindowIsDestroyedAndRestoredWithTheFilterState) {
    host->show();
    SectionBar* b = bar(BarKind::Category);
    b->setActiveSection(1);
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->itemRect(0).center());
    QTest::mouseClick(bars->categorySide()->filterBox(), Qt::LeftButton);
    b->addItem(1, "Ларёк", 40);
    bars->saveFilterState(ini);
    destroyWindow(); // no close query needed for the files, as after a termination

    EXPECT_EQ(BarFile::read(dir.path() / "category.cfg").bar.sections[1].items.back(),
              (widgets::SectionBarItem{"Ларёк", 40}));

    barstest::resetBarVariables();
    data.filters.clear();
    ini.writeBool("Common", "cbxFilter_Checked", true);
    build();
    EXPECT_EQ(bar(BarKind::Category)->activeSection(), 1);
    EXPECT_EQ(status(BarKind::Category), "Розница, Киоск");
    EXPECT_TRUE(bars->categorySide()->filterBox()->isChecked());
    EXPECT_FALSE(bars->divisionSide()->filterBox()->isChecked());
    EXPECT_FALSE(bars->nonParent()->isEnabled());
    EXPECT_EQ(app::NextCategoryId, 40);
    ASSERT_FALSE(data.filters.empty());
    EXPECT_EQ(data.filters[0], (RecordingData::Filter{app::FilterMode::fmCategory, 3, 0}));
}

TEST_F(BarsTest, DamagedBarFileIsKeptAndAFailedWriteIsReported) {
    destroyWindow();
    testsupport::writeFile(dir.path() / "category.cfg", "TARVESK-BAR 1\r\nS Опт\r\nI 1");
    build();
    EXPECT_TRUE(reports.empty());
    destroyWindow();
    EXPECT_EQ(testsupport::readFile(dir.path() / "category.cfg.bad"), "TARVESK-BAR 1\r\nS Опт\r\nI 1");
    EXPECT_FALSE(BarFile::read(dir.path() / "category.cfg").damaged);

    // A folder that does not exist: both bars start empty, and both writes fail and are reported.
    filesDir = dir.path() / "missing";
    build();
    EXPECT_EQ(bar(BarKind::Category)->sectionCount(), 0);
    destroyWindow();
    EXPECT_EQ(reports.size(), 2u);
}
