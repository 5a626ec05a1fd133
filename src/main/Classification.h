#pragma once
#include <cstdint>

class QWidget;

namespace settings {
class IniFile;
}

// Where the category and division bars with their filter switches plug into the main window. The
// window hands the component the places to fill and calls it at the fixed points of its life; the
// component owns the bars, their menus, the drag-to-classify and the filter.
namespace mainwin {

// The places the component fills: the left side (caption "Категория", cbxCategoryFilter,
// barCategory, stxCategory), the right side (caption "Раздел", cbxDivisionFilter, barDivision,
// stxDivision) and the slot at the top of the infobase group (cbxNonParent).
struct ClassificationHost {
    QWidget* categorySide = nullptr;
    QWidget* divisionSide = nullptr;
    QWidget* nonParentSlot = nullptr;
};

class Classification {
public:
    virtual ~Classification() = default;
    // Creation of the main window, in its order: the id counters of the two bars; the filter state
    // from "Filter" (only when "Common"/"cbxFilter_Checked" is true); cbxNonParent's enabling.
    virtual void setIdCounters() = 0;
    virtual void restoreFilterState(const settings::IniFile& mainIni) = 0;
    virtual void updateNonParentEnabling() = 0;
    // Close query of the main window: the seven "Filter" keys.
    virtual void saveFilterState(settings::IniFile& mainIni) = 0;
    // Appearance: each bar's fill (category first), colour values.
    virtual void setBarFill(bool gradient, std::uint32_t from, std::uint32_t to) = 0;
    // The focusable controls in focus order, after the infobase list: cbxCategoryFilter, then
    // cbxDivisionFilter (cbxNonParent comes before the infobase list).
    virtual QWidget* nonParentBox() = 0;
    virtual QWidget* categoryFilterBox() = 0;
    virtual QWidget* divisionFilterBox() = 0;
};

} // namespace mainwin
