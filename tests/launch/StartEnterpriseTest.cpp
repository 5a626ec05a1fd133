#include "launch/StartEnterprise.h"

#include "launch/Class1C.h"
#include "launch/FakeLaunchData.h"
#include "launch/FakeSettingsView.h"
#include "launch/LaunchViews.h"
#include "platform/fake/MemoryRegistry.h"
#include "platform/fake/RecordingShell.h"

#include <gtest/gtest.h>

namespace {

struct FakeApplication : launch::Application {
    int minimized = 0;
    int terminated = 0;
    void minimizeApplication() override { ++minimized; }
    void terminateApplication() override { ++terminated; }
};

struct RuleCase {
    bool minimize, close;
    app::LaunchSource source;
    int minimized, terminated, runs;
};

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << "minimize " << c.minimize << " close " << c.close << " source " << static_cast<int>(c.source);
}

class StartEnterpriseTest : public ::testing::TestWithParam<RuleCase> {};

// The rule follows every launch, also an explorer launch whose registration was cancelled.
TEST_P(StartEnterpriseTest, AppliesTheAfterLaunchRule) {
    const RuleCase& c = GetParam();
    platform::MemoryRegistry registry;
    platform::RecordingShell shell;
    testsupport::FakeLaunchData data;
    testsupport::FakeSettingsView settings;
    FakeApplication application;
    data.executable = R"(C:\1cv7.exe)";
    data.rows.push_back({"Б", R"(C:\Base)", "", "", "", ""});
    data.folderRow = 0;
    settings.minimize = c.minimize;
    settings.close = c.close;
    launch::TC1C launcher(registry, shell);
    launcher.setDataModule(&data);
    launcher.setSettingsView(&settings);

    launch::StartEnterprise(launcher, c.source, settings, application);
    EXPECT_EQ(application.minimized, c.minimized);
    EXPECT_EQ(application.terminated, c.terminated);
    EXPECT_EQ(static_cast<int>(shell.programRuns().size()), c.runs);
}

INSTANTIATE_TEST_SUITE_P(Cases, StartEnterpriseTest,
                         ::testing::Values(RuleCase{true, false, app::LaunchSource::lsMainWindow, 1, 0, 1},
                                           RuleCase{false, true, app::LaunchSource::lsMainWindow, 0, 1, 1},
                                           RuleCase{false, false, app::LaunchSource::lsMainWindow, 0, 0, 1},
                                           RuleCase{true, false, app::LaunchSource::lsExplorer, 1, 0, 0},
                                           RuleCase{false, true, app::LaunchSource::lsExplorer, 0, 1, 0}));

} // namespace
