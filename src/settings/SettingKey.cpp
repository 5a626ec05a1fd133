#include "settings/SettingKey.h"

#include "settings/ControlMap.h"

#include <array>

namespace settings {
namespace {

using T = SettingType;

constexpr SettingKey flag(std::string_view section, std::string_view key, std::string_view control, bool on) {
    return {section, key, T::Boolean, control, on ? 1 : 0, {}};
}

constexpr SettingKey color(std::string_view key, std::string_view control, std::uint32_t value) {
    return {"Color", key, T::Color, control, value, {}};
}

constexpr std::array kKeys = {
    flag("Common", "cbxSysTray_Checked", "cbxSysTray", true),
    flag("Common", "cbxAnimate_Checked", "cbxAnimate", false),
    flag("Common", "cbxReestr_Checked", "cbxReestr", false),
    flag("Common", "cbxFilter_Checked", "cbxFilter", false),
    SettingKey{"Common", "cmbShortCut_ItemIndex", T::Integer, "cmbShortCut", 0, {}},
    flag("Common", "cgbAutoStart_Checked", "cgbAutoStart", false),
    flag("Common", "rbnSysRegistry_Checked", "rbnSysRegistry", false),
    flag("Common", "rbnStartUpMenu_Checked", "rbnStartUpMenu", false),
    flag("Common", "rbnAllUser_Checked", "rbnAllUser", false),
    flag("Common", "rbnCurUser_Checked", "rbnCurUser", false),
    flag("Start", "cgbPrmFile_Checked", "cgbPrmFile", false),
    SettingKey{"Start", "edtPrmFile_Text", T::String, "edtPrmFile", 0, ""},
    flag("Start", "cbxPrmFileAbsent_Checked", "cbxPrmFileAbsent", true),
    flag("Start", "cbxPrmFilePresent_Checked", "cbxPrmFilePresent", false),
    flag("Start", "cbxLocate_Checked", "cbxLocate", false),
    flag("Start", "rbnMinimize_Checked", "rbnMinimize", true),
    flag("Start", "rbnClose_Checked", "rbnClose", false),
    flag("Start", "rbnNotning_Checked", "rbnNotning", false),
    SettingKey{"Control", "strControl", T::ControlMap, "stgKey", 0, DefaultControlMap},
    flag("Control", "cbxControl_Checked", "cbxControl", false),
    flag("Control", "cbxMinimize_Checked", "cbxMinimize", false),
    flag("Color", "rbnStandard_Checked", "rbnStandard", true),
    flag("Color", "rbnSimple_Checked", "rbnSimple", false),
    flag("Color", "rbnGradient_Checked", "rbnGradient", false),
    flag("Color", "rbnStandardButton_Checked", "rbnStandardButton", true),
    flag("Color", "rbnColorButton_Checked", "rbnColorButton", false),
    flag("Color", "rbnSimpleButton_Checked", "rbnSimpleButton", false),
    color("cbnButtonColor_ActiveColor", "cbnButtonColor", 0x8000000Fu),
    color("cbnSimple_ActiveColor", "cbnSimple", 0x00808080u),
    color("cbnFrom_ActiveColor", "cbnFrom", 0x00808080u),
    color("cbnTo_ActiveColor", "cbnTo", 0x00808080u),
    flag("Color", "rbnStandardForm_Checked", "rbnStandardForm", true),
    flag("Color", "rbnDefaultForm_Checked", "rbnDefaultForm", false),
    flag("Color", "rbnColorForm_Checked", "rbnColorForm", false),
    color("cbnDefaultForm_ActiveColor", "cbnDefaultForm", 0x8000000Fu),
    color("cbnColorForm_ActiveColor", "cbnColorForm", 0x8000000Fu),
};

} // namespace

std::span<const SettingKey> settingKeys() {
    return kKeys;
}

} // namespace settings
