#pragma once
#include "app/FilterMode.h"
#include "main/ClassificationBar.h"
#include "main/ClassificationData.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace settings {
class IniFile;
}

// The rules of the category and division bars: choosing an item, the status lines, the three
// filter switches, the context-menu commands and their enabling, classifying a dropped infobase,
// the filter state kept in the settings file. Standard C++ only; the window wires its controls to it.
namespace mainwin {

// Texts of the two refusals, shown in a box captioned kErrorCaption with the error icon and OK.
inline constexpr std::string_view kErrorCaption = "Error";
inline constexpr std::string_view kSectionHasItemsText = "Данной секции подчинены\r\nодин или несколько\r\nэлементов";
inline constexpr std::string_view kItemInUseText =
    "Данному элементу подчинены\r\nодна или несколько\r\nинформационных баз";
// Caption of a new item.
inline constexpr std::string_view kNewItemCaption = "новый";

// The three check boxes cbxCategoryFilter, cbxDivisionFilter and cbxNonParent.
struct FilterSwitches {
    bool category = false;
    bool division = false;
    bool nonParent = false;

    bool operator==(const FilterSwitches&) const = default;
};

// The filter mode of the switches: a bar switch wins over cbxNonParent.
app::FilterMode filterModeOf(const FilterSwitches& switches);
// cbxNonParent counts only while neither bar switch is checked, so it is enabled only then.
bool nonParentEnabled(const FilterSwitches& switches);

// What the "Filter" section of the settings file keeps between runs.
struct FilterState {
    std::int32_t categorySection = 0;
    std::int32_t divisionSection = 0;
    std::int32_t categoryItem = 0;
    std::int32_t divisionItem = 0;
    FilterSwitches switches{true, true, true};

    bool operator==(const FilterState&) const = default;
};

// Reads the seven keys (missing ones take their defaults).
FilterState readFilterState(const settings::IniFile& ini);
// Writes the seven keys; IniWriteError when the file cannot be written.
void writeFilterState(settings::IniFile& ini, const FilterState& state);
// "Common"/"cbxFilter_Checked": whether the filter state is restored at start-up (default false).
bool rememberFilterState(const settings::IniFile& ini);

// Enabling of the six context-menu entries, in menu order.
struct BarMenuState {
    bool addSection = true;
    bool renameSection = false;
    bool deleteSection = false;
    bool addItem = false;
    bool renameItem = false;
    bool deleteItem = false;

    bool operator==(const BarMenuState&) const = default;
};

enum class RemoveResult {
    Removed,
    NotFound,        // no such section or item: nothing to do
    SectionHasItems, // refused: kSectionHasItemsText
    ItemInUse,       // refused: kItemInUseText
};

class ClassificationRules {
public:
    // The bars and the data module must outlive this object.
    ClassificationRules(ClassificationBar& category, ClassificationBar& division, ClassificationData& data);

    ClassificationBar& bar(BarKind kind) { return *m_bars[index(kind)]; }
    const ClassificationBar& bar(BarKind kind) const { return *m_bars[index(kind)]; }

    // Sets the id counter of each bar (NextCategoryId, NextDivisionId) from the ids it holds: the
    // counter starts at the largest id, so a new item never repeats the id of a remaining one.
    void initCounters();

    // Start-up after the bars have loaded: the counters; then, when remembering is on, the saved
    // indexes and switches, the active sections and the saved choice of each bar (which applies
    // the filter). A saved choice that does not exist in its bar chooses nothing there.
    void startUp(const settings::IniFile& ini);
    void restore(const FilterState& state);
    // The state to write at the close query.
    FilterState filterState() const;

    // ChooseItem: makes item i of section s the bar's current item (id, indexes, status line) and
    // applies the filter, whatever the bar's own switch says. Nothing happens for an item that does
    // not exist.
    void chooseItem(BarKind kind, int section, int item);
    // "Опт, Склад": section and item caption of the item chosen last; empty until one is chosen.
    const std::string& statusLine(BarKind kind) const { return m_status[index(kind)]; }

    const FilterSwitches& switches() const { return m_switches; }
    // Sets the switches without their click handling.
    void setSwitches(const FilterSwitches& switches) { m_switches = switches; }
    // Clicks: set the switch and apply the filter.
    void clickBarSwitch(BarKind kind, bool checked);
    void clickNonParent(bool checked);
    bool nonParentEnabled() const { return mainwin::nonParentEnabled(m_switches); }
    app::FilterMode filterMode() const { return filterModeOf(m_switches); }

    // Enabling of the context menu opened over a section header (-1: none) and an item of the
    // active section (-1: none).
    BarMenuState menuState(BarKind kind, int sectionUnder, int itemUnder) const;

    // "Добавить секцию": appends a section with an empty caption; its index.
    int addSection(BarKind kind);
    // "Добавить элемент": appends an item "новый" with a fresh id to the active section, wherever
    // the menu was opened; its index in that section, or -1 when the bar has no section.
    int addItem(BarKind kind);
    // "Удалить секцию": only a section without items goes.
    RemoveResult removeSection(BarKind kind, int section);
    // "Удалить элемент" on an item of the active section: only when no infobase carries its id.
    RemoveResult removeItem(BarKind kind, int item);

    // An infobase of the list dropped on an item of the active section (-1: none): the current
    // infobase gets the item's id on this axis, the other axis stays; nothing is chosen.
    bool drop(BarKind kind, int itemUnder);

private:
    static std::size_t index(BarKind kind) { return static_cast<std::size_t>(kind); }
    std::int32_t freshId(BarKind kind);
    void applyFilter();

    std::array<ClassificationBar*, 2> m_bars;
    ClassificationData& m_data;
    FilterSwitches m_switches;
    std::array<std::string, 2> m_status;
};

} // namespace mainwin
