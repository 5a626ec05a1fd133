#include "main/ClassificationRules.h"

#include "app/Common.h"
#include "settings/IniFile.h"

#include <algorithm>
#include <limits>
#include <set>

namespace mainwin {
namespace {

constexpr std::string_view kFilter = "Filter";

// The process-wide variables of one bar.
struct AxisVariables {
    std::int32_t& currentId;
    std::int32_t& section;
    std::int32_t& item;
    std::int32_t& nextId;
};

AxisVariables variablesOf(BarKind kind) {
    if (kind == BarKind::Category)
        return {app::CurrentCategoryId, app::CategorySection, app::CategoryItem, app::NextCategoryId};
    return {app::CurrentDivisionId, app::DivisionSection, app::DivisionItem, app::NextDivisionId};
}

bool validItem(const ClassificationBar& bar, int section, int item) {
    return section >= 0 && section < bar.sectionCount() && item >= 0 && item < bar.itemCount(section);
}

} // namespace

app::FilterMode filterModeOf(const FilterSwitches& switches) {
    if (switches.category && switches.division)
        return app::FilterMode::fmBoth;
    if (switches.category)
        return app::FilterMode::fmCategory;
    if (switches.division)
        return app::FilterMode::fmDivision;
    return switches.nonParent ? app::FilterMode::fmUnclassified : app::FilterMode::fmNone;
}

bool nonParentEnabled(const FilterSwitches& switches) {
    return !switches.category && !switches.division;
}

FilterState readFilterState(const settings::IniFile& ini) {
    FilterState state;
    state.categorySection = ini.readInteger(kFilter, "barCategory_Section", 0);
    state.divisionSection = ini.readInteger(kFilter, "barDivision_Section", 0);
    state.categoryItem = ini.readInteger(kFilter, "barCategory_Item", 0);
    state.divisionItem = ini.readInteger(kFilter, "barDivision_Item", 0);
    state.switches.category = ini.readBool(kFilter, "cbxCategory_Checked", true);
    state.switches.division = ini.readBool(kFilter, "cbxDivision_Checked", true);
    state.switches.nonParent = ini.readBool(kFilter, "cbxNonParent_Checked", true);
    return state;
}

void writeFilterState(settings::IniFile& ini, const FilterState& state) {
    ini.writeInteger(kFilter, "barCategory_Section", state.categorySection);
    ini.writeInteger(kFilter, "barDivision_Section", state.divisionSection);
    ini.writeInteger(kFilter, "barCategory_Item", state.categoryItem);
    ini.writeInteger(kFilter, "barDivision_Item", state.divisionItem);
    ini.writeBool(kFilter, "cbxCategory_Checked", state.switches.category);
    ini.writeBool(kFilter, "cbxDivision_Checked", state.switches.division);
    ini.writeBool(kFilter, "cbxNonParent_Checked", state.switches.nonParent);
}

bool rememberFilterState(const settings::IniFile& ini) {
    return ini.readBool("Common", "cbxFilter_Checked", false);
}

ClassificationRules::ClassificationRules(ClassificationBar& category, ClassificationBar& division,
                                         ClassificationData& data)
    : m_bars{&category, &division}, m_data(data) {}

void ClassificationRules::initCounters() {
    for (BarKind kind : {BarKind::Category, BarKind::Division})
        variablesOf(kind).nextId = std::max<std::int32_t>(0, bar(kind).content().maxItemId());
}

void ClassificationRules::startUp(const settings::IniFile& ini) {
    initCounters();
    if (rememberFilterState(ini))
        restore(readFilterState(ini));
}

void ClassificationRules::restore(const FilterState& state) {
    app::CategorySection = state.categorySection;
    app::DivisionSection = state.divisionSection;
    app::CategoryItem = state.categoryItem;
    app::DivisionItem = state.divisionItem;
    m_switches = state.switches;
    for (BarKind kind : {BarKind::Category, BarKind::Division}) {
        ClassificationBar& b = bar(kind);
        AxisVariables vars = variablesOf(kind);
        if (b.sectionCount() == 0)
            continue;
        // The first section, advanced section by section; an advance from the last one stays there.
        b.setActiveSection(std::clamp(vars.section, 0, b.sectionCount() - 1));
        chooseItem(kind, vars.section, vars.item);
        b.showItem(vars.section, vars.item);
    }
}

FilterState ClassificationRules::filterState() const {
    return {app::CategorySection, app::DivisionSection, app::CategoryItem, app::DivisionItem, m_switches};
}

void ClassificationRules::chooseItem(BarKind kind, int section, int item) {
    const ClassificationBar& b = bar(kind);
    if (!validItem(b, section, item))
        return;
    AxisVariables vars = variablesOf(kind);
    vars.currentId = b.itemId(section, item);
    m_status[index(kind)] = b.sectionCaption(section) + ", " + b.itemCaption(section, item);
    vars.item = item;
    vars.section = section;
    applyFilter();
}

void ClassificationRules::clickBarSwitch(BarKind kind, bool checked) {
    (kind == BarKind::Category ? m_switches.category : m_switches.division) = checked;
    applyFilter();
}

void ClassificationRules::clickNonParent(bool checked) {
    m_switches.nonParent = checked;
    applyFilter();
}

void ClassificationRules::applyFilter() {
    m_data.applyFilter(filterMode());
}

BarMenuState ClassificationRules::menuState(BarKind kind, int sectionUnder, int itemUnder) const {
    const ClassificationBar& b = bar(kind);
    bool hasSection = b.sectionCount() > 0;
    bool section = sectionUnder >= 0 && sectionUnder < b.sectionCount();
    bool item = hasSection && validItem(b, b.activeSection(), itemUnder);
    return {true, section, section, hasSection, item, item};
}

int ClassificationRules::addSection(BarKind kind) {
    return bar(kind).addSection("");
}

int ClassificationRules::addItem(BarKind kind) {
    ClassificationBar& b = bar(kind);
    if (b.sectionCount() == 0 || b.activeSection() < 0)
        return -1;
    return b.addItem(b.activeSection(), std::string(kNewItemCaption), freshId(kind));
}

std::int32_t ClassificationRules::freshId(BarKind kind) {
    std::int32_t& next = variablesOf(kind).nextId;
    if (next < std::numeric_limits<std::int32_t>::max())
        return ++next;
    // The counter is exhausted (only a hand-edited file gets here): the smallest free positive id.
    std::set<std::int32_t> used;
    for (const auto& section : bar(kind).content().sections)
        for (const auto& item : section.items)
            used.insert(item.id);
    std::int32_t id = 1;
    while (used.count(id) != 0)
        ++id;
    return id;
}

RemoveResult ClassificationRules::removeSection(BarKind kind, int section) {
    ClassificationBar& b = bar(kind);
    if (section < 0 || section >= b.sectionCount())
        return RemoveResult::NotFound;
    if (b.itemCount(section) > 0)
        return RemoveResult::SectionHasItems;
    b.removeSection(section);
    return RemoveResult::Removed;
}

RemoveResult ClassificationRules::removeItem(BarKind kind, int item) {
    ClassificationBar& b = bar(kind);
    int section = b.activeSection();
    if (!validItem(b, section, item))
        return RemoveResult::NotFound;
    if (m_data.isItemUsed(kind, b.itemId(section, item)))
        return RemoveResult::ItemInUse;
    b.removeItem(section, item);
    return RemoveResult::Removed;
}

bool ClassificationRules::drop(BarKind kind, int itemUnder) {
    const ClassificationBar& b = bar(kind);
    if (b.sectionCount() == 0 || !validItem(b, b.activeSection(), itemUnder))
        return false;
    std::int32_t id = b.itemId(b.activeSection(), itemUnder);
    if (kind == BarKind::Category)
        m_data.assignClassification(id, 0);
    else
        m_data.assignClassification(0, id);
    return true;
}

} // namespace mainwin
