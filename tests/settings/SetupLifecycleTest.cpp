// The settings window's showing, OK, Apply, Cancel, Escape and title-bar close, and its enabling rules.
#include "SetupFixture.h"

#include "settings/IniFile.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <filesystem>

namespace {

using setuptest::SetupFixture;

class SetupLifecycleTest : public SetupFixture {
protected:
    bool stored(const char* section, const char* key) const {
        return settings::IniFile(iniPath()).readBool(section, key, false);
    }
};

TEST_F(SetupLifecycleTest, ApplyThenCancelKeepsTheAppliedValues) {
    create();
    open();
    click("cbxReestr");
    pressButton("btnApply");
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(stored("Common", "cbxReestr_Checked"));
    click("cbxFilter");
    pressButton("btnCancel");
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(checked("cbxReestr"));
    EXPECT_FALSE(checked("cbxFilter"));
    EXPECT_FALSE(stored("Common", "cbxFilter_Checked"));
    // Cancel touches neither the appearance nor the autostart entries.
    EXPECT_EQ(m_log.steps, (std::vector<std::string>{"appearance", "appearance", "autostart"}));
}

TEST_F(SetupLifecycleTest, TitleBarCloseKeepsEditsLiveUntilTheNextShowing) {
    writeIni("[Common]\ncbxReestr_Checked=1\n");
    auto& w = create();
    open();
    click("cbxReestr");
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.clearRegistryOnDelete());
    EXPECT_TRUE(stored("Common", "cbxReestr_Checked"));
    open();
    EXPECT_TRUE(w.clearRegistryOnDelete());
}

TEST_F(SetupLifecycleTest, EscapeIsCancel) {
    writeIni("[Common]\ncbxReestr_Checked=1\n");
    auto& w = create();
    open();
    click("cbxReestr");
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.clearRegistryOnDelete());
}

TEST_F(SetupLifecycleTest, EveryShowingReadsTheFile) {
    auto& w = create();
    EXPECT_FALSE(w.minimizeOnEscape());
    // Another accessor on the same file (the main window's) changes it while the window is hidden.
    settings::IniFile(iniPath()).writeBool("Control", "cbxMinimize_Checked", true);
    EXPECT_FALSE(w.minimizeOnEscape());
    open();
    EXPECT_TRUE(w.minimizeOnEscape());
}

TEST_F(SetupLifecycleTest, AutoStartErrorStopsTheSaveAndKeepsTheWindowOpen) {
    for (const char* button : {"btnOk", "btnApply"}) {
        SCOPED_TRACE(button);
        create();
        open();
        m_log.steps.clear();
        m_errors.clear();
        m_log.autoStartError = "Failed to set data for 'Tarvesk'";
        pressButton(button);
        EXPECT_EQ(m_log.steps, (std::vector<std::string>{"appearance", "autostart"}));
        EXPECT_EQ(m_errors, std::vector<std::string>{"Failed to set data for 'Tarvesk'"});
        EXPECT_TRUE(m_window->isVisible());
        EXPECT_FALSE(std::filesystem::exists(iniPath()));
        m_log.autoStartError.clear();
    }
}

TEST_F(SetupLifecycleTest, AutoStartGetsTheTicksOfTheGeneralPage) {
    create();
    open();
    toggleGroup("cgbAutoStart");
    click("rbnStartUpMenu");
    click("rbnCurUser");
    pressButton("btnApply");
    EXPECT_TRUE(m_log.lastChoice.autoStart);
    EXPECT_FALSE(m_log.lastChoice.sysRegistry);
    EXPECT_TRUE(m_log.lastChoice.startUpMenu);
    EXPECT_FALSE(m_log.lastChoice.allUser);
    EXPECT_TRUE(m_log.lastChoice.curUser);
    EXPECT_EQ(control("rbnAllUser")->property("tag").toInt(), 8);
    EXPECT_EQ(control("rbnCurUser")->property("tag").toInt(), 28);
}

TEST_F(SetupLifecycleTest, FirstPageFirstThenThePageLastShown) {
    create();
    open();
    auto* pages = control<QTabWidget>("pgcSetup");
    EXPECT_EQ(pages->currentIndex(), 0);
    showPage(2);
    pressButton("btnCancel");
    open();
    EXPECT_EQ(pages->currentIndex(), 2);
}

TEST_F(SetupLifecycleTest, BrowseShowsTheChosenFileAsAWindowsPath) {
    create();
    open();
    showPage(1);
    toggleGroup("cgbPrmFile");
    m_chosenFile = "/home/u/x.prm";
    pressButton("btnPrmFile");
    EXPECT_EQ(m_window->defaultBatchFile(), "Z:\\home\\u\\x.prm");
    m_chosenFile.clear(); // cancelled
    pressButton("btnPrmFile");
    EXPECT_EQ(m_window->defaultBatchFile(), "Z:\\home\\u\\x.prm");
}

TEST_F(SetupLifecycleTest, CheckGroupBoxesEnableTheirContent) {
    writeIni("[Common]\ncgbAutoStart_Checked=1\n");
    create();
    open();
    const char* autoStartInside[] = {"grpAutoStartSource", "grpAutoStartScope", "rbnSysRegistry",
                                     "rbnStartUpMenu",     "rbnAllUser",        "rbnCurUser"};
    for (const char* name : autoStartInside)
        EXPECT_TRUE(enabled(name)) << name;
    toggleGroup("cgbAutoStart");
    for (const char* name : autoStartInside)
        EXPECT_FALSE(enabled(name)) << name;

    showPage(1);
    const char* prmInside[] = {"edtPrmFile", "btnPrmFile", "grpPrmFileApply", "cbxPrmFileAbsent", "cbxPrmFilePresent"};
    for (const char* name : prmInside)
        EXPECT_FALSE(enabled(name)) << name;
    toggleGroup("cgbPrmFile");
    for (const char* name : prmInside)
        EXPECT_TRUE(enabled(name)) << name;
}

TEST_F(SetupLifecycleTest, AnimateFollowsTheTrayTick) {
    writeIni("[Common]\ncbxSysTray_Checked=0\ncbxAnimate_Checked=1\n");
    create();
    open();
    EXPECT_FALSE(enabled("cbxAnimate"));
    click("cbxSysTray");
    EXPECT_TRUE(enabled("cbxAnimate"));
    click("cbxSysTray");
    EXPECT_FALSE(enabled("cbxAnimate"));
    EXPECT_TRUE(checked("cbxAnimate"));
}

TEST_F(SetupLifecycleTest, ColourRuleFollowsEveryRadioClick) {
    create();
    open();
    showPage(3);
    struct Step {
        const char* radio;
        std::vector<const char*> on;
        std::vector<const char*> off;
    };
    const Step steps[] = {
        {"rbnStandard", {}, {"cbnSimple", "cbnFrom", "cbnTo"}},
        {"rbnSimple", {"cbnSimple"}, {"cbnFrom", "cbnTo"}},
        {"rbnGradient", {"cbnFrom", "cbnTo", "lblFrom", "lblTo"}, {"cbnSimple"}},
        {"rbnStandardForm", {}, {"cbnDefaultForm", "cbnColorForm"}},
        {"rbnDefaultForm", {"cbnDefaultForm"}, {"cbnColorForm"}},
        {"rbnColorForm", {"cbnColorForm"}, {"cbnDefaultForm"}},
        {"rbnSimpleButton", {"cbnButtonColor"}, {}},
        {"rbnColorButton", {}, {"cbnButtonColor"}},
        {"rbnSimpleButton", {"cbnButtonColor"}, {}},
        {"rbnStandardButton", {}, {"cbnButtonColor"}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.radio);
        click(s.radio);
        EXPECT_TRUE(checked(s.radio));
        for (const char* name : s.on)
            EXPECT_TRUE(enabled(name)) << name;
        for (const char* name : s.off)
            EXPECT_FALSE(enabled(name)) << name;
    }
    EXPECT_TRUE(enabled("lblFrom"));
}

TEST_F(SetupLifecycleTest, ColourGroupsWithNoRadioTickedLeaveTheirControls) {
    writeIni("[Color]\nrbnStandard_Checked=0\nrbnStandardForm_Checked=0\nrbnStandardButton_Checked=0\n");
    create();
    open();
    for (const char* name : {"cbnSimple", "cbnFrom", "cbnTo", "cbnDefaultForm", "cbnColorForm"})
        EXPECT_TRUE(enabled(name)) << name;
    EXPECT_FALSE(enabled("cbnButtonColor"));
}

TEST_F(SetupLifecycleTest, FixedSizeAndNoCaptionClipped) {
    auto& w = create();
    open();
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Настройки"));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    for (int page = 0; page < 4; ++page) {
        SCOPED_TRACE(page);
        showPage(page);
        for (QAbstractButton* b : w.findChildren<QAbstractButton*>()) {
            if (b->isVisible()) {
                EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
            }
        }
        for (QLabel* l : w.findChildren<QLabel*>()) {
            if (l->isVisible()) {
                EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
            }
        }
    }
    auto* grid = control<QTableWidget>("stgKey");
    const QFontMetrics metrics(grid->font());
    for (int r = 0; r < grid->rowCount(); ++r)
        EXPECT_LE(metrics.horizontalAdvance(grid->item(r, 0)->text()), grid->columnWidth(0) - 6);
    EXPECT_LE(metrics.height(), grid->rowHeight(0));
}

} // namespace
