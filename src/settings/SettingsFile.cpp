#include "settings/SettingsFile.h"

#include "settings/IniFile.h"
#include "settings/SettingControls.h"
#include "settings/SettingKey.h"

#include <optional>

namespace settings {

void readSettings(const IniFile& ini, SettingControls& controls) {
    std::optional<std::string> controlMap;
    for (const SettingKey& k : settingKeys()) {
        switch (k.type) {
        case SettingType::Boolean:
            controls.setChecked(k.control, ini.readBool(k.section, k.key, k.defaultNumber != 0));
            break;
        case SettingType::Integer:
            controls.setItemIndex(k.control,
                                  ini.readInteger(k.section, k.key, static_cast<std::int32_t>(k.defaultNumber)));
            break;
        case SettingType::String:
            controls.setText(k.control, ini.readString(k.section, k.key, k.defaultText));
            break;
        case SettingType::Color:
            controls.setColor(k.control, ini.readColor(k.section, k.key, static_cast<std::uint32_t>(k.defaultNumber)));
            break;
        case SettingType::ControlMap:
            controlMap = ini.readString(k.section, k.key, k.defaultText);
            break;
        }
    }
    if (controlMap)
        controls.loadControlMap(*controlMap);
}

void writeSettings(IniFile& ini, const SettingControls& controls) {
    for (const SettingKey& k : settingKeys()) {
        switch (k.type) {
        case SettingType::Boolean:
            ini.writeBool(k.section, k.key, controls.checked(k.control));
            break;
        case SettingType::Integer:
            ini.writeInteger(k.section, k.key, controls.itemIndex(k.control));
            break;
        case SettingType::String:
            ini.writeString(k.section, k.key, controls.text(k.control));
            break;
        case SettingType::Color:
            ini.writeColor(k.section, k.key, controls.color(k.control));
            break;
        case SettingType::ControlMap:
            ini.writeString(k.section, k.key, controls.storeControlMap());
            break;
        }
    }
}

} // namespace settings
