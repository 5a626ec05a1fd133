#include "main/MainActions.h"
#include "main/AppearancePlan.h"
#include "main/WindowPosition.h"
#include "settings/ControlMap.h"
#include "settings/IniFile.h"
#include "support/TempDir.h"
#include "widgets/ColorTable.h"

#include <gtest/gtest.h>

using namespace mainwin;

namespace {

constexpr int Shift = 1, Alt = 2, Ctrl = 4;
const std::string_view kDefault = settings::DefaultControlMap;
using Kind = MappedAction::Kind;

} // namespace

TEST(MappedAction, DefaultMapPicksTheActionOfEachCombination) {
    struct Case {
        int mask;
        MappedAction expected;
    };
    const Case cases[] = {
        {0, {Kind::EditFolder, -1}},
        {Ctrl, {Kind::Launch, 0}},
        {Alt, {Kind::Launch, 1}},
        {Ctrl | Shift, {Kind::Launch, 2}},
        {Shift, {Kind::Launch, 3}},
        {Alt | Ctrl, {Kind::Launch, 4}},
        {Alt | Shift, {}},
        {Alt | Ctrl | Shift, {}},
        {Ctrl | 0x40, {Kind::Launch, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mappedAction(kDefault, c.mask), c.expected) << "mask " << c.mask;
}

TEST(MappedAction, PaddedSingleCharacterMapEditsOnAltAndLaunchesEnterpriseOnPlainEnter) {
    const std::string map = settings::LoadControlMap("1");
    EXPECT_EQ(mappedAction(map, Alt), (MappedAction{Kind::EditFolder, -1}));
    EXPECT_EQ(mappedAction(map, 0), (MappedAction{Kind::Launch, 0}));
}

TEST(MappedAction, ForeignCharactersNeverMatchAndTheSmallestRowWins) {
    std::string map(kDefault);
    map.replace(0, 3, "0x0"); // row 1 can no longer match
    EXPECT_EQ(mappedAction(map, 0).kind, Kind::None);
    map.replace(6, 3, "010"); // row 3 now equals row 2
    EXPECT_EQ(mappedAction(map, Ctrl), (MappedAction{Kind::Launch, 0}));
}

TEST(StartButton, SwitchesOnlyForAMatchingLaunchRow) {
    EXPECT_EQ(startButtonRegime(kDefault, 0), -1);           // no modifier: regime shown
    EXPECT_EQ(startButtonRegime(kDefault, Ctrl), 0);         // "Предприятие"
    EXPECT_EQ(startButtonRegime(kDefault, Alt | Shift), -1); // no row
    EXPECT_EQ(startButtonRegime(kDefault, Alt | Ctrl), 4);   // "Пакетный"
    const std::string altEdits = settings::LoadControlMap("1");
    EXPECT_EQ(startButtonRegime(altEdits, Alt), -1); // the edit row never edits from Start
}

TEST(KeyCommand, TableOfKeysAndFocus) {
    using F = MainFocus;
    using K = MainKey;
    using C = MainCommand;
    struct Case {
        K key;
        F focus;
        bool startModeEnabled;
        bool minimizeOnEscape;
        C expected;
    };
    const Case cases[] = {
        {K::Enter, F::FolderList, true, false, C::MappedAction},
        {K::Enter, F::ProgramList, true, false, C::MappedAction},
        {K::Enter, F::StartMode, true, false, C::MappedAction},
        {K::Enter, F::CategoryFilter, true, false, C::MappedAction},
        {K::Enter, F::DivisionFilter, true, false, C::MappedAction},
        {K::Enter, F::NonParent, true, false, C::MappedAction},
        {K::Enter, F::StartRegime, true, false, C::None},
        {K::Enter, F::Other, true, false, C::None},
        {K::Escape, F::StartRegime, true, true, C::Minimize},
        {K::Escape, F::FolderList, true, true, C::Minimize},
        {K::Escape, F::FolderList, true, false, C::None},
        {K::Escape, F::Other, true, true, C::None},
        {K::Space, F::FolderList, true, false, C::EditProgram},
        {K::Space, F::ProgramList, true, false, C::EditProgram},
        {K::Space, F::StartMode, true, false, C::None},
        {K::Insert, F::ProgramList, true, false, C::AddProgram},
        {K::Insert, F::FolderList, true, false, C::AddFolder},
        {K::Insert, F::StartRegime, true, false, C::None},
        {K::Delete, F::ProgramList, true, false, C::DeleteProgram},
        {K::Delete, F::FolderList, true, false, C::DeleteFolder},
        {K::Delete, F::NonParent, true, false, C::None},
        {K::M, F::Other, true, false, C::ToggleStartMode},
        {K::M, F::FolderList, false, false, C::None},
        {K::Other, F::FolderList, true, true, C::None},
    };
    int line = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(keyCommand(c.key, c.focus, c.startModeEnabled, c.minimizeOnEscape), c.expected) << "case " << line;
        ++line;
    }
}

TEST(WindowPosition, MinusOneInEitherKeyMeansNoPlace) {
    testsupport::TempDir dir;
    settings::IniFile ini(dir.path() / "Tarvesk.ini");
    EXPECT_FALSE(readWindowPosition(ini)); // no file
    writeWindowPosition(ini, {-1, 200});
    EXPECT_FALSE(readWindowPosition(ini));
    writeWindowPosition(ini, {-5, -300}); // off every screen: used as it is
    EXPECT_EQ(readWindowPosition(ini), (WindowPoint{-5, -300}));
    EXPECT_EQ(ini.readString("Main", "frmMain_Top", ""), "-300");
}

TEST(WindowPosition, CentresInTheAvailableArea) {
    EXPECT_EQ(centredPosition({0, 0, 1024, 768}, 513, 424), (WindowPoint{255, 172}));
    EXPECT_EQ(centredPosition({100, 20, 800, 600}, 200, 100), (WindowPoint{400, 270}));
}

TEST(AppearancePlan, DefaultsGiveTheDocumentedLook) {
    const AppearancePlan plan = planAppearance(AppearanceChoice{});
    EXPECT_TRUE(plan.trayVisible);
    EXPECT_FALSE(plan.trayAnimated);
    ASSERT_TRUE(plan.bars);
    EXPECT_EQ(*plan.bars, (BarFill{false, widgets::kColorAppWorkspace, widgets::kColorAppWorkspace}));
    ASSERT_TRUE(plan.buttons);
    for (const ButtonColors& c : *plan.buttons)
        EXPECT_EQ(c, (ButtonColors{widgets::kColorBtnFace, widgets::kColorBtnFace, widgets::kColorBtnFace}));
    EXPECT_EQ(plan.background, widgets::kColorBtnFace);
}

TEST(AppearancePlan, ColourSchemeIsTheFixedTable) {
    AppearanceChoice choice;
    choice.standardButtons = false;
    choice.colorButtons = true;
    const AppearancePlan plan = planAppearance(choice);
    ASSERT_TRUE(plan.buttons);
    const ButtonScheme& s = *plan.buttons;
    const ButtonColors add{0x00808000, 0x00CAF38B, 0x00C0DCC0};
    const ButtonColors edit{0x004154A0, 0x0080FFFF, 0x00C0FFFF};
    const ButtonColors remove{0x000000B5, 0x000000FF, 0x008080FF};
    const ButtonColors command{0x00FFAC00, 0x00FFFF00, 0x00E0E0A0};
    const ButtonScheme expected{add, edit, remove, add, edit, remove, command, command, command};
    EXPECT_EQ(s, expected);
}

TEST(AppearancePlan, OtherChoicesAndGroupsWithoutATick) {
    AppearanceChoice choice;
    choice.sysTray = false;
    choice.standardBars = false;
    choice.gradientBars = true;
    choice.fromColor = 0x00112233;
    choice.toColor = 0x00112233;
    choice.standardButtons = false;
    choice.simpleButtons = true;
    choice.buttonColor = 0x000000FF;
    choice.standardForm = false;
    choice.colorForm = true;
    choice.colorFormColor = 0x00ABCDEF;
    AppearancePlan plan = planAppearance(choice);
    EXPECT_FALSE(plan.trayVisible);
    EXPECT_EQ(*plan.bars, (BarFill{true, 0x00112233, 0x00112233}));
    EXPECT_EQ((*plan.buttons)[8], (ButtonColors{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(plan.background, 0x00ABCDEFu);

    choice.gradientBars = false; // no bar radio ticked: the bars keep their fill
    choice.simpleButtons = false;
    choice.colorForm = false;
    plan = planAppearance(choice);
    EXPECT_FALSE(plan.bars);
    EXPECT_FALSE(plan.buttons);
    EXPECT_FALSE(plan.background);
}
