// The settings window against its file: defaults, loading rules, the first save.
#include "SetupFixture.h"

#include "settings/IniFile.h"

#include <QComboBox>
#include <QLineEdit>

#include <filesystem>

namespace {

using setuptest::SetupFixture;
using testsupport::readFile;

class SetupFileTest : public SetupFixture {};

TEST_F(SetupFileTest, WithoutFileTheWindowShowsTheDefaults) {
    auto& w = create();
    EXPECT_FALSE(w.isVisible());
    struct Tick {
        const char* control;
        bool on;
    };
    const Tick ticks[] = {
        {"cbxSysTray", true},        {"cbxAnimate", false},      {"cbxReestr", false},
        {"cbxFilter", false},        {"cgbAutoStart", false},    {"rbnSysRegistry", false},
        {"rbnStartUpMenu", false},   {"rbnAllUser", false},      {"rbnCurUser", false},
        {"cgbPrmFile", false},       {"cbxPrmFileAbsent", true}, {"cbxPrmFilePresent", false},
        {"cbxLocate", false},        {"rbnMinimize", true},      {"rbnClose", false},
        {"rbnNotning", false},       {"cbxControl", false},      {"cbxMinimize", false},
        {"rbnStandard", true},       {"rbnSimple", false},       {"rbnGradient", false},
        {"rbnStandardButton", true}, {"rbnColorButton", false},  {"rbnSimpleButton", false},
        {"rbnStandardForm", true},   {"rbnDefaultForm", false},  {"rbnColorForm", false},
    };
    for (const Tick& t : ticks)
        EXPECT_EQ(checked(t.control), t.on) << t.control;
    EXPECT_EQ(control<QComboBox>("cmbShortCut")->currentIndex(), 0);
    EXPECT_EQ(control<QLineEdit>("edtPrmFile")->text(), QString());
    EXPECT_EQ(m_map, "000010100011001110");
    EXPECT_EQ(w.buttonColor(), 0x8000000Fu);
    EXPECT_EQ(w.defaultFormColor(), 0x8000000Fu);
    EXPECT_EQ(w.colorFormColor(), 0x8000000Fu);
    EXPECT_EQ(w.simpleColor(), 0x00808080u);
    EXPECT_EQ(w.fromColor(), 0x00808080u);
    EXPECT_EQ(w.toColor(), 0x00808080u);
    // Creation applies the appearance once and writes nothing.
    EXPECT_EQ(m_log.steps, std::vector<std::string>{"appearance"});
    EXPECT_TRUE(m_log.lastStandardBars);
    EXPECT_FALSE(std::filesystem::exists(iniPath()));
}

TEST_F(SetupFileTest, FirstOkWritesEveryKeyInOrder) {
    create();
    open();
    pressButton("btnOk");
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(m_errors.empty());
    EXPECT_EQ(m_log.steps, (std::vector<std::string>{"appearance", "appearance", "autostart"}));
    std::string text = readFile(iniPath());
    std::erase(text, '\r');
    EXPECT_EQ(text, "[Common]\n"
                    "cbxSysTray_Checked=1\n"
                    "cbxAnimate_Checked=0\n"
                    "cbxReestr_Checked=0\n"
                    "cbxFilter_Checked=0\n"
                    "cmbShortCut_ItemIndex=0\n"
                    "cgbAutoStart_Checked=0\n"
                    "rbnSysRegistry_Checked=0\n"
                    "rbnStartUpMenu_Checked=0\n"
                    "rbnAllUser_Checked=0\n"
                    "rbnCurUser_Checked=0\n"
                    "[Start]\n"
                    "cgbPrmFile_Checked=0\n"
                    "edtPrmFile_Text=\n"
                    "cbxPrmFileAbsent_Checked=1\n"
                    "cbxPrmFilePresent_Checked=0\n"
                    "cbxLocate_Checked=0\n"
                    "rbnMinimize_Checked=1\n"
                    "rbnClose_Checked=0\n"
                    "rbnNotning_Checked=0\n"
                    "[Control]\n"
                    "strControl=000010100011001110\n"
                    "cbxControl_Checked=0\n"
                    "cbxMinimize_Checked=0\n"
                    "[Color]\n"
                    "rbnStandard_Checked=1\n"
                    "rbnSimple_Checked=0\n"
                    "rbnGradient_Checked=0\n"
                    "rbnStandardButton_Checked=1\n"
                    "rbnColorButton_Checked=0\n"
                    "rbnSimpleButton_Checked=0\n"
                    "cbnButtonColor_ActiveColor=-2147483633\n"
                    "cbnSimple_ActiveColor=8421504\n"
                    "cbnFrom_ActiveColor=8421504\n"
                    "cbnTo_ActiveColor=8421504\n"
                    "rbnStandardForm_Checked=1\n"
                    "rbnDefaultForm_Checked=0\n"
                    "rbnColorForm_Checked=0\n"
                    "cbnDefaultForm_ActiveColor=-2147483633\n"
                    "cbnColorForm_ActiveColor=-2147483633\n");
}

TEST_F(SetupFileTest, RadioGroupsFromTheFile) {
    struct Case {
        const char* name;
        const char* file;
        std::vector<const char*> ticked;
        std::vector<const char*> unticked;
    };
    const Case cases[] = {
        {"LaterOfTwoWins",
         "[Start]\nrbnMinimize_Checked=1\nrbnClose_Checked=1\n[Common]\nrbnSysRegistry_Checked=1\n"
         "rbnStartUpMenu_Checked=1\nrbnAllUser_Checked=1\nrbnCurUser_Checked=1\n",
         {"rbnClose", "rbnStartUpMenu", "rbnCurUser"},
         {"rbnMinimize", "rbnNotning", "rbnSysRegistry", "rbnAllUser"}},
        {"EarlierOneStaysWhenTheLaterIsZero",
         "[Start]\nrbnMinimize_Checked=0\nrbnClose_Checked=1\nrbnNotning_Checked=0\n",
         {"rbnClose"},
         {"rbnMinimize", "rbnNotning"}},
        {"AllZeroTicksNone",
         "[Start]\nrbnMinimize_Checked=0\nrbnClose_Checked=0\nrbnNotning_Checked=0\n[Color]\n"
         "rbnStandard_Checked=0\nrbnSimple_Checked=0\nrbnGradient_Checked=0\n",
         {},
         {"rbnMinimize", "rbnClose", "rbnNotning", "rbnStandard", "rbnSimple", "rbnGradient"}},
        {"AnyNonZeroIsTrue",
         "[Start]\nrbnNotning_Checked=-7\n[Color]\nrbnGradient_Checked=0x10\n",
         {"rbnNotning", "rbnGradient"},
         {"rbnMinimize", "rbnStandard"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeIni(c.file);
        auto& w = create();
        for (const char* r : c.ticked)
            EXPECT_TRUE(checked(r)) << r;
        for (const char* r : c.unticked)
            EXPECT_FALSE(checked(r)) << r;
        EXPECT_EQ(w.minimizeAfterLaunch(), checked("rbnMinimize"));
        EXPECT_EQ(w.closeAfterLaunch(), checked("rbnClose"));
    }
}

TEST_F(SetupFileTest, NumbersFromTheFile) {
    struct Case {
        const char* value;
        int shortcut; // cmbShortCut: -1 no selection
    };
    const Case cases[] = {{"2", 2}, {"0x1", 1}, {"0X2", 2}, {"abc", 0}, {"0x", 0}, {"3", -1}, {"-1", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        writeIni(std::string("[Common]\ncmbShortCut_ItemIndex=") + c.value +
                 "\n[Color]\ncbnSimple_ActiveColor=0x1F\n"
                 "cbnTo_ActiveColor=grey\ncbnFrom_ActiveColor=-2147483636\n");
        auto& w = create();
        EXPECT_EQ(w.shortcutMatchMode(), c.shortcut);
        EXPECT_EQ(w.simpleColor(), 31u);
        EXPECT_EQ(w.toColor(), 0x00808080u);
        EXPECT_EQ(w.fromColor(), 0x8000000Cu);
    }
    // Nothing selected is saved as -1.
    open();
    pressButton("btnApply");
    EXPECT_EQ(settings::IniFile(iniPath()).readString("Common", "cmbShortCut_ItemIndex", ""), "-1");
}

TEST_F(SetupFileTest, ColoursComeFromTheFileAndGoBackToIt) {
    writeIni("[Color]\ncbnDefaultForm_ActiveColor=255\ncbnButtonColor_ActiveColor=1193046\n"
             "cbnColorForm_ActiveColor=65280\ncbnFrom_ActiveColor=-2147483643\n");
    auto& w = create();
    EXPECT_EQ(w.defaultFormColor(), 0x0000FFu);
    EXPECT_EQ(w.buttonColor(), 0x123456u); // in no list: kept as it is
    EXPECT_EQ(w.colorFormColor(), 0x00FF00u);
    EXPECT_EQ(w.fromColor(), 0x80000005u);
    open();
    showPage(3);
    click("rbnDefaultForm");
    // The user picks the next colour of the list by the keyboard.
    QTest::keyClick(control("cbnDefaultForm"), Qt::Key_Down);
    const std::uint32_t picked = w.defaultFormColor();
    EXPECT_NE(picked, 0x0000FFu);
    pressButton("btnApply");
    const settings::IniFile ini(iniPath());
    EXPECT_EQ(ini.readColor("Color", "cbnDefaultForm_ActiveColor", 0), picked);
    EXPECT_EQ(ini.readString("Color", "cbnButtonColor_ActiveColor", ""), "1193046");
    EXPECT_EQ(ini.readString("Color", "cbnFrom_ActiveColor", ""), "-2147483643");
}

TEST_F(SetupFileTest, FailedWriteIsReportedAndOkStillCloses) {
    const std::string path = m_dir.file("missing-dir/Tarvesk.ini");
    create(path);
    open();
    pressButton("btnOk");
    EXPECT_EQ(m_errors, std::vector<std::string>{"Unable to write to " + path});
    EXPECT_FALSE(m_window->isVisible());
}

// A read-only settings file stays byte for byte; OK reports the settings file's error and closes.
TEST_F(SetupFileTest, AReadOnlySettingsFileIsLeftAndReported) {
    const std::string path = m_dir.file("Tarvesk.ini");
    const std::string before = "[Common]\r\ncbxSysTray_Checked=0\r\n";
    testsupport::writeFile(path, before);
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    create(path);
    open();
    pressButton("btnOk");
    EXPECT_EQ(m_errors, std::vector<std::string>{"Unable to write to " + path});
    EXPECT_EQ(testsupport::readFile(path), before);
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(SetupFileTest, BatchFilePathsTheFileCannotHoldAreRefused) {
    create();
    open();
    showPage(1);
    toggleGroup("cgbPrmFile");
    auto* edit = control<QLineEdit>("edtPrmFile");
    // Typed: the character that Windows-1251 lacks is refused and named.
    type(edit, QString::fromUtf8("C:\\日.prm"));
    EXPECT_EQ(edit->text(), "C:\\.prm");
    ASSERT_EQ(m_errors.size(), 1u);
    EXPECT_NE(m_errors[0].find("日"), std::string::npos) << m_errors[0];
    // Chosen in the file dialog: the edit keeps its text.
    m_chosenFile = "/home/u/日.prm";
    pressButton("btnPrmFile");
    EXPECT_EQ(edit->text(), "C:\\.prm");
    EXPECT_EQ(m_errors.size(), 2u);
    // Cyrillic is fine.
    m_chosenFile = "/home/u/Пакет.prm";
    pressButton("btnPrmFile");
    EXPECT_EQ(edit->text(), QString::fromUtf8("Z:\\home\\u\\Пакет.prm"));
    pressButton("btnOk");
    EXPECT_EQ(m_errors.size(), 2u);
    EXPECT_EQ(settings::IniFile(iniPath()).readString("Start", "edtPrmFile_Text", ""), "Z:\\home\\u\\Пакет.prm");
}

} // namespace
