#include "launch/Class1C.h"

#include "launch/FakeLaunchData.h"
#include "launch/FakeSettingsView.h"
#include "launch/LaunchViews.h"
#include "platform/fake/MemoryRegistry.h"
#include "platform/fake/RecordingShell.h"

#include <gtest/gtest.h>

namespace {

using app::LaunchSource;
using platform::RegistryRoot;
using Row = testsupport::FakeLaunchData::Row;
using ProgramRun = platform::RecordingShell::ProgramRun;

const std::string kTitles = R"(Software\1C\1Cv7\7.7\Titles)";
const std::string kExe = R"(C:\Program Files\1Cv77\BIN\1cv7s.exe)";

struct FakeMainWindow : launch::MainWindowView {
    int regime = 0;
    bool exclusive = false;
    int startRegime() const override { return regime; }
    bool exclusiveChecked() const override { return exclusive; }
};

struct FakeExplorer : launch::ExplorerView {
    int regime = 0;
    bool exclusive = false;
    std::string directory;
    int explorerRegime() const override { return regime; }
    bool explorerExclusive() const override { return exclusive; }
    std::string SelectedDirectory() const override { return directory; }
};

// The infobase of the worked example.
Row tradeRow() {
    return {"Торговля", R"(C:\Bases\Trade 2)", "Operator", "", R"(D:\Users\Operator)", R"(C:\Bases\upload.prm)"};
}

class Class1CTest : public ::testing::Test {
protected:
    Class1CTest() : m_launcher(m_registry, m_shell) {
        m_launcher.setDataModule(&m_data);
        m_launcher.setMainWindowView(&m_main);
        m_launcher.setExplorerView(&m_explorer);
        m_launcher.setSettingsView(&m_settings);
        m_data.executable = kExe;
    }
    void showRow(const Row& row) {
        m_data.rows.push_back(row);
        m_data.folderRow = m_data.rows.size() - 1;
    }

    platform::MemoryRegistry m_registry;
    platform::RecordingShell m_shell;
    testsupport::FakeLaunchData m_data;
    FakeMainWindow m_main;
    FakeExplorer m_explorer;
    testsupport::FakeSettingsView m_settings;
    launch::TC1C m_launcher;
};

TEST_F(Class1CTest, WorkedExampleEnterpriseExclusive) {
    showRow(tradeRow());
    m_main.regime = 0;
    m_main.exclusive = true;
    m_launcher.Launch(LaunchSource::lsMainWindow);
    ASSERT_EQ(m_shell.programRuns().size(), 1u);
    EXPECT_EQ(m_shell.programRuns()[0],
              (ProgramRun{kExe, R"(enterprise /d"C:\Bases\Trade 2" /m /nOperator /uD:\Users\Operator)"}));
}

TEST_F(Class1CTest, WorkedExampleBatch) {
    showRow(tradeRow());
    m_main.regime = 4;
    m_main.exclusive = true;
    m_launcher.Launch(LaunchSource::lsMainWindow);
    ASSERT_EQ(m_shell.programRuns().size(), 1u);
    EXPECT_EQ(
        m_shell.programRuns()[0],
        (ProgramRun{kExe, R"(config /d"C:\Bases\Trade 2" /nOperator /uD:\Users\Operator /@C:\Bases\upload.prm)"}));
    EXPECT_EQ(m_launcher.BatchFile, R"(C:\Bases\upload.prm)");
    EXPECT_EQ(m_launcher.PathArg, R"( /d"C:\Bases\Trade 2")");
    EXPECT_EQ(m_launcher.ExclusiveArg, "");
    EXPECT_TRUE(m_launcher.Exclusive);
}

// One request through BuildCommandLine: the row shown (or none), the window's controls and the
// batch-file settings.
struct ArgCase {
    const char* what;
    LaunchSource source;
    int regime;
    bool exclusive;
    std::optional<Row> row;
    bool prmGroup, prmAbsent, prmPresent;
    std::string prmFile;
    std::string expected;
};

void PrintTo(const ArgCase& c, std::ostream* os) {
    *os << c.what;
}

class ArgumentStringTest : public Class1CTest, public ::testing::WithParamInterface<ArgCase> {};

TEST_P(ArgumentStringTest, Composes) {
    const ArgCase& c = GetParam();
    if (c.row) {
        showRow(*c.row);
        m_data.searchRow = m_data.folderRow;
    }
    m_main.regime = c.regime;
    m_main.exclusive = c.exclusive;
    m_settings.prmFileGroup = c.prmGroup;
    m_settings.prmFileAbsent = c.prmAbsent;
    m_settings.prmFilePresent = c.prmPresent;
    m_settings.prmFile = c.prmFile;
    EXPECT_EQ(m_launcher.BuildCommandLine(c.source), c.expected) << c.what;
}

const Row kPlain{"Б", R"(C:\Base)", "", "", "", ""};
const Row kFull{"Б", R"(C:\Base)", "Иванов", "секрет", R"(D:\My Users\u)", R"(C:\My Files\b.prm)"};
const Row kOwnPrm{"Б", R"(C:\Base)", "", "", "", R"(C:\own.prm)"};
const std::string kDef = R"(C:\Default Dir\d.prm)";

const ArgCase kArgCases[] = {
    {"regime 1 exclusive", LaunchSource::lsMainWindow, 1, true, kPlain, false, false, false, "", R"(config /dC:\Base)"},
    {"regime 2 exclusive", LaunchSource::lsMainWindow, 2, true, kPlain, false, false, false, "", R"(debug /dC:\Base)"},
    {"regime 3 exclusive", LaunchSource::lsMainWindow, 3, true, kPlain, false, false, false, "",
     R"(monitor /dC:\Base)"},
    {"regime 4 exclusive, no batch file", LaunchSource::lsMainWindow, 4, true, kPlain, false, false, false, "",
     R"(config /dC:\Base)"},
    {"regime 0 not exclusive", LaunchSource::lsMainWindow, 0, false, kPlain, false, false, false, "",
     R"(enterprise /dC:\Base)"},
    {"regime out of range is enterprise", LaunchSource::lsMainWindow, -1, true, kPlain, false, false, false, "",
     R"(enterprise /dC:\Base /m)"},
    {"blanks in user directory and batch file are never quoted, password plain", LaunchSource::lsMainWindow, 4, false,
     kFull, false, false, false, "", R"(config /dC:\Base /nИванов /pсекрет /uD:\My Users\u /@C:\My Files\b.prm)"},
    {"user fields only in their own fragments", LaunchSource::lsMainWindow, 0, true,
     Row{"Б", R"(C:\Base)", "", "pw", "", ""}, false, false, false, "", R"(enterprise /dC:\Base /m /ppw)"},
    {"batch file only in regime 4", LaunchSource::lsMainWindow, 1, false, kOwnPrm, true, true, true, kDef,
     R"(config /dC:\Base)"},
    {"no default batch file outside regime 4", LaunchSource::lsMainWindow, 0, false, kPlain, true, true, false, kDef,
     R"(enterprise /dC:\Base)"},
    {"default off: own file", LaunchSource::lsMainWindow, 4, false, kOwnPrm, false, true, true, kDef,
     R"(config /dC:\Base /@C:\own.prm)"},
    {"default on, own file, not present: own file", LaunchSource::lsMainWindow, 4, false, kOwnPrm, true, true, false,
     kDef, R"(config /dC:\Base /@C:\own.prm)"},
    {"default on, own file, present: settings' file", LaunchSource::lsMainWindow, 4, false, kOwnPrm, true, false, true,
     kDef, R"(config /dC:\Base /@C:\Default Dir\d.prm)"},
    {"default on, no own file, absent: settings' file", LaunchSource::lsMainWindow, 4, false, kPlain, true, true, false,
     kDef, R"(config /dC:\Base /@C:\Default Dir\d.prm)"},
    {"default on, no own file, not absent: none", LaunchSource::lsMainWindow, 4, false, kPlain, true, false, true, kDef,
     R"(config /dC:\Base)"},
    {"default on, no own file, absent, empty edit: none", LaunchSource::lsMainWindow, 4, false, kPlain, true, true,
     true, "", R"(config /dC:\Base)"},
    {"default off, no own file: none", LaunchSource::lsMainWindow, 4, false, kPlain, false, true, true, kDef,
     R"(config /dC:\Base)"},
    {"shortcut never carries the password", LaunchSource::lsShortcut, 0, true, kFull, false, false, false, "",
     R"(enterprise /dC:\Base /m /nИванов /uD:\My Users\u)"},
    {"no infobase row", LaunchSource::lsMainWindow, 0, true, std::nullopt, false, false, false, "", "enterprise /d /m"},
    {"no infobase row, batch default applies", LaunchSource::lsMainWindow, 4, false, std::nullopt, true, true, false,
     kDef, R"(config /d /@C:\Default Dir\d.prm)"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ArgumentStringTest, ::testing::ValuesIn(kArgCases));

TEST_F(Class1CTest, DirectoryQuotedOnlyForABlank) {
    const std::pair<std::string, std::string> cases[] = {
        {R"(C:\Base)", R"( /dC:\Base)"},
        {R"(C:\Мои базы\Б)", R"( /d"C:\Мои базы\Б")"},
        {R"(C:\Base\ )", R"( /d"C:\Base\ ")"},
        {"\\\\srv\\share\tx", " /d\\\\srv\\share\tx"}, // only character 32 counts as a blank
    };
    for (const auto& [path, arg] : cases) {
        m_data.rows.clear();
        showRow({"Б", path, "", "", "", ""});
        EXPECT_EQ(m_launcher.BuildCommandLine(LaunchSource::lsMainWindow), "enterprise" + arg) << path;
        EXPECT_EQ(m_launcher.PathArg, arg);
    }
}

TEST_F(Class1CTest, ExplorerReadsTheLocatedRowAndItsOwnControls) {
    showRow(tradeRow());
    m_data.rows.push_back(kFull);
    m_main.regime = 1;
    m_explorer.regime = 0;
    m_explorer.exclusive = true;
    m_explorer.directory = R"(c:\base)";
    EXPECT_EQ(m_launcher.BuildCommandLine(LaunchSource::lsExplorer),
              R"(enterprise /dc:\base /m /nИванов /pсекрет /uD:\My Users\u)");
    EXPECT_EQ(m_data.searchRow, 1u);
    EXPECT_EQ(m_data.folderRow, 0u); // cbxLocate off: the list stays

    m_explorer.regime = 4;
    EXPECT_EQ(m_launcher.BuildCommandLine(LaunchSource::lsExplorer),
              R"(config /dc:\base /nИванов /pсекрет /uD:\My Users\u /@C:\My Files\b.prm)");
}

TEST_F(Class1CTest, ExplorerLocateMovesTheListOnlyWhenAsked) {
    showRow(kFull);
    showRow(tradeRow());
    m_explorer.directory = R"(C:\BASE)";
    m_settings.locate = true;
    m_launcher.Prepare(LaunchSource::lsExplorer);
    EXPECT_EQ(m_data.folderRow, 0u);

    m_explorer.directory = R"(C:\Unknown\)";
    m_launcher.Prepare(LaunchSource::lsExplorer);
    EXPECT_EQ(m_data.folderRow, 0u); // no match: the list stays where it is
}

TEST_F(Class1CTest, ExplorerWithoutARowOrDirectory) {
    showRow(kFull);
    m_explorer.regime = 4;
    m_settings.prmFileGroup = true;
    m_settings.prmFileAbsent = true;
    m_settings.prmFile = R"(C:\d.prm)";
    m_explorer.directory = R"(C:\Other\)";
    EXPECT_EQ(m_launcher.BuildCommandLine(LaunchSource::lsExplorer), R"(config /dC:\Other\ /@C:\d.prm)");
    m_explorer.directory.clear();
    EXPECT_EQ(m_launcher.BuildCommandLine(LaunchSource::lsExplorer), R"(config /d /@C:\d.prm)");
}

TEST_F(Class1CTest, MainWindowLaunchWritesAMissingTitleAndKeepsAnExistingOne) {
    m_registry.plantString(RegistryRoot::CurrentUser, kTitles, R"(C:\Old)", "Старое имя");
    showRow({"Новое имя", R"(C:\Old)", "", "", "", ""});
    m_launcher.Launch(LaunchSource::lsMainWindow);
    EXPECT_EQ(m_registry.stringValue(RegistryRoot::CurrentUser, kTitles, R"(C:\Old)"), "Старое имя");

    showRow({"Склад", R"(C:\Stock)", "", "", "", ""});
    m_launcher.Launch(LaunchSource::lsMainWindow);
    EXPECT_EQ(m_registry.stringValue(RegistryRoot::CurrentUser, kTitles, R"(C:\Stock)"), "Склад");
    EXPECT_EQ(m_shell.programRuns().size(), 2u);
}

TEST_F(Class1CTest, MainWindowLaunchWithoutARowWritesNoTitleAndStillStarts) {
    m_registry.plantKey(RegistryRoot::CurrentUser, kTitles);
    m_launcher.Launch(LaunchSource::lsMainWindow);
    EXPECT_TRUE(m_registry.valueNames(RegistryRoot::CurrentUser, kTitles).empty());
    EXPECT_EQ(m_shell.programRuns(), (std::vector<ProgramRun>{{kExe, "enterprise /d"}}));
}

TEST_F(Class1CTest, MainWindowLaunchWithoutTheTitlesKeyCreatesNothing) {
    showRow(tradeRow());
    m_launcher.Launch(LaunchSource::lsMainWindow);
    EXPECT_TRUE(m_registry.createdKeys().empty());
    EXPECT_EQ(m_shell.programRuns().size(), 1u);
}

TEST_F(Class1CTest, ExplorerLaunchOfAKnownDirectoryStartsWithoutTheDialog) {
    m_registry.plantString(RegistryRoot::CurrentUser, kTitles, R"(C:\Base\)", "Б");
    m_explorer.directory = R"(C:\Base\)";
    m_launcher.Launch(LaunchSource::lsExplorer);
    EXPECT_EQ(m_data.registerCalls, 0);
    EXPECT_EQ(m_shell.programRuns(), (std::vector<ProgramRun>{{kExe, R"(enterprise /dC:\Base\)"}}));
}

TEST_F(Class1CTest, ExplorerLaunchOfAnUnknownDirectoryRegistersFirst) {
    m_explorer.directory = R"(C:\New Base\)";
    m_data.onRegister = [](testsupport::FakeLaunchData& data) {
        data.rows.push_back({"Новая ИБ 1", R"(C:\New Base\)", "Admin", "", "", ""});
        return true;
    };
    m_launcher.Launch(LaunchSource::lsExplorer);
    EXPECT_EQ(m_data.registerCalls, 1);
    // The second preparation sees the row just stored.
    EXPECT_EQ(m_shell.programRuns(), (std::vector<ProgramRun>{{kExe, R"(enterprise /d"C:\New Base\" /nAdmin)"}}));
}

TEST_F(Class1CTest, ExplorerLaunchWithTheRegistrationCancelledStartsNothing) {
    m_registry.plantKey(RegistryRoot::CurrentUser, kTitles);
    m_explorer.directory = R"(C:\New\)";
    m_launcher.Launch(LaunchSource::lsExplorer);
    EXPECT_EQ(m_data.registerCalls, 1);
    EXPECT_TRUE(m_shell.programRuns().empty());
}

TEST_F(Class1CTest, ShortcutSourceNeverLaunches) {
    showRow(tradeRow());
    m_launcher.Launch(LaunchSource::lsShortcut);
    EXPECT_TRUE(m_shell.programRuns().empty());
    EXPECT_TRUE(m_registry.createdKeys().empty());
    EXPECT_EQ(m_launcher.GetProgramPath(), kExe);
}

TEST_F(Class1CTest, EveryRequestOverwritesTheFields) {
    showRow(kFull);
    m_main.regime = 4;
    m_settings.prmFileGroup = true;
    m_settings.prmFilePresent = true;
    m_settings.prmFile = "X";
    m_launcher.BuildCommandLine(LaunchSource::lsMainWindow);
    EXPECT_EQ(m_launcher.BatchArg, " /@X");
    m_main.regime = 0;
    m_data.folderRow.reset();
    m_launcher.Prepare(LaunchSource::lsMainWindow);
    EXPECT_EQ(m_launcher.BatchFile, "");
    EXPECT_EQ(m_launcher.BatchArg, "");
    EXPECT_EQ(m_launcher.UserArgs, "");
    EXPECT_EQ(m_launcher.Path, "");
    EXPECT_EQ(m_launcher.RegimeKeyword, "enterprise");
}

} // namespace
