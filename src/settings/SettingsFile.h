#pragma once

namespace settings {

class IniFile;
class SettingControls;

// Reads every key of the settings window in table order and sets its control; the radios of a
// group are set one after the other, so the last one stored "1" wins. The action map is handed to
// the grid last, after cbxControl has been set. Missing keys and unreadable numbers give defaults.
void readSettings(const IniFile& ini, SettingControls& controls);

// Writes every key in table order from the controls. Stops at the first key that cannot be written
// and raises its IniWriteError; the keys before it stay written.
void writeSettings(IniFile& ini, const SettingControls& controls);

} // namespace settings
