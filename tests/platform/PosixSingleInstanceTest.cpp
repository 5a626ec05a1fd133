#include "platform/qt/PosixSingleInstance.h"
#include "platform/qt/QtKeyboardState.h"

#include "support/TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int generousMs = 30000; // long enough for a slow machine; only a hang reaches it

class QtPlatformTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_platform_qt";
            static char* argv[] = {name, nullptr};
            new QGuiApplication(argc, argv);
        }
    }
};

class SingleInstanceProcesses : public QtPlatformTest {
protected:
    // Starts the helper with the test's runtime directory and waits for its first line.
    std::unique_ptr<QProcess> startHelper() {
        auto process = std::make_unique<QProcess>();
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(m_dir.path().string()));
        process->setProcessEnvironment(env);
        process->start(TARVESK_SINGLE_INSTANCE_HELPER, {});
        EXPECT_TRUE(process->waitForStarted(generousMs));
        return process;
    }
    static std::string firstLine(QProcess& process) {
        QElapsedTimer timer;
        timer.start();
        while (!process.canReadLine() && timer.elapsed() < generousMs)
            if (!process.waitForReadyRead(1000) && process.state() == QProcess::NotRunning)
                break;
        return process.readLine().trimmed().toStdString();
    }

    testsupport::TempDir m_dir;
};

} // namespace

TEST_F(SingleInstanceProcesses, SecondStartActivatesTheFirstAndEnds) {
    auto first = startHelper();
    ASSERT_EQ(firstLine(*first), "first");
    auto second = startHelper();
    ASSERT_TRUE(second->waitForFinished(generousMs));
    EXPECT_EQ(second->exitCode(), 1);
    EXPECT_EQ(second->readAll().trimmed().toStdString(), "second");
    ASSERT_TRUE(first->waitForFinished(generousMs));
    EXPECT_EQ(first->readAll().trimmed().toStdString(), "activated");
    EXPECT_EQ(first->exitCode(), 0);
}

TEST_F(SingleInstanceProcesses, ACrashedInstanceDoesNotBlockTheNextStart) {
    auto crashed = startHelper();
    ASSERT_EQ(firstLine(*crashed), "first");
    crashed->kill(); // SIGKILL: no clean-up, the socket file stays behind
    ASSERT_TRUE(crashed->waitForFinished(generousMs));
    EXPECT_TRUE(fs::exists(m_dir.path() / "TarveskMutex.socket"));

    auto next = startHelper();
    ASSERT_EQ(firstLine(*next), "first");
    auto second = startHelper();
    ASSERT_TRUE(second->waitForFinished(generousMs));
    EXPECT_EQ(second->exitCode(), 1);
    ASSERT_TRUE(next->waitForFinished(generousMs));
    EXPECT_EQ(next->readAll().trimmed().toStdString(), "activated");
}

TEST_F(QtPlatformTest, ActivationReachesTheHandlerInTheFirstInstance) {
    testsupport::TempDir dir;
    platform::PosixSingleInstance first(dir.path().string());
    int calls = 0;
    first.setActivationHandler([&calls] { ++calls; });
    ASSERT_TRUE(first.acquire());
    EXPECT_TRUE(first.acquire()); // asking again keeps the marker
    platform::PosixSingleInstance second(dir.path().string());
    ASSERT_FALSE(second.acquire());
    second.notifyFirst();
    QElapsedTimer timer;
    timer.start();
    while (calls == 0 && timer.elapsed() < generousMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(calls, 1);
}

TEST_F(QtPlatformTest, AMarkerThatCannotBeTakenDoesNotStopTheProgram) {
    testsupport::TempDir dir;
    platform::PosixSingleInstance instance((dir.path() / "missing").string());
    EXPECT_TRUE(instance.acquire());
    instance.notifyFirst(); // nobody listens: nothing happens
}

TEST(PosixSingleInstanceDirectory, OnlyAPrivateDirectoryIsUsed) {
    testsupport::TempDir tmp;
    const std::string own = (tmp.path() / ("tarvesk-" + std::to_string(getuid()))).string();
    EXPECT_EQ(platform::PosixSingleInstance::runtimeDirectory(tmp.path().c_str(), "/nonexistent"), tmp.path().string());

    EXPECT_EQ(platform::PosixSingleInstance::runtimeDirectory(nullptr, tmp.path().string()), own);
    struct stat st {};
    ASSERT_EQ(stat(own.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_EQ(platform::PosixSingleInstance::runtimeDirectory("relative", tmp.path().string()), own);

    chmod(own.c_str(), 0755);
    EXPECT_EQ(platform::PosixSingleInstance::runtimeDirectory(nullptr, tmp.path().string()), "");
    chmod(own.c_str(), 0700);
    if (getuid() == 0) {
        ASSERT_EQ(chown(own.c_str(), 65534, 65534), 0);
        EXPECT_EQ(platform::PosixSingleInstance::runtimeDirectory(nullptr, tmp.path().string()), "");
    }
    fs::remove_all(own);
    fs::create_symlink(tmp.path(), own);
    EXPECT_EQ(platform::PosixSingleInstance::runtimeDirectory(nullptr, tmp.path().string()), "");
}

TEST_F(QtPlatformTest, KeyboardStatePrefersTheEventsModifiers) {
    platform::QtKeyboardState keys;
    using platform::ModifierKey;
    keys.setEventModifiers(Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(keys.isDown(ModifierKey::Shift));
    EXPECT_TRUE(keys.isDown(ModifierKey::Ctrl));
    EXPECT_FALSE(keys.isDown(ModifierKey::Alt));
    keys.setEventModifiers(Qt::AltModifier);
    EXPECT_TRUE(keys.isDown(ModifierKey::Alt));
    EXPECT_FALSE(keys.isDown(ModifierKey::Shift));
    keys.clearEventModifiers();
    const auto live = QGuiApplication::keyboardModifiers();
    EXPECT_EQ(keys.isDown(ModifierKey::Shift), live.testFlag(Qt::ShiftModifier));
    EXPECT_EQ(keys.isDown(ModifierKey::Ctrl), live.testFlag(Qt::ControlModifier));
}
