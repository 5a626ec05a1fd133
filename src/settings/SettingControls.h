#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace settings {

// The controls that hold the settings, addressed by their names (the control column of the key
// table). The settings window implements this over its real controls; a radio set true unticks
// the others of its group, set false unticks only itself.
class SettingControls {
public:
    virtual ~SettingControls() = default;

    virtual bool checked(std::string_view control) const = 0;
    virtual void setChecked(std::string_view control, bool on) = 0;
    // Selected index of a drop-down list; -1 when nothing is selected. Out of range: no selection.
    virtual int itemIndex(std::string_view control) const = 0;
    virtual void setItemIndex(std::string_view control, int index) = 0;
    virtual std::string text(std::string_view control) const = 0;
    virtual void setText(std::string_view control, const std::string& text) = 0;
    // Colour value of a colour list (selected) or colour button (active).
    virtual std::uint32_t color(std::string_view control) const = 0;
    virtual void setColor(std::string_view control, std::uint32_t value) = 0;
    // The action map of the grid: set from the stored text (normalised there), and the text to store.
    virtual void loadControlMap(const std::string& stored) = 0;
    virtual std::string storeControlMap() const = 0;
};

} // namespace settings
