#pragma once
#include <cstdint>
#include <span>
#include <string_view>

namespace settings {

// How a key's value is encoded in the settings file.
enum class SettingType {
    Boolean,    // "1" / "0"; read as an integer, anything but 0 is true
    Integer,    // signed decimal; read also as hexadecimal after "0x"
    String,     // the text as it stands
    Color,      // a colour value written as a signed integer
    ControlMap, // the action map: a string handed to LoadControlMap
};

// One key of the settings window: the control that holds the setting is named control; the key
// is that name joined to the stored property ("cbxSysTray_Checked").
struct SettingKey {
    std::string_view section;
    std::string_view key;
    SettingType type;
    std::string_view control;
    std::int64_t defaultNumber;   // Boolean, Integer, Color
    std::string_view defaultText; // String, ControlMap
};

// Every key of the sections Common, Start, Control and Color, in the order in which they are read
// and written.
std::span<const SettingKey> settingKeys();

} // namespace settings
