#include "main/Bars.h"

#include "BarsFakes.h"
#include "main/BarFile.h"
#include "main/BarsSide.h"
#include "settings/IniFile.h"
#include "support/TempDir.h"
#include "widgets/CaptionEditor.h"
#include "widgets/SectionBar.h"
#include "widgets/WidgetTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
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

// A host window with both bars loaded from files in a temporary directory, and an infobase list.
class BarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        barstest::resetBarVariables();
        ASSERT_TRUE(BarFile::write(dir.path() / "category.cfg", barstest::categorySample()).ok);
        ASSERT_TRUE(BarFile::write(dir.path() / "division.cfg", barstest::divisionSample()).ok);
        build();
    }

    void build() {
        host = std::make_unique<QWidget>();
        mainwin::BarsServices services;
        services.data = &data;
        services.mainIni = &ini;
        services.directory = filesDir;
        services.showError = [this](const QString& text) { errors.push_back(text); };
        services.reportError = [this](const std::string& message) { reports.push_back(message); };
        bars = new Bars(host.get(), services);
        list = new QListWidget(host.get());
        bars->setInfobaseList(list);
        auto* layout = new QHBoxLayout(host.get());
        auto* middle = new QVBoxLayout;
        middle->addWidget(bars->nonParentBox());
        middle->addWidget(list);
        layout->addWidget(bars->categorySide());
        layout->addLayout(middle);
        layout->addWidget(bars->divisionSide());
        host->resize(600, 400);
        bars->startUp();
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
    Bars* bars = nullptr;
    QListWidget* list = nullptr;
};

} // namespace

TEST_F(BarsTest, ControlsCarryTheirNamesAndTheBarsTheirFiles) {
    for (const char* name : {"cbxCategoryFilter", "cbxDivisionFilter", "cbxNonParent", "barCategory", "barDivision",
                             "stxCategory", "stxDivision"})
        EXPECT_NE(host->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(bars->categorySide()->filterBox()->toolTip(), " Отбирать по категориям");
    EXPECT_EQ(bars->nonParentBox()->text(), " только не отсортированные базы ");
    EXPECT_EQ(bar(BarKind::Category)->data(), barstest::categorySample());
    EXPECT_EQ(bar(BarKind::Division)->data(), barstest::divisionSample());
    EXPECT_EQ(app::NextCategoryId, 3);
    EXPECT_EQ(app::NextDivisionId, 12);
    // Remembering is off: nothing chosen, no filter, cbxNonParent enabled.
    EXPECT_TRUE(data.filters.empty());
    EXPECT_EQ(status(BarKind::Category), "");
    EXPECT_TRUE(bars->nonParentBox()->isEnabled());
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
    EXPECT_FALSE(bars->nonParentBox()->isEnabled());
    QTest::mouseClick(bars->divisionSide()->filterBox(), Qt::LeftButton);
    EXPECT_TRUE(bars->nonParentBox()->isEnabled());
    QTest::mouseClick(bars->nonParentBox(), Qt::LeftButton);
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

TEST_F(BarsTest, DropsFromTheInfobaseListClassifyOnTheirAxisOnly) {
    host->show();
    QListWidget stranger;
    EXPECT_TRUE(bars->acceptsDragFrom(list));
    EXPECT_TRUE(bars->acceptsDragFrom(list->viewport()));
    EXPECT_FALSE(bars->acceptsDragFrom(&stranger));
    EXPECT_FALSE(bars->acceptsDragFrom(nullptr));

    QMimeData mime;
    SectionBar* b = bar(BarKind::Division);
    emit b->dropped(&mime, list, b->itemRect(1).center());
    emit b->dropped(&mime, list, b->sectionRect(0).center()); // on a header: nothing
    EXPECT_EQ(data.assigned, (std::vector<std::pair<int, int>>{{0, 12}}));
    EXPECT_EQ(status(BarKind::Division), "");
    EXPECT_TRUE(data.filters.empty());
}

TEST_F(BarsTest, BarsAreWrittenWhenTheWindowIsDestroyedAndRestoredWithTheFilterState) {
    host->show();
    SectionBar* b = bar(BarKind::Category);
    b->setActiveSection(1);
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->itemRect(0).center());
    QTest::mouseClick(bars->categorySide()->filterBox(), Qt::LeftButton);
    b->addItem(1, "Ларёк", 40);
    bars->saveFilterState();
    host.reset(); // no close query needed for the files, as after a termination

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
    EXPECT_FALSE(bars->nonParentBox()->isEnabled());
    EXPECT_EQ(app::NextCategoryId, 40);
    ASSERT_FALSE(data.filters.empty());
    EXPECT_EQ(data.filters[0], (RecordingData::Filter{app::FilterMode::fmCategory, 3, 0}));
}

TEST_F(BarsTest, DamagedBarFileIsKeptAndAFailedWriteIsReported) {
    host.reset();
    testsupport::writeFile(dir.path() / "category.cfg", "TARVESK-BAR 1\r\nS Опт\r\nI 1");
    build();
    EXPECT_TRUE(reports.empty());
    host.reset();
    EXPECT_EQ(testsupport::readFile(dir.path() / "category.cfg.bad"), "TARVESK-BAR 1\r\nS Опт\r\nI 1");
    EXPECT_FALSE(BarFile::read(dir.path() / "category.cfg").damaged);

    // A folder that does not exist: both bars start empty, and both writes fail and are reported.
    filesDir = dir.path() / "missing";
    build();
    EXPECT_EQ(bar(BarKind::Category)->sectionCount(), 0);
    host.reset();
    EXPECT_EQ(reports.size(), 2u);
}
