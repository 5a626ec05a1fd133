#include "data/DataModuleFixture.h"

#include "launch/Class1C.h"
#include "launch/LaunchViews.h"
#include "platform/fake/RecordingShell.h"

namespace {

using ProgramRun = platform::RecordingShell::ProgramRun;
const std::string kExe = R"(C:\Program Files\1Cv77\BIN\1cv7s.exe)";
const std::string kTitles = R"(Software\1C\1Cv7\7.7\Titles)";

struct Views : launch::MainWindowView, launch::ExplorerView {
    int regime = 0, explorerRegimeIndex = 0;
    bool exclusive = false, explorerExclusiveDown = false;
    std::string directory;
    int startRegime() const override { return regime; }
    bool exclusiveChecked() const override { return exclusive; }
    int explorerRegime() const override { return explorerRegimeIndex; }
    bool explorerExclusive() const override { return explorerExclusiveDown; }
    std::string SelectedDirectory() const override { return directory; }
};

// The launcher reading the real data module.
class LaunchOnTablesTest : public testsupport::DataModuleTest {
protected:
    LaunchOnTablesTest() : m_launcher(m_registry, m_shell) {
        m_launcher.setDataModule(m_dm.get());
        m_launcher.setMainWindowView(&m_views);
        m_launcher.setExplorerView(&m_views);
        m_launcher.setSettingsView(&m_settings);
        m_ui.executableAnswers.push_back({"1С", kExe});
        m_dm->AddExecutable();
    }

    platform::RecordingShell m_shell;
    Views m_views;
    launch::TC1C m_launcher;
};

TEST_F(LaunchOnTablesTest, WorkedExamplesFromTheStoredRow) {
    addInfobase(
        infobase("Торговля", R"(C:\Bases\Trade 2)", "Operator", "", R"(D:\Users\Operator)", R"(C:\Bases\upload.prm)"));
    m_views.exclusive = true;
    m_launcher.Launch(app::LaunchSource::lsMainWindow);
    m_views.regime = 4;
    m_launcher.Launch(app::LaunchSource::lsMainWindow);
    EXPECT_EQ(m_shell.programRuns(),
              (std::vector<ProgramRun>{
                  {kExe, R"(enterprise /d"C:\Bases\Trade 2" /m /nOperator /uD:\Users\Operator)"},
                  {kExe, R"(config /d"C:\Bases\Trade 2" /nOperator /uD:\Users\Operator /@C:\Bases\upload.prm)"}}));
}

TEST_F(LaunchOnTablesTest, PasswordOnlyInTheLaunchNeverInTheShortcut) {
    addInfobase(infobase("Б", R"(C:\B)", "Operator", "Пароль1", R"(D:\U)"));
    EXPECT_EQ(m_launcher.BuildCommandLine(app::LaunchSource::lsMainWindow),
              R"(enterprise /dC:\B /nOperator /pПароль1 /uD:\U)");
    m_launcher.Launch(app::LaunchSource::lsMainWindow);
    EXPECT_EQ(m_shell.programRuns(),
              (std::vector<ProgramRun>{{kExe, R"(enterprise /dC:\B /nOperator /pПароль1 /uD:\U)", "Пароль1"}}));
    EXPECT_EQ(m_launcher.BuildCommandLine(app::LaunchSource::lsShortcut), R"(enterprise /dC:\B /nOperator /uD:\U)");
}

TEST_F(LaunchOnTablesTest, ExplorerRegistersAnUnknownDirectoryThenStartsWithItsRow) {
    addInfobase(infobase("Другая", R"(C:\Other\)")); // no Titles key yet: no entry for it
    m_registry.plantKey(platform::RegistryRoot::CurrentUser, kTitles);
    m_settings.locate = true;
    m_views.directory = R"(C:\New Base\)";
    m_ui.infobaseAnswers.push_back(infobase("Новая ИБ 1", R"(C:\New Base\)", "Admin", "pw"));
    m_launcher.Launch(app::LaunchSource::lsExplorer);
    EXPECT_EQ(m_ui.infobaseModes, (std::vector<int>{0, 2}));
    // The shell is told which password the string carries, to keep it out of sight.
    EXPECT_EQ(m_shell.programRuns(),
              (std::vector<ProgramRun>{{kExe, R"(enterprise /d"C:\New Base\" /nAdmin /ppw)", "pw"}}));
    EXPECT_EQ(m_dm->InfobaseName(), "Новая ИБ 1"); // cbxLocate moved the list to it

    m_ui.infobaseModes.clear();
    m_views.directory = R"(c:\other\)";
    m_launcher.Launch(app::LaunchSource::lsExplorer); // not in the Titles key: the dialog, cancelled
    EXPECT_EQ(m_ui.infobaseModes, std::vector<int>{2});
    EXPECT_EQ(m_shell.programRuns().size(), 1u);
    EXPECT_EQ(m_dm->InfobaseName(), "Другая");
}

} // namespace
