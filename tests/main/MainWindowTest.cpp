#include "main/AppearancePlan.h"
#include "main/ApplicationWindows.h"
#include "main/Main.h"
#include "main/MainCommands.h"
#include "main/MainTray.h"
#include "settings/ControlMap.h"
#include "settings/IniFile.h"
#include "settings/SettingsView.h"
#include "support/TempDir.h"
#include "widgets/ColorTable.h"
#include "widgets/ColorValue.h"
#include "widgets/ShapeButton.h"
#include "widgets/TextContrast.h"
#include "widgets/TrayIcon.h"
#include <QGroupBox>
#include <QStyleOptionComboBox>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QScreen>
#include <QStringListModel>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace mainwin;

namespace {

QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "test_main_window";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    app->setQuitOnLastWindowClosed(false);
    return *app;
}

struct FakeTrayHost : widgets::TrayHost {
    void setVisible(bool v) override { visible = v; }
    void setIcon(const QIcon&) override {}
    void setToolTip(const QString& text) override { toolTip = text; }
    void setContextMenu(QMenu* m) override { menu = m; }
    bool visible = false;
    QString toolTip;
    QMenu* menu = nullptr;
};

struct FakeSettings : settings::SettingsView {
    bool sysTray() const override { return tray; }
    bool animate() const override { return false; }
    bool clearRegistryOnDelete() const override { return false; }
    bool rememberFilter() const override { return false; }
    int shortcutMatchMode() const override { return 0; }
    bool defaultBatchFileOn() const override { return false; }
    std::string defaultBatchFile() const override { return {}; }
    bool batchFileIfAbsent() const override { return true; }
    bool batchFileIfPresent() const override { return false; }
    bool locateInExplorer() const override { return false; }
    bool minimizeAfterLaunch() const override { return false; }
    bool closeAfterLaunch() const override { return false; }
    bool minimizeOnEscape() const override { return escape; }
    bool tray = true;
    bool escape = false;
};

// Records every command; a launch records the regime and exclusive flag the launcher would read.
struct FakeCommands : MainCommands {
    void addExecutable() override { calls.push_back("addExecutable"); }
    void editExecutable() override { calls.push_back("editExecutable"); }
    void deleteExecutable() override { calls.push_back("deleteExecutable"); }
    void addInfobase() override { calls.push_back("addInfobase"); }
    void editInfobase() override {
        calls.push_back("editInfobase");
        if (!failure.empty())
            throw std::runtime_error(failure);
    }
    void deleteInfobase() override { calls.push_back("deleteInfobase"); }
    void clearClassification(int kind) override { calls.push_back("clear" + std::to_string(kind)); }
    void startEnterprise(app::LaunchSource source) override {
        calls.push_back("launch" + std::to_string(static_cast<int>(source)) + " regime" +
                        std::to_string(view->startRegime()) + (view->exclusiveChecked() ? " /m" : ""));
    }
    std::string executablePath() override { return "C:\\1Cv77\\BIN\\1cv7s.exe"; }
    std::string infobasePath() override { return folderRow >= 0 ? "C:\\Bases\\Trade\\" : ""; }
    std::string infobaseUser() override { return folderRow >= 0 ? "Operator" : ""; }
    void openInfobaseDirectory(bool explore) override { calls.push_back(explore ? "explore" : "open"); }
    int executableRow() override { return programRow; }
    void setExecutableRow(int row) override { programRow = row; }
    int infobaseRow() override { return folderRow; }
    void setInfobaseRow(int row) override { folderRow = row; }

    const launch::MainWindowView* view = nullptr;
    std::vector<std::string> calls;
    std::string failure;
    int programRow = 0;
    int folderRow = 0;
};

// The bars as the window sees them: it records what the window asks of them.
struct FakeClassification : Classification {
    explicit FakeClassification(const ClassificationHost& host) {
        nonParent = new QCheckBox(QStringLiteral(" только не отсортированные базы "), host.nonParentSlot);
        nonParent->setObjectName(QStringLiteral("cbxNonParent"));
        category = new QCheckBox(host.categorySide);
        category->setObjectName(QStringLiteral("cbxCategoryFilter"));
        division = new QCheckBox(host.divisionSide);
        division->setObjectName(QStringLiteral("cbxDivisionFilter"));
    }
    void setIdCounters() override { log.push_back("ids"); }
    void restoreFilterState(const settings::IniFile&) override { log.push_back("restore"); }
    void updateNonParentEnabling() override { log.push_back("enabling"); }
    void saveFilterState(settings::IniFile& ini) override {
        log.push_back("save");
        ini.writeInteger("Filter", "barCategory_Section", 0);
    }
    void setBarFill(bool gradient, std::uint32_t from, std::uint32_t to) override {
        fills.push_back(BarFill{gradient, from, to});
    }
    QWidget* nonParentBox() override { return nonParent; }
    QWidget* categoryFilterBox() override { return category; }
    QWidget* divisionFilterBox() override { return division; }

    std::vector<std::string> log;
    std::vector<BarFill> fills;
    QCheckBox* nonParent;
    QCheckBox* category;
    QCheckBox* division;
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : ini(dir.path() / "Tarvesk.ini") { qtApp(); }

    TfrmMain& create(bool withClassification = true) {
        MainContext context;
        context.mainIni = &ini;
        context.commands = &commands;
        context.reportError = [this](const std::string& m) { errors.push_back(m); };
        auto host = std::make_unique<FakeTrayHost>();
        tray = host.get();
        context.trayHost = std::move(host);
        context.trayAvailable = [this] { return trayAvailable; };
        context.terminate = [this] { ++terminations; };
        context.openSettings = [this] { ++settingsOpened; };
        if (withClassification) {
            context.classification = [this](const ClassificationHost& h) {
                auto c = std::make_unique<FakeClassification>(h);
                bars = c.get();
                return c;
            };
        }
        window = std::make_unique<TfrmMain>(std::move(context));
        commands.view = window.get();
        window->setSettingsView(&settingsView);
        window->setControlMap(&map);
        programs.setStringList({QStringLiteral("1С 7.7")});
        folders.setStringList({QStringLiteral("Торговля"), QStringLiteral("Зарплата")});
        window->setListModels(&programs, &folders);
        return *window;
    }
    void showActive() {
        window->showAtStart();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename W = QWidget> W* control(const char* name) const {
        W* w = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QComboBox* regime() const { return control<QComboBox>("cmbStartRegime"); }
    QCheckBox* exclusive() const { return control<QCheckBox>("cbxStartMode"); }
    // A key press on a control that has the focus, as the keyboard delivers it.
    void press(const char* name, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* w = control(name);
        w->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), w) << name;
        QTest::keyClick(w, static_cast<Qt::Key>(key), modifiers);
        QTest::keyClick(w, Qt::Key_Shift, Qt::NoModifier); // leaves "nothing held" for the next test
    }
    std::string lastCall() const { return commands.calls.empty() ? "" : commands.calls.back(); }

    testsupport::TempDir dir;
    settings::IniFile ini;
    FakeCommands commands;
    FakeSettings settingsView;
    std::string map{settings::DefaultControlMap};
    QStringListModel programs;
    QStringListModel folders;
    FakeTrayHost* tray = nullptr;
    FakeClassification* bars = nullptr;
    bool trayAvailable = true;
    int terminations = 0;
    int settingsOpened = 0;
    std::vector<std::string> errors;
    std::unique_ptr<TfrmMain> window;
};

} // namespace

TEST_F(MainWindowTest, FirstStartWithoutSettingsFile) {
    create();
    EXPECT_EQ(window->windowTitle(), "Tarvesk");
    EXPECT_EQ(window->size(), QSize(513, 424));
    EXPECT_EQ(regime()->currentIndex(), 0);
    EXPECT_EQ(regime()->currentText(), "Предприятие");
    EXPECT_FALSE(exclusive()->isChecked());
    EXPECT_TRUE(exclusive()->isEnabled());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(window->frameGeometry().center().x(), area.center().x()) << "centred";
    // The filter state is restored only when "Common"/"cbxFilter_Checked" says so.
    EXPECT_EQ(bars->log, (std::vector<std::string>{"ids", "enabling"}));
    EXPECT_EQ(control<QLabel>("dbtFolder")->text(), "C:\\Bases\\Trade\\");
    EXPECT_EQ(control<QLabel>("dbtUserName")->text(), "Operator");
}

// The closed regime box shows every regime whole, "Конфигуратор" too; the row still fits the window.
TEST_F(MainWindowTest, TheRegimeBoxShowsEveryRegimeWholeWhenClosed) {
    create();
    window->show();
    QComboBox* box = regime();
    for (int i = 0; i < box->count(); ++i) {
        box->setCurrentIndex(i);
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.currentText = box->currentText();
        option.currentIcon = box->itemIcon(i);
        option.iconSize = box->iconSize();
        const QRect field =
            box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
        const int needed = box->iconSize().width() + 4 + box->fontMetrics().horizontalAdvance(box->currentText());
        EXPECT_GE(field.width(), needed) << box->currentText().toStdString();
    }
    QWidget* start = control("btnStart");
    EXPECT_LT(box->geometry().right(), exclusive()->geometry().left());
    EXPECT_LE(exclusive()->geometry().left() + exclusive()->sizeHint().width(), start->geometry().left());
    EXPECT_LE(start->geometry().right(), window->width() - 1);
    EXPECT_GE(start->width(), 90);
}

TEST_F(MainWindowTest, StoredPlaceIsUsedAndMinusOneCentres) {
    ini.writeInteger("Main", "frmMain_Left", 40);
    ini.writeInteger("Main", "frmMain_Top", 30);
    ini.writeBool("Common", "cbxFilter_Checked", true);
    create();
    EXPECT_EQ(window->pos(), QPoint(40, 30));
    EXPECT_EQ(bars->log, (std::vector<std::string>{"ids", "restore", "enabling"}));
    window.reset();
    ini.writeInteger("Main", "frmMain_Left", -1);
    create();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(window->frameGeometry().center().x(), area.center().x());
}

TEST_F(MainWindowTest, EnterOnTheListsRunsTheDefaultMap) {
    create();
    showActive();
    struct Case {
        Qt::KeyboardModifiers modifiers;
        std::string call;
    };
    const Case cases[] = {
        {Qt::NoModifier, "editInfobase"},       {Qt::ControlModifier, "launch0 regime0"},
        {Qt::AltModifier, "launch0 regime1"},   {Qt::ControlModifier | Qt::ShiftModifier, "launch0 regime2"},
        {Qt::ShiftModifier, "launch0 regime3"}, {Qt::AltModifier | Qt::ControlModifier, "launch0 regime4"},
    };
    for (const Case& c : cases) {
        commands.calls.clear();
        press("dbgFolder", Qt::Key_Return, c.modifiers);
        EXPECT_EQ(commands.calls, std::vector<std::string>{c.call}) << c.call;
    }
    EXPECT_FALSE(exclusive()->isEnabled()) << "regime 4 disables the exclusive box";
    commands.calls.clear();
    press("dbgProgram", Qt::Key_Enter, Qt::AltModifier | Qt::ShiftModifier); // no row
    press("cmbStartRegime", Qt::Key_Return, Qt::ControlModifier);            // not a mapped control
    EXPECT_TRUE(commands.calls.empty());
    press("cbxNonParent", Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(lastCall(), "launch0 regime0");
}

TEST_F(MainWindowTest, ExclusiveBoxFollowsTheRegimeAndKeepsItsTick) {
    create();
    showActive();
    exclusive()->setChecked(true);
    EXPECT_EQ(exclusive()->palette().color(QPalette::WindowText), QColor(Qt::red));
    regime()->setCurrentIndex(1);
    EXPECT_FALSE(exclusive()->isEnabled());
    EXPECT_TRUE(exclusive()->isChecked());
    QTest::mouseClick(control("btnStart"), Qt::LeftButton);
    EXPECT_EQ(lastCall(), "launch0 regime1 /m") << "the launcher drops /m outside regime 0";
    press("dbgFolder", Qt::Key_M); // disabled: nothing changes
    EXPECT_TRUE(exclusive()->isChecked());
    regime()->setCurrentIndex(0);
    EXPECT_TRUE(exclusive()->isEnabled());
    EXPECT_TRUE(exclusive()->isChecked());
    press("dbgFolder", Qt::Key_V);
    EXPECT_FALSE(exclusive()->isChecked());
    EXPECT_NE(exclusive()->palette().color(QPalette::WindowText), QColor(Qt::red));
    QTest::sendKeyEvent(QTest::Click, control("dbgFolder"), static_cast<Qt::Key>(0x042C), QStringLiteral("ь"),
                        Qt::NoModifier); // the M key on the Russian layout
    EXPECT_TRUE(exclusive()->isChecked());
}

// M and V toggle " Монопольно " and nothing else: the lists' type-ahead (and the regime box's)
// would jump to an entry starting with that letter, and the next Enter would act on it.
TEST_F(MainWindowTest, MAndVNeverMoveTheListsOrTheRegime) {
    create();
    folders.setStringList({QStringLiteral("Альфа"), QStringLiteral("Мир"), QStringLiteral("Vector"),
                           QStringLiteral("Ьмь"), QStringLiteral("Monolith"), QStringLiteral("Зарплата")});
    programs.setStringList({QStringLiteral("1С"), QStringLiteral("Mono"), QStringLiteral("Vmw")});
    showActive();
    const struct {
        int key;
        const char* text;
    } keys[] = {{Qt::Key_M, "m"}, {Qt::Key_V, "v"}, {0x042C, "ь"}, {0x041C, "м"}, {Qt::Key_M, "M"}};
    for (const char* list : {"dbgFolder", "dbgProgram", "cmbStartRegime"}) {
        regime()->setCurrentIndex(0);
        auto* view = qobject_cast<QAbstractItemView*>(control(list));
        if (view)
            view->setCurrentIndex(view->model()->index(0, 0));
        control(list)->setFocus();
        for (const auto& k : keys) {
            const bool before = exclusive()->isChecked();
            QTest::sendKeyEvent(QTest::Click, control(list), static_cast<Qt::Key>(k.key), QString::fromUtf8(k.text),
                                Qt::NoModifier);
            EXPECT_NE(exclusive()->isChecked(), before) << list << " " << k.text;
            if (view) {
                EXPECT_EQ(view->currentIndex().row(), 0) << list << " moved on " << k.text;
            }
            EXPECT_EQ(regime()->currentIndex(), 0) << list << " " << k.text;
        }
    }
    // Other letters still find rows.
    QTest::qWait(QApplication::keyboardInputInterval() + 50);
    control("dbgFolder")->setFocus();
    QTest::sendKeyEvent(QTest::Click, control("dbgFolder"), static_cast<Qt::Key>(0x0417), QStringLiteral("з"),
                        Qt::NoModifier);
    EXPECT_EQ(qobject_cast<QAbstractItemView*>(control("dbgFolder"))->currentIndex().row(), 5);
}

// Text on the window's colour stays readable: on a navy window (colour value 0x800000) no label or
// check box keeps black or navy text; on the default colour the labels keep their own colours.
TEST_F(MainWindowTest, TextStaysReadableOnADarkWindowColour) {
    create();
    exclusive()->setChecked(true);
    EXPECT_EQ(control<QLabel>("dbtFolder")->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(control<QLabel>("dbtUserName")->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    EXPECT_EQ(exclusive()->palette().color(QPalette::WindowText), QColor(Qt::red));

    for (const std::uint32_t colour : {0x800000u, 0x000000u, 0x400040u}) {
        AppearanceChoice dark;
        dark.standardForm = false;
        dark.colorForm = true;
        dark.colorFormColor = colour;
        window->applyAppearancePlan(planAppearance(dark));
        const QColor background = window->palette().color(QPalette::Window);
        ASSERT_EQ(background, widgets::resolveColor(colour));
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!qobject_cast<QLabel*>(w) && !qobject_cast<QCheckBox*>(w) && !qobject_cast<QGroupBox*>(w))
                continue;
            if (w->autoFillBackground() && w != window->findChild<QWidget*>(QStringLiteral("pnlTool")))
                continue; // on a background of its own
            EXPECT_GE(widgets::contrastRatio(w->palette().color(QPalette::WindowText), background), 3.0)
                << w->objectName().toStdString() << " on " << std::hex << colour;
        }
    }
    exclusive()->setChecked(false);
    exclusive()->setChecked(true);
    EXPECT_GE(widgets::contrastRatio(exclusive()->palette().color(QPalette::WindowText),
                                     window->palette().color(QPalette::Window)),
              3.0);
    window->applyAppearancePlan(planAppearance(AppearanceChoice{}));
    EXPECT_EQ(control<QLabel>("dbtFolder")->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(exclusive()->palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST(TextContrast, KeepsTheOwnColourWhereItStandsOutAndLightensItOnDarkColours) {
    const QColor buttonFace(240, 240, 240), navy(0, 0, 128), white(Qt::white);
    EXPECT_DOUBLE_EQ(widgets::contrastRatio(Qt::black, white), 21.0);
    EXPECT_EQ(widgets::readableOn(buttonFace, navy), navy);
    EXPECT_EQ(widgets::readableOn(buttonFace, QColor(Qt::red)), QColor(Qt::red));
    EXPECT_EQ(widgets::readableOn(QColor(Qt::yellow), QColor(Qt::black)), QColor(Qt::black));
    EXPECT_EQ(widgets::readableOn(navy, QColor(Qt::black)), white) << "plain text turns white, not grey";
    const QColor onNavy = widgets::readableOn(navy, navy);
    EXPECT_GE(widgets::contrastRatio(onNavy, navy), 4.5);
    EXPECT_GT(onNavy.blueF(), onNavy.redF()) << "still bluish";
    EXPECT_EQ(widgets::blackOrWhiteOn(navy), white);
    EXPECT_EQ(widgets::blackOrWhiteOn(QColor(Qt::yellow)), QColor(Qt::black));
}

TEST_F(MainWindowTest, StartButtonAlwaysLaunches) {
    create();
    showActive();
    regime()->setCurrentIndex(2);
    QWidget* start = control("btnStart");
    QTest::mouseClick(start, Qt::LeftButton, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(lastCall(), "launch0 regime2") << "no row: the regime shown";
    QTest::mouseClick(start, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(lastCall(), "launch0 regime0");
    map = settings::LoadControlMap("1"); // Alt edits the infobase: Start still launches
    QTest::mouseClick(start, Qt::LeftButton, Qt::AltModifier);
    EXPECT_EQ(lastCall(), "launch0 regime0");
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_EQ(commands.calls.size(), 4u);
}

TEST_F(MainWindowTest, OtherKeysOfTheWindow) {
    create();
    showActive();
    press("dbgFolder", Qt::Key_Space);
    EXPECT_EQ(lastCall(), "editExecutable");
    press("dbgProgram", Qt::Key_Insert);
    EXPECT_EQ(lastCall(), "addExecutable");
    press("dbgFolder", Qt::Key_Insert);
    EXPECT_EQ(lastCall(), "addInfobase");
    press("dbgProgram", Qt::Key_Delete);
    EXPECT_EQ(lastCall(), "deleteExecutable");
    press("dbgFolder", Qt::Key_Delete);
    EXPECT_EQ(lastCall(), "deleteInfobase");
    const auto count = commands.calls.size();
    press("cbxStartMode", Qt::Key_Delete);
    press("cmbStartRegime", Qt::Key_Escape); // cbxMinimize is off
    EXPECT_EQ(commands.calls.size(), count);
    EXPECT_FALSE(window->isMinimized());
    settingsView.escape = true;
    settingsView.tray = false;
    press("cmbStartRegime", Qt::Key_Escape);
    EXPECT_TRUE(window->application().isMinimized());
}

TEST_F(MainWindowTest, DoubleClicksAndMenus) {
    create();
    showActive();
    auto* list = control<QListView>("dbgFolder");
    const QPoint first = list->visualRect(folders.index(0)).center();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, first);
    EXPECT_EQ(lastCall(), "editInfobase");
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier, first);
    EXPECT_EQ(lastCall(), "launch0 regime3");
    EXPECT_EQ(commands.folderRow, 0);
    auto* programList = control<QListView>("dbgProgram");
    QTest::mouseClick(programList->viewport(), Qt::LeftButton, Qt::NoModifier,
                      programList->visualRect(programs.index(0)).center());
    emit programList->doubleClicked(programs.index(0));
    EXPECT_EQ(lastCall(), "editExecutable");

    auto* menu = control<QMenu>("pmuFolder");
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts,
              (QStringList{"Открыть каталог базы", "-", "Создать ярлык в каталоге...", "Создать ярлык на рабочем столе",
                           "-", "Добавить информационную базу", "Изменить информационную базу",
                           "Удалить информационную базу", "-", "Отключить принадлежность"}));
    control<QAction>("pmiOpenExplorer")->trigger();
    EXPECT_EQ(lastCall(), "explore");
    control<QAction>("pmiClearBoth")->trigger();
    EXPECT_EQ(lastCall(), "clear3");
}

TEST_F(MainWindowTest, ErrorEscapingACommandIsReportedAndTheWindowGoesOn) {
    create();
    commands.failure = "Disk full";
    control<QAction>("actEditFolder")->trigger();
    EXPECT_EQ(errors, std::vector<std::string>{"Disk full"});
    commands.failure.clear();
    control<QAction>("actAddFolder")->trigger();
    EXPECT_EQ(lastCall(), "addInfobase");
}

TEST_F(MainWindowTest, CloseWritesMainAndFilterTerminateWritesNothing) {
    create();
    showActive();
    window->move(70, 60);
    window->tray().menu()->findChild<QAction*>("pmiTrayClose")->trigger();
    EXPECT_EQ(terminations, 1);
    EXPECT_FALSE(std::filesystem::exists(ini.path())) << "the tray's Закрыть skips the close query";

    QTest::mouseClick(control("btnCloseApp"), Qt::LeftButton);
    EXPECT_EQ(terminations, 2);
    EXPECT_EQ(ini.readInteger("Main", "frmMain_Left", -1), window->x());
    EXPECT_EQ(ini.readInteger("Main", "frmMain_Top", -1), window->y());
    EXPECT_EQ(bars->log.back(), "save");
}

TEST_F(MainWindowTest, TrayMenuAndMinimiseToTheTray) {
    create();
    showActive();
    window->applyAppearancePlan(planAppearance(AppearanceChoice{}));
    EXPECT_TRUE(tray->visible);
    EXPECT_EQ(tray->toolTip, "Tarvesk");
    ASSERT_EQ(tray->menu, window->tray().menu()) << "the right button opens pmuTray";
    QStringList texts;
    for (QAction* a : tray->menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, (QStringList{"Настройки...", "Восстановить", "Свернуть", "-", "Закрыть"}));
    EXPECT_EQ(tray->menu->defaultAction()->text(), "Настройки...");
    EXPECT_TRUE(tray->menu->defaultAction()->font().bold());

    window->showMinimized(); // the window's own minimise button
    QApplication::processEvents();
    EXPECT_TRUE(window->application().isHiddenFromTaskbar());
    EXPECT_FALSE(window->isVisible());
    widgets::TrayIcon& icon = window->tray().icon();
    icon.handleClick();
    EXPECT_FALSE(window->isVisible()) << "a single click waits for the double-click time";
    icon.finishClick();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->application().isMinimized());

    tray->menu->findChild<QAction*>("pmiTrayMinimize")->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
    icon.handleClick();
    icon.handleClick(); // a double click opens the settings and does not restore
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_FALSE(window->isVisible());
    tray->menu->findChild<QAction*>("pmiTrayRestore")->trigger();
    EXPECT_TRUE(window->isVisible());
}

// Minimising, hiding and restoring take the program's own windows along and nothing else: the
// toolkit's tray icon is a top-level window of the process too, and hidden it could not be clicked.
TEST_F(MainWindowTest, MinimisingTouchesOnlyTheProgramsOwnWindows) {
    create();
    showActive();
    QWidget explorer, registry, trayIconWindow;
    window->setExplorerWindow(&explorer);
    window->setRegistryWindow(&registry);
    for (QWidget* w : {&explorer, &registry, &trayIconWindow})
        w->show();
    window->application().minimizeApplication();
    QApplication::processEvents();
    ASSERT_TRUE(window->application().isHiddenFromTaskbar());
    EXPECT_FALSE(explorer.isVisible());
    EXPECT_FALSE(registry.isVisible());
    EXPECT_TRUE(trayIconWindow.isVisible());
    EXPECT_FALSE(trayIconWindow.isMinimized());
    window->RestoreApplication();
    EXPECT_TRUE(explorer.isVisible());
    EXPECT_TRUE(registry.isVisible());
    EXPECT_TRUE(trayIconWindow.isVisible());
    window->setExplorerWindow(nullptr);
    window->setRegistryWindow(nullptr);
}

TEST_F(MainWindowTest, WithoutTraySettingOrNotificationAreaTheProgramStaysOnTheTaskbar) {
    create();
    showActive();
    settingsView.tray = false;
    window->application().minimizeApplication();
    QApplication::processEvents();
    EXPECT_TRUE(window->isMinimized());
    EXPECT_FALSE(window->application().isHiddenFromTaskbar());
    window->RestoreApplication();
    EXPECT_FALSE(window->isMinimized());

    settingsView.tray = true;
    trayAvailable = false; // no notification area at this moment
    window->application().minimizeApplication();
    QApplication::processEvents();
    EXPECT_TRUE(window->isMinimized());
    EXPECT_FALSE(window->application().isHiddenFromTaskbar());
}

TEST_F(MainWindowTest, TurningTheIconOffRestoresButNeverBeforeStartUpShows) {
    create();
    AppearanceChoice off;
    off.sysTray = false;
    window->applyAppearancePlan(planAppearance(off));
    EXPECT_FALSE(window->isVisible()) << "start-up shows the window, not the appearance step";
    showActive();
    window->applyAppearancePlan(planAppearance(AppearanceChoice{}));
    window->application().minimizeApplication();
    QApplication::processEvents();
    ASSERT_TRUE(window->application().isHiddenFromTaskbar());
    window->applyAppearancePlan(planAppearance(off));
    EXPECT_FALSE(tray->visible);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->application().isMinimized());
}

TEST_F(MainWindowTest, ActivationRestoresOnlyWhenMinimised) {
    create();
    window->ActivationMessage(); // still starting: nothing shows
    EXPECT_FALSE(window->isVisible());
    showActive();
    window->application().minimizeApplication();
    QApplication::processEvents();
    ASSERT_FALSE(window->isVisible());
    window->ActivationMessage();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(MainWindowTest, AppearanceColoursTheButtonsBarsAndBackground) {
    create();
    for (int i = 0; i < kMainButtonCount; ++i) // the design scheme before the first step
        EXPECT_EQ(window->shapeButton(i)->normalColor(), colorButtonScheme()[static_cast<std::size_t>(i)].normal);
    AppearanceChoice choice;
    choice.standardButtons = false;
    choice.colorButtons = true;
    choice.standardBars = false;
    choice.gradientBars = true;
    choice.fromColor = 0x00FF0000;
    choice.toColor = 0x000000FF;
    window->applyAppearancePlan(planAppearance(choice));
    const ButtonScheme& scheme = colorButtonScheme();
    for (int i = 0; i < kMainButtonCount; ++i) {
        const widgets::ShapeButton* b = window->shapeButton(i);
        EXPECT_EQ((ButtonColors{b->pressedColor(), b->hoverColor(), b->normalColor()}),
                  scheme[static_cast<std::size_t>(i)])
            << i;
    }
    EXPECT_EQ(bars->fills.back(), (BarFill{true, 0x00FF0000, 0x000000FF}));

    window->applyAppearancePlan(planAppearance(AppearanceChoice{}));
    for (int i = 0; i < kMainButtonCount; ++i)
        EXPECT_EQ(window->shapeButton(i)->hoverColor(), widgets::kColorBtnFace);
    EXPECT_EQ(window->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));

    AppearanceChoice none; // no bar radio ticked: the bars are left alone
    none.standardBars = false;
    const auto fills = bars->fills.size();
    window->applyAppearancePlan(planAppearance(none));
    EXPECT_EQ(bars->fills.size(), fills);
}

TEST_F(MainWindowTest, FocusOrderAndNames) {
    create();
    showActive();
    const char* order[] = {"cmbStartRegime", "cbxStartMode",      "dbgProgram",       "cbxNonParent",
                           "dbgFolder",      "cbxCategoryFilter", "cbxDivisionFilter"};
    EXPECT_EQ(QApplication::focusWidget(), control(order[0]));
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), control(order[i])) << order[i];
    }
    for (const char* name : {"btnSetup", "btnReestr", "btnAbout", "btnExplorer", "btnCloseApp", "gbxProgram",
                             "gbxFolder", "dbtProgram", "lblRegime", "pmuProgram", "actCloseApp"})
        EXPECT_NE(window->findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
}
