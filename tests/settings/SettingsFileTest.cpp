#include "settings/SettingsFile.h"

#include "settings/IniFile.h"
#include "settings/SettingControls.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using settings::IniFile;
using settings::IniWriteError;

// Controls that remember every value set and the order of the calls.
class RecordingControls : public settings::SettingControls {
public:
    bool checked(std::string_view c) const override { return ticks.count(std::string(c)) && ticks.at(std::string(c)); }
    void setChecked(std::string_view c, bool on) override { record(c), ticks[std::string(c)] = on; }
    int itemIndex(std::string_view) const override { return 1; }
    void setItemIndex(std::string_view c, int) override { record(c); }
    std::string text(std::string_view) const override { return editText; }
    void setText(std::string_view c, const std::string&) override { record(c); }
    std::uint32_t color(std::string_view) const override { return 0x8000000Cu; }
    void setColor(std::string_view c, std::uint32_t) override { record(c); }
    void loadControlMap(const std::string& stored) override {
        record("stgKey");
        loadedMap = stored;
    }
    std::string storeControlMap() const override { return "1"; }

    void record(std::string_view c) { calls.emplace_back(c); }
    std::vector<std::string> calls;
    std::map<std::string, bool> ticks;
    std::string editText;
    std::string loadedMap;
};

TEST(SettingsFileTest, ActionMapIsLoadedLastAfterItsCheckBox) {
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("Tarvesk.ini"), "[Control]\nstrControl=101\ncbxControl_Checked=1\n");
    RecordingControls controls;
    settings::readSettings(IniFile(dir.file("Tarvesk.ini")), controls);
    ASSERT_EQ(controls.calls.size(), 36u);
    EXPECT_EQ(controls.calls.front(), "cbxSysTray");
    EXPECT_EQ(controls.calls.back(), "stgKey");
    EXPECT_EQ(controls.loadedMap, "101");
    EXPECT_TRUE(controls.ticks["cbxControl"]);
}

TEST(SettingsFileTest, WriteStopsAtTheKeyThatCannotBeWritten) {
    testsupport::TempDir dir;
    IniFile ini(dir.file("Tarvesk.ini"));
    RecordingControls controls;
    controls.ticks["cgbPrmFile"] = true;
    controls.editText = "C:\\日.prm"; // not in Windows-1251
    EXPECT_THROW(settings::writeSettings(ini, controls), IniWriteError);
    EXPECT_EQ(ini.readString("Common", "cmbShortCut_ItemIndex", "none"), "1");
    EXPECT_EQ(ini.readString("Start", "cgbPrmFile_Checked", "none"), "1");
    EXPECT_EQ(ini.readString("Start", "edtPrmFile_Text", "none"), "none");
    EXPECT_EQ(ini.readString("Control", "strControl", "none"), "none");

    controls.editText = "C:\\Пакет.prm";
    settings::writeSettings(ini, controls);
    EXPECT_EQ(ini.readString("Control", "strControl", "none"), "1");
    EXPECT_EQ(ini.readString("Color", "cbnTo_ActiveColor", "none"), "-2147483636");
}

} // namespace
