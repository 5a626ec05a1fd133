// The explorer window with the real launcher behind it: what the window answers at the moment of
// a launch becomes the argument string that reaches the program.
#include "ExplorerFixture.h"
#include "launch/Class1C.h"
#include "launch/FakeLaunchData.h"
#include "launch/FakeSettingsView.h"
#include "launch/LaunchViews.h"
#include "launch/StartEnterprise.h"
#include "platform/fake/MemoryRegistry.h"
#include "platform/fake/RecordingShell.h"
#include "platform/posix/PosixShell.h"
#include "platform/posix/WineBridge.h"
#include "support/FakeWine.h"
#include "widgets/WidgetTestSupport.h"

#include <QAction>
#include <QTest>
#include <QToolButton>

#include <sstream>

namespace {

namespace fs = std::filesystem;
using app::LaunchSource;
using platform::RegistryRoot;
using Row = testsupport::FakeLaunchData::Row;

const std::string kTitles = R"(Software\1C\1Cv7\7.7\Titles)";
const std::string kTrade = R"(C:\My Bases\Trade\)";

// Records every start and hands it on to the real shell.
class TeeShell : public platform::Shell {
public:
    explicit TeeShell(platform::Shell& real) : m_real(real) {}
    void runProgram(const std::string& program, const std::string& arguments, const std::string& password) override {
        m_record.runProgram(program, arguments, password);
        m_real.runProgram(program, arguments, password);
    }
    void openDirectory(const std::string& directory, bool explore) override {
        m_record.openDirectory(directory, explore);
    }
    const platform::RecordingShell& record() const { return m_record; }

private:
    platform::RecordingShell m_record;
    platform::Shell& m_real;
};

struct FakeMainWindow : launch::MainWindowView {
    int regime = 0;
    bool exclusive = false;
    int startRegime() const override { return regime; }
    bool exclusiveChecked() const override { return exclusive; }
};

struct FakeApplication : launch::Application {
    int minimized = 0;
    int terminated = 0;
    void minimizeApplication() override { ++minimized; }
    void terminateApplication() override { ++terminated; }
};

class ExplorerLaunch : public explorertest::ExplorerFixture {
protected:
    void SetUp() override {
        ExplorerFixture::SetUp();
        m_oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        fs::create_directories(dir.path() / "bin");
        testsupport::writeFakeWine(dir.path() / "bin" / "wine", wineLog());
        setenv("PATH", ((dir.path() / "bin").string() + ":" + m_oldPath).c_str(), 1);
        fs::create_directories(c / "1Cv77" / "BIN");
        testsupport::writeFile(c / "1Cv77" / "BIN" / "1cv7s.exe", "MZ");

        data.executable = R"(C:\1Cv77\BIN\1cv7s.exe)";
        data.rows = {{"Склад", R"(C:\Bases\Stock\)", "", "", "", ""},
                     {"Торговля", kTrade, "Operator", "секрет", R"(D:\Users\Operator)", ""}};
        data.folderRow = 0;
        launcher.setDataModule(&data);
        launcher.setMainWindowView(&mainWindow);
        launcher.setExplorerView(window.get());
        launcher.setSettingsView(&settings);
        window->setStartEnterprise(
            [this](LaunchSource source) { launch::StartEnterprise(launcher, source, settings, application); });
        ASSERT_TRUE(widgettest::showActive(window.get()));
    }
    void TearDown() override { setenv("PATH", m_oldPath.c_str(), 1); }

    fs::path wineLog() const { return dir.path() / "wine.log"; }
    // The command line the one start through the fake wine handed to Wine's helper.
    std::string wineCommandLine() const {
        const auto starts = testsupport::fakeWineStarts(wineLog(), 1);
        if (starts.size() != 1)
            return "<" + std::to_string(starts.size()) + " starts>";
        const auto& start = starts.front();
        const auto open = start.find('{', start.find("}{", start.find("}{") + 2) + 1);
        return start.substr(open + 1, start.find('}', open) - open - 1);
    }
    void selectInTree(const std::vector<QString>& captions) {
        const QModelIndex node = treeNode(captions);
        ASSERT_TRUE(node.isValid());
        tree()->setFocus();
        tree()->setCurrentIndex(node);
    }
    void clickStart() { QTest::mouseClick(child<QToolButton>("btnStart"), Qt::LeftButton); }

    platform::MemoryRegistry registry;
    platform::WineBridge bridge{"", testsupport::bridgeDirectory()};
    platform::PosixShell posix{paths, bridge, [] { return true; }};
    TeeShell shell{posix};
    launch::TC1C launcher{registry, shell};
    testsupport::FakeLaunchData data;
    testsupport::FakeSettingsView settings;
    FakeMainWindow mainWindow;
    FakeApplication application;
    std::string m_oldPath;
};

} // namespace

TEST_F(ExplorerLaunch, RegisteredDirectoryWithABlankReachesWineIntact) {
    registry.plantString(RegistryRoot::CurrentUser, kTitles, kTrade, "Торговля");
    settings.locate = true;
    selectInTree({"C:", "My Bases", "Trade"});
    clickStart();

    EXPECT_EQ(wineCommandLine(),
              R"("C:\1Cv77\BIN\1cv7s.exe" enterprise /d"C:\My Bases\Trade\" /nOperator /pсекрет /uD:\Users\Operator)");
    EXPECT_EQ(shell.record().programRuns()[0].password, "секрет");
    EXPECT_EQ(data.folderRow, 1u); // cbxLocate moved the main list onto it
    EXPECT_EQ(data.registerCalls, 0);
}

TEST_F(ExplorerLaunch, EmptyListSelectionLaunchesWithABareDirectorySwitch) {
    data.onRegister = [](testsupport::FakeLaunchData&) { return true; };
    window->ShowFolder((c / "My Bases").string());
    list()->setFocus();
    clickStart();

    EXPECT_EQ(data.registerCalls, 1); // an empty directory is never in the Titles key
    ASSERT_EQ(shell.record().programRuns().size(), 1u);
    EXPECT_EQ(shell.record().programRuns()[0].arguments, "enterprise /d");
    EXPECT_EQ(wineCommandLine(), R"("C:\1Cv77\BIN\1cv7s.exe" enterprise /d)");
}

TEST_F(ExplorerLaunch, ConfiguratorFromTheMenuThenAPlainClickBothStartTheConfigurator) {
    registry.plantString(RegistryRoot::CurrentUser, kTitles, R"(C:\Bases\)", "Базы");
    selectInTree({"C:", "Bases"});
    child<QAction>("pmiConfig")->trigger();
    clickStart();

    const auto& runs = shell.record().programRuns();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].arguments, R"(config /dC:\Bases\)");
    EXPECT_EQ(runs[1].arguments, R"(config /dC:\Bases\)");
}

TEST_F(ExplorerLaunch, ToggleGivesExclusiveForEnterpriseOnlyAndTheMainWindowBoxIsNotRead) {
    mainWindow.exclusive = true;
    selectInTree({"C:", "Bases"});
    EXPECT_EQ(launcher.BuildCommandLine(LaunchSource::lsExplorer), R"(enterprise /dC:\Bases\)");

    QTest::mouseClick(child<QToolButton>("btnStartMode"), Qt::LeftButton);
    mainWindow.exclusive = false;
    EXPECT_EQ(launcher.BuildCommandLine(LaunchSource::lsExplorer), R"(enterprise /dC:\Bases\ /m)");
    const std::pair<const char*, const char*> others[] = {
        {"pmiConfig", "config"}, {"pmiDebug", "debug"}, {"pmiMonitor", "monitor"}, {"pmiBatch", "config"}};
    for (const auto& [item, keyword] : others) {
        child<QAction>(item)->trigger(); // not registered and dialog cancelled: starts nothing
        EXPECT_EQ(launcher.BuildCommandLine(LaunchSource::lsExplorer), std::string(keyword) + R"( /dC:\Bases\)")
            << item;
    }
    EXPECT_TRUE(shell.record().programRuns().empty());
}

TEST_F(ExplorerLaunch, UnknownDirectoryWithTheDialogCancelledStartsNothingButStillMinimizes) {
    registry.plantKey(RegistryRoot::CurrentUser, kTitles);
    settings.minimize = true;
    selectInTree({"C:", "Bases"});
    clickStart();

    EXPECT_EQ(data.registerCalls, 1);
    EXPECT_TRUE(shell.record().programRuns().empty());
    EXPECT_EQ(application.minimized, 1);
    EXPECT_EQ(application.terminated, 0);
}

TEST_F(ExplorerLaunch, UnknownDirectoryStartsOnceTheDialogStoresIt) {
    registry.plantKey(RegistryRoot::CurrentUser, kTitles);
    data.onRegister = [](testsupport::FakeLaunchData& d) {
        d.rows.push_back({"Новая ИБ 1", R"(C:\Bases\)", "", "", "", ""});
        return true;
    };
    selectInTree({"C:", "Bases"});
    clickStart();

    ASSERT_EQ(shell.record().programRuns().size(), 1u);
    EXPECT_EQ(shell.record().programRuns()[0].program, R"(C:\1Cv77\BIN\1cv7s.exe)");
    EXPECT_EQ(shell.record().programRuns()[0].arguments, R"(enterprise /dC:\Bases\)");
}
