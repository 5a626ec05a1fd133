// The whole program in one process: real tables in a temporary program directory, a temporary
// Wine prefix, and a fake "wine" on PATH that logs the argv it is given. The windows are the real
// ones, driven by their object names; modal dialogs are finished from a timer.
#include "app/entry/Program.h"
#include "app/Common.h"
#include "app/entry/TarveskApplication.h"
#include "explorer/Explorer.h"
#include "main/Main.h"
#include "main/MainTray.h"
#include "platform/posix/WinePrefix.h"
#include "platform/posix/WineRegistry.h"
#include "registry/UnaccountedList.h"
#include "shell/ShellLinkFile.h"
#include "support/FakeWine.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDropEvent>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

app::TarveskApplication& qtApp() {
    static int argc = 1;
    static char name[] = "test_app_program";
    static char* argv[] = {name, nullptr};
    static auto* application = new app::TarveskApplication(argc, argv);
    return *application;
}

// Runs step on the next modal dialog once it shows (it is started right after this call).
void whenModal(std::function<void(QDialog&)> step) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        step(*dialog);
    });
    timer->start();
}

void setEdit(QDialog& dialog, const char* name, const QString& text) {
    auto* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    ASSERT_NE(edit, nullptr) << name;
    edit->setText(text);
}

void pressOk(QDialog& dialog) {
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("btnOk"));
    ASSERT_NE(ok, nullptr);
    ok->click();
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        qtApp().setErrorReport([this](const std::string& message) { m_errors.push_back(message); });
        m_programDir = m_root.path() / "prog";
        m_prefix = m_root.path() / "prefix";
        m_desktop = m_prefix / "drive_c" / "users" / platform::WinePrefix::userName() / "Desktop";
        fs::create_directories(m_programDir);
        fs::create_directories(m_desktop);
        fs::create_directories(m_prefix / "dosdevices");
        fs::create_directories(m_root.path() / "home");
        fs::create_directories(m_root.path() / "bin");
        fs::create_symlink("../drive_c", m_prefix / "dosdevices" / "c:");
        fs::create_symlink("/", m_prefix / "dosdevices" / "z:");
        // 1C:Enterprise's list of infobases exists; the program never creates it.
        testsupport::writeFile(m_prefix / "user.reg", "WINE REGISTRY Version 2\n\n#arch=win32\n\n"
                                                      "[Software\\\\1C\\\\1Cv7\\\\7.7\\\\Titles] 1700000000\n");
        m_wineLog = m_root.path() / "wine.log";
        testsupport::writeFakeWine(m_root.path() / "bin" / "wine", m_wineLog);

        const char* path = std::getenv("PATH");
        m_oldPath = path ? path : "";
        setenv("PATH", ((m_root.path() / "bin").string() + ":" + m_oldPath).c_str(), 1);
        setenv("WINEPREFIX", m_prefix.c_str(), 1);
        setenv("HOME", (m_root.path() / "home").c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        prepare();

        m_program = std::make_unique<app::Program>(qtApp(), m_programDir / "tarvesk", testsupport::bridgeDirectory());
        m_program->create();
        m_program->show();
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String("frmMain"))
                m_main = widget;
        ASSERT_NE(m_main, nullptr);
    }

    // What a fixture puts in place before the program starts.
    virtual void prepare() {}

    void TearDown() override {
        m_program.reset();
        setenv("PATH", m_oldPath.c_str(), 1);
        unsetenv("WINEPREFIX");
        endApplicationLoop();
        // The process-wide ids start at 0 in a program of its own.
        app::NewBaseCounter = app::CurrentCategoryId = app::CurrentDivisionId = 0;
        app::CategorySection = app::CategoryItem = app::DivisionSection = app::DivisionItem = 0;
        app::NextCategoryId = app::NextDivisionId = 0;
    }

    // A program that ended itself ("Закрыть", the close query) asked the application to quit. In
    // this process nobody ran the application's loop to take that request, so every later event
    // loop (the next test's modal dialogs) would return at once. One run of that loop takes it, as
    // the real program's end does.
    static void endApplicationLoop() {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
    }

    template <typename W = QWidget> W* control(const char* name) {
        W* widget = m_main->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void trigger(const char* action) { control<QAction>(action)->trigger(); }

    // Registers an executable and an infobase through their dialogs, as a new user does.
    void registerBoth() {
        whenModal([](QDialog& dialog) {
            setEdit(dialog, "edtPath", QStringLiteral("C:\\1Cv77\\BIN\\1cv7.exe"));
            pressOk(dialog);
        });
        trigger("actAddProgram");
        whenModal([](QDialog& dialog) {
            setEdit(dialog, "edtName", QStringLiteral("Торговля"));
            setEdit(dialog, "edtPath", QStringLiteral("C:\\Bases\\Trade\\"));
            setEdit(dialog, "edtUserName", QStringLiteral("Кассир"));
            setEdit(dialog, "edtPassword", QStringLiteral("123"));
            setEdit(dialog, "edtPrmFile", QStringLiteral("C:\\Bases\\load.prm"));
            pressOk(dialog);
        });
        trigger("actAddFolder");
    }

    QStringList listTexts(const char* name) {
        QStringList texts;
        auto* view = control<QListView>(name);
        for (int row = 0; view && view->model() && row < view->model()->rowCount(); ++row)
            texts << view->model()->index(row, 0).data().toString();
        return texts;
    }

    // The command lines Wine's helper was given once count launches reached the fake wine.
    std::vector<std::string> waitForLaunches(std::size_t count) {
        for (int i = 0; i < 3000 && lines(readAll(m_wineLog)).size() < count; ++i)
            QTest::qWait(10);
        std::vector<std::string> commandLines;
        for (const auto& start : lines(readAll(m_wineLog))) {
            // [helper]{run}{program}{command line}{as shown} ...
            const auto open = start.find("}{", start.find("}{") + 2) + 1;
            commandLines.push_back(start.substr(open + 1, start.find('}', open) - open - 1));
        }
        return commandLines;
    }

    std::optional<std::string> title(const std::string& directory) {
        platform::WineRegistry registry(m_prefix.string());
        auto key = registry.openKey(platform::RegistryRoot::CurrentUser, std::string(app::TitlesKeyPath));
        return key ? key->readString(directory) : std::nullopt;
    }

    testsupport::TempDir m_root;
    fs::path m_programDir, m_prefix, m_desktop, m_wineLog;
    std::string m_oldPath;
    std::vector<std::string> m_errors;
    std::unique_ptr<app::Program> m_program;
    QWidget* m_main = nullptr;
};

TEST_F(ProgramTest, RegisteredInfobaseStartsInEveryRegimeWithItsArgumentString) {
    registerBoth();
    EXPECT_EQ(listTexts("dbgProgram"), QStringList{QStringLiteral("1C:Предприятие 7.7")});
    EXPECT_EQ(listTexts("dbgFolder"), QStringList{QStringLiteral("Торговля")});

    auto* regime = control<QComboBox>("cmbStartRegime");
    auto* exclusive = control<QCheckBox>("cbxStartMode");
    auto* start = control<QWidget>("btnStart");
    exclusive->setChecked(true);
    for (int index = 0; index < 5; ++index) {
        regime->setCurrentIndex(index);
        QTest::mouseClick(start, Qt::LeftButton);
    }
    const std::string exe = R"("C:\1Cv77\BIN\1cv7.exe" )";
    const std::string rest = R"( /dC:\Bases\Trade\ /nКассир /p123)";
    const std::vector<std::string> expected = {
        exe + R"(enterprise /dC:\Bases\Trade\ /m /nКассир /p123)",
        exe + "config" + rest,
        exe + "debug" + rest,
        exe + "monitor" + rest,
        exe + "config" + rest + R"( /@C:\Bases\load.prm)",
    };
    // The starts are detached: their lines may arrive in any order.
    std::vector<std::string> launches = waitForLaunches(5);
    std::sort(launches.begin(), launches.end());
    std::vector<std::string> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(launches, sorted);
    // The first launch entered the infobase in 1C:Enterprise's own list.
    EXPECT_EQ(title("C:\\Bases\\Trade\\"), "Торговля");
    EXPECT_TRUE(m_errors.empty()) << m_errors.front();
}

TEST_F(ProgramTest, DroppedShortcutBecomesAnInfobaseRow) {
    shell::TShellLinkInfo info;
    info.TargetPath = "C:\\1Cv77\\BIN\\1cv7.exe";
    info.Arguments = "ENTERPRISE /dD:\\Bases\\Sklad\\ /nКладовщик /p42";
    const fs::path file = m_root.path() / "Склад.lnk";
    testsupport::writeFile(file, shell::ShellLinkFile::encode(info));

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
    // A drop reaches the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_main, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_main, &drop);

    EXPECT_EQ(listTexts("dbgFolder"), QStringList{QStringLiteral("Склад")});
    EXPECT_EQ(title("D:\\Bases\\Sklad\\"), "Склад");
    EXPECT_TRUE(m_errors.empty()) << m_errors.front();
}

TEST_F(ProgramTest, DesktopShortcutOfTheCurrentUserStartsTheInfobaseWithoutPassword) {
    registerBoth();
    trigger("pmiCurrentDesktop");
    const std::string bytes = readAll(m_desktop / "Торговля.lnk");
    ASSERT_FALSE(bytes.empty());
    const shell::TShellLinkInfo info = shell::ShellLinkFile::decode(bytes);
    EXPECT_EQ(info.TargetPath, "C:\\1Cv77\\BIN\\1cv7.exe");
    EXPECT_EQ(info.Arguments, "enterprise /dC:\\Bases\\Trade\\ /nКассир");
    EXPECT_TRUE(m_errors.empty()) << m_errors.front();
}

// The explorer starts 1C:Enterprise on an unregistered directory only after the infobase dialog,
// which opens on that directory.
TEST_F(ProgramTest, ExplorerLaunchOnANewDirectoryPassesTheInfobaseDialogFirst) {
    registerBoth();
    fs::create_directories(m_prefix / "drive_c" / "Bases" / "New");
    explorer::TfrmExplorer* window = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<explorer::TfrmExplorer*>(widget))
            window = found;
    ASSERT_NE(window, nullptr);
    window->show();
    window->ShowFolder((m_prefix / "drive_c" / "Bases" / "New").string());
    window->findChild<QWidget*>(QStringLiteral("tvFolder"))->setFocus();
    ASSERT_EQ(window->SelectedDirectory(), "C:\\Bases\\New\\");

    QString offered;
    whenModal([&offered](QDialog& dialog) {
        offered = dialog.findChild<QLineEdit*>(QStringLiteral("edtPath"))->text();
        setEdit(dialog, "edtName", QStringLiteral("Новая"));
        pressOk(dialog);
    });
    QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("btnStart")), Qt::LeftButton);
    EXPECT_EQ(offered, QStringLiteral("C:\\Bases\\New\\"));
    EXPECT_EQ(waitForLaunches(1), std::vector<std::string>{R"("C:\1Cv77\BIN\1cv7.exe" enterprise /dC:\Bases\New\)"});
    EXPECT_TRUE(listTexts("dbgFolder").contains(QStringLiteral("Новая")));
    EXPECT_TRUE(m_errors.empty()) << m_errors.front();
}

// The toolkit's buttons speak Russian too: the deletion question offers "Да" and "Нет"; "Нет"
// keeps the row.
TEST_F(ProgramTest, QuestionsAnswerWithRussianButtons) {
    if (!fs::exists(fs::path(QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString()) / "qtbase_ru.qm"))
        GTEST_SKIP() << "Qt's translations (qt6-translations-l10n) are not installed";
    registerBoth();
    QStringList buttons;
    whenModal([&buttons](QDialog& dialog) {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        ASSERT_NE(box, nullptr);
        buttons << box->button(QMessageBox::Yes)->text().remove(QLatin1Char('&'))
                << box->button(QMessageBox::No)->text().remove(QLatin1Char('&'));
        box->button(QMessageBox::No)->click();
    });
    trigger("actDeleteProgram");
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}));
    EXPECT_EQ(listTexts("dbgProgram"), QStringList{QStringLiteral("1C:Предприятие 7.7")});
}

// Only a drag that the registry window's unaccounted list started is taken by the infobase list;
// the same data from elsewhere (here: no source at all) is refused.
TEST_F(ProgramTest, InfobaseListRefusesDragsFromOutsideTheUnaccountedList) {
    auto* list = control<QListView>("dbgFolder");
    QMimeData data;
    data.setData(registry::UnaccountedList::dragMimeType(), "C:\\1C\\");
    QDragEnterEvent event(QPoint(10, 10), Qt::CopyAction | Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list, &event);
    EXPECT_FALSE(event.isAccepted());
}

// Ending through the tray's "Закрыть" skips the close query: no "Main" in the settings file, but
// the bars still write their files as the windows go.
TEST_F(ProgramTest, TerminationWritesTheBarFilesButNotTheWindowPlace) {
    auto* main = qobject_cast<mainwin::TfrmMain*>(m_main);
    ASSERT_NE(main, nullptr);
    main->tray().menu()->findChild<QAction*>(QStringLiteral("pmiTrayClose"))->trigger();
    m_program.reset();
    EXPECT_TRUE(fs::exists(m_programDir / "category.cfg"));
    EXPECT_TRUE(fs::exists(m_programDir / "division.cfg"));
    EXPECT_EQ(readAll(m_programDir / "Tarvesk.ini").find("[Main]"), std::string::npos);
}

TEST_F(ProgramTest, CloseThroughTheWindowWritesItsPlace) {
    QTest::mouseClick(control<QWidget>("btnCloseApp"), Qt::LeftButton);
    m_program.reset();
    EXPECT_NE(readAll(m_programDir / "Tarvesk.ini").find("[Main]"), std::string::npos);
    EXPECT_TRUE(fs::exists(m_programDir / "category.cfg"));
}

// The program started on a damaged infobase table: the error is reported, the windows come up and
// no command, bar, key, drop or other window of the running program brings it down.
class DamagedTablesTest : public ProgramTest {
protected:
    void prepare() override { testsupport::writeFile(m_programDir / "folder.dbf", "not a table at all"); }
};

// Dismisses every modal dialog as soon as it shows, for as long as the object lives.
class DismissModals {
public:
    DismissModals() {
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        m_timer.start(10);
    }

private:
    QTimer m_timer;
};

TEST_F(DamagedTablesTest, EveryCommandOfTheRunningProgramSurvives) {
    EXPECT_FALSE(m_errors.empty()) << "the failed start of the tables is reported";
    DismissModals dismiss;
    for (const char* action :
         {"actAddProgram", "actEditProgram", "actDeleteProgram", "actAddFolder", "actEditFolder", "actDeleteFolder",
          "pmiOpenWindow", "pmiOpenExplorer", "pmiFolderShortCut", "pmiCommonDesktop", "pmiCurrentDesktop",
          "pmiClearCategory", "pmiClearDivision", "pmiClearBoth"})
        trigger(action);
    for (const char* list : {"dbgProgram", "dbgFolder"}) {
        auto* view = control<QListView>(list);
        view->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Space})
            QTest::keyClick(view, key);
    }
    for (int index = 0; index < 5; ++index) {
        control<QComboBox>("cmbStartRegime")->setCurrentIndex(index);
        QTest::mouseClick(control<QWidget>("btnStart"), Qt::LeftButton);
    }
    for (const char* checkBox : {"cbxNonParent", "cbxCategoryFilter", "cbxDivisionFilter"})
        if (auto* box = m_main->findChild<QCheckBox*>(QString::fromLatin1(checkBox)))
            box->click();
    // The bars' own menus.
    for (const char* menu : {"pmuCategory", "pmuDivision"})
        for (QAction* action : control<QMenu>(menu)->actions())
            action->trigger();

    // A dropped shortcut, the explorer's start and the registry window.
    shell::TShellLinkInfo info;
    info.TargetPath = "C:\\1Cv77\\BIN\\1cv7.exe";
    info.Arguments = "ENTERPRISE /dD:\\Bases\\Sklad\\";
    const fs::path file = m_root.path() / "Склад.lnk";
    testsupport::writeFile(file, shell::ShellLinkFile::encode(info));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
    QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_main, &drop);

    QTest::mouseClick(control<QWidget>("btnExplorer"), Qt::LeftButton);
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<explorer::TfrmExplorer*>(widget)) {
            fs::create_directories(m_prefix / "drive_c" / "Bases" / "New");
            window->ShowFolder((m_prefix / "drive_c" / "Bases" / "New").string());
            QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("btnStart")), Qt::LeftButton);
            window->hide();
        }
    QTest::mouseClick(control<QWidget>("btnReestr"), Qt::LeftButton);
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("frmReestr") && widget->isVisible()) {
            for (QAbstractButton* button : widget->findChildren<QAbstractButton*>())
                if (button->isEnabled() && button->isVisible())
                    button->click();
            widget->hide();
        }
    QTest::mouseClick(control<QWidget>("btnCloseApp"), Qt::LeftButton);
    m_program.reset();
    EXPECT_EQ(readAll(m_programDir / "folder.dbf"), "not a table at all") << "the damaged table is left as found";
}

// Hostile surroundings of an ordinary session: the program starts, registers an infobase, starts
// it, makes a shortcut, opens its other windows and ends, without coming down.
struct Condition {
    const char* name;
    bool reportsErrors;
    std::function<void(const fs::path& programDir, const fs::path& prefix)> apply;
};

// Named by its name alone, so the test names stay the same from one run to the next.
void PrintTo(const Condition& condition, std::ostream* out) {
    *out << condition.name;
}

class HostileConditionsTest : public ProgramTest, public ::testing::WithParamInterface<Condition> {
protected:
    void prepare() override { GetParam().apply(m_programDir, m_prefix); }
};

TEST_P(HostileConditionsTest, AnOrdinarySessionSurvives) {
    const bool readOnly = std::string(GetParam().name) == "ReadOnlyProgramDirectory";
    if (readOnly && geteuid() == 0)
        GTEST_SKIP() << "permissions do not hold the superuser back";
    registerBoth();
    if (!readOnly) {
        ASSERT_EQ(listTexts("dbgFolder"), QStringList{QStringLiteral("Торговля")});
    }
    DismissModals dismiss;
    QTest::mouseClick(control<QWidget>("btnStart"), Qt::LeftButton);
    trigger("pmiCurrentDesktop");
    QTest::mouseClick(control<QWidget>("btnSetup"), Qt::LeftButton);
    QTest::mouseClick(control<QWidget>("btnReestr"), Qt::LeftButton);
    QTest::mouseClick(control<QWidget>("btnExplorer"), Qt::LeftButton);
    QTest::mouseClick(control<QWidget>("btnCloseApp"), Qt::LeftButton);
    m_program.reset();
    if (readOnly)
        fs::permissions(m_programDir, fs::perms::owner_all);
    // A failure is reported, never passed over as success; where nothing fails nothing is reported.
    EXPECT_EQ(!m_errors.empty(), GetParam().reportsErrors) << (m_errors.empty() ? "" : m_errors.front());
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, HostileConditionsTest,
    ::testing::Values(
        Condition{"NoWinePrefix", true, [](const fs::path&, const fs::path& prefix) { fs::remove_all(prefix); }},
        Condition{"PrefixWithoutTitles", false,
                  [](const fs::path&, const fs::path& prefix) {
                      testsupport::writeFile(prefix / "user.reg", "WINE REGISTRY Version 2\n\n#arch=win32\n");
                  }},
        Condition{"HomeUnset", false, [](const fs::path&, const fs::path&) { unsetenv("HOME"); }},
        Condition{"GarbageSettings", false,
                  [](const fs::path& programDir, const fs::path&) {
                      testsupport::writeFile(programDir / "Tarvesk.ini",
                                             "[Main]\nfrmMain_Left=abc\nfrmMain_Top=99999999999999\n"
                                             "[Common]\ncbxSysTray_Checked=-7\ncmbShortCut_ItemIndex=42\n"
                                             "cbxFilter_Checked=1\n[Filter]\nbarCategory_Section=-3\n"
                                             "barCategory_Item=2147483647\nbarDivision_Section=77\n"
                                             "[Control]\nstrControl=zz\x01\n[Color]\n"
                                             "cbnButtonColor_ActiveColor=clNothing\ncbnFrom_ActiveColor=-1\n"
                                             "rbnGradient_Checked=1\nrbnColorForm_Checked=1\n"
                                             "cbnColorForm_ActiveColor=0xZZ\n[Start]\nedtPrmFile_Text=\xff\xfe\n");
                      testsupport::writeFile(programDir / "category.cfg", "\x01\x02garbage\n[[[\n=\n");
                      testsupport::writeFile(programDir / "division.cfg", std::string(5000, '\xff'));
                  }},
        Condition{"ReadOnlyProgramDirectory", true,
                  [](const fs::path& programDir, const fs::path&) {
                      fs::permissions(programDir, fs::perms::owner_read | fs::perms::owner_exec);
                  }}),
    [](const ::testing::TestParamInfo<Condition>& param) { return std::string(param.param.name); });

} // namespace
