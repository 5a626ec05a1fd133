#pragma once
#include "settings/SettingControls.h"

#include <QHash>
#include <QString>

#include <initializer_list>

class QWidget;

namespace settings {

class KeyGrid;

// The settings window's controls seen through SettingControls: every named control under root,
// found once by objectName. Check boxes, radios and check group boxes give their tick, the
// drop-down list its index, the edit its text, colour lists their selected and colour buttons
// their active colour; "stgKey" stands for the action map the grid edits.
class SetupControls : public SettingControls {
public:
    SetupControls(QWidget& root, KeyGrid& grid, std::string& map);

    // The named control, nullptr when there is none.
    QWidget* find(std::string_view control) const;
    // Index in the list of the first ticked radio, -1 when none is.
    int tickedIndex(std::initializer_list<std::string_view> radios) const;
    void setEnabled(std::string_view control, bool on);

    bool checked(std::string_view control) const override;
    void setChecked(std::string_view control, bool on) override;
    int itemIndex(std::string_view control) const override;
    void setItemIndex(std::string_view control, int index) override;
    std::string text(std::string_view control) const override;
    void setText(std::string_view control, const std::string& text) override;
    std::uint32_t color(std::string_view control) const override;
    void setColor(std::string_view control, std::uint32_t value) override;
    void loadControlMap(const std::string& stored) override;
    std::string storeControlMap() const override;

private:
    QHash<QString, QWidget*> m_controls;
    KeyGrid& m_grid;
    std::string& m_map;
};

} // namespace settings
