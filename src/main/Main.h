#pragma once
#include "app/LaunchSource.h"
#include "launch/LaunchViews.h"
#include "main/Classification.h"
#include "main/FolderListView.h"
#include "main/MainActions.h"
#include "platform/qt/QtKeyboardState.h"
#include "settings/AppearanceTarget.h"
#include "widgets/TrayHost.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

class QAbstractItemModel;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListView;
class QMenu;
class QToolButton;

namespace settings {
class IniFile;
class SettingsView;
class TfrmSetup;
} // namespace settings

namespace widgets {
class ShapeButton;
} // namespace widgets

namespace mainwin {

class ApplicationWindows;
class MainCommands;
class MainTray;
struct AppearancePlan;

// What the main window is built with. Every hook may stay empty (its command then does nothing).
struct MainContext {
    settings::IniFile* mainIni = nullptr; // MainIni: "Main", "Filter", "Common"/"cbxFilter_Checked"
    MainCommands* commands = nullptr;
    // The application's general error report, for errors that escape a command.
    std::function<void(const std::string&)> reportError;
    // The notification area; null: the desktop's own.
    std::unique_ptr<widgets::TrayHost> trayHost;
    // Whether the desktop has a notification area right now; empty: ask Qt.
    std::function<bool()> trayAvailable;
    // Ends the program at once, without the close query; empty: leave the event loop.
    std::function<void()> terminate;
    // Builds the category and division bars into the window's places (called once, while the
    // window is created).
    std::function<std::unique_ptr<Classification>(const ClassificationHost&)> classification;
    // Files dropped on the window from the shell (host paths).
    std::function<void(const QStringList&)> filesDropped;
    // Drops on the infobase list: which are accepted, and what a drop does.
    FolderListView::DropFilter registryDropFilter;
    FolderListView::DropHandler registryDrop;
    // Opens the settings window modally; empty: the window given by setSettingsWindow.
    std::function<void()> openSettings;
    // Shortcut commands of the infobase menu: "Создать ярлык в каталоге..." and the desktop items,
    // given their Tag (the SpecialFolders row: 4 all users, 11 the current user).
    std::function<void()> pmiFolderShortCutClick;
    std::function<void(int tag)> pmiDesktopClick;
};

// Unit Main: the program's main window. Its lists show the data module's executables and
// infobases; its commands act on their current rows through MainCommands. It sees every key
// before the focused control (the control still gets it), keeps its place in "Main", and
// carries the tray icon.
class TfrmMain : public QWidget, public launch::MainWindowView, public settings::AppearanceTarget {
    Q_OBJECT
public:
    explicit TfrmMain(MainContext context, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The windows created after this one (Part of start-up): the settings window (modal, and the
    // live settings), the explorer and the registry window (modeless).
    void setSettingsWindow(settings::TfrmSetup* setup);
    void setSettingsView(const settings::SettingsView* view) { m_settingsView = view; }
    void setExplorerWindow(QWidget* explorer) { m_explorer = explorer; }
    void setRegistryWindow(QWidget* registry) { m_registry = registry; }
    // The action map read at each Enter, double click and Start click; the process-wide one by default.
    void setControlMap(const std::string* map) { m_map = map; }

    // The list models of dbfProgram and dbfFolder (column 0 is NAME).
    void setListModels(QAbstractItemModel* programs, QAbstractItemModel* folders);

    ApplicationWindows& application() { return *m_app; }
    MainTray& tray() { return *m_tray; }
    Classification* classification() const { return m_classification.get(); }

    // launch::MainWindowView
    int startRegime() const override;
    bool exclusiveChecked() const override;

    // settings::AppearanceTarget
    void applyAppearance(const settings::TfrmSetup& setup) override;
    void applyAppearancePlan(const AppearancePlan& plan);

    // Operations of the main window.
    void StartEnterprise(app::LaunchSource source);
    void DoMappedAction(int mask);
    void AddInActiveList();
    void DeleteInActiveList();
    void RestoreApplication();
    // The activation message of a second start.
    void ActivationMessage();
    // Start-up is over: the window shows at its place.
    void showAtStart();

    // The shape buttons in the order of the appearance step.
    widgets::ShapeButton* shapeButton(int index) const { return m_buttons.at(static_cast<std::size_t>(index)); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildTopStrip();
    void buildProgramGroup();
    void buildFolderGroup();
    void buildBottom();
    void buildMenus();
    void buildActions();
    void setFocusOrder();
    void placeWindow();
    widgets::ShapeButton* addShapeButton(QWidget* parent, const char* name, const QString& text, bool bold);
    QAction* addAction(const char* name, const QString& text, void (TfrmMain::*slot)());

    // Handlers.
    void cmbStartRegimeChange();
    void cbxStartModeClick();
    void applyTextColors();
    void btnStartClick();
    void dbgFolderDblClick(Qt::KeyboardModifiers modifiers);
    void dbgProgramDblClick();
    void FormCloseQuery();
    void openSettings();
    void showExplorer();
    void showRegistry();
    void showAbout();
    void updateRowTexts();
    void syncSelection();
    void handleKey(QKeyEvent* event);
    MainFocus focusRole(const QWidget* widget) const;

    void actAddProgramExecute();
    void actEditProgramExecute();
    void actDeleteProgramExecute();
    void actAddFolderExecute();
    void actEditFolderExecute();
    void actDeleteFolderExecute();
    void actCloseAppExecute();
    void launchExecute();

    // Runs a command; an error escaping it goes to the general error report.
    void guarded(const std::function<void()>& command);
    void afterRecordCommand();

    MainContext m_context;
    const settings::SettingsView* m_settingsView = nullptr;
    settings::TfrmSetup* m_setup = nullptr;
    QWidget* m_explorer = nullptr;
    QWidget* m_registry = nullptr;
    const std::string* m_map = nullptr;
    platform::QtKeyboardState m_keys;
    Qt::KeyboardModifiers m_startModifiers;
    bool m_startModifiersKnown = false;

    ApplicationWindows* m_app = nullptr;
    MainTray* m_tray = nullptr;
    std::unique_ptr<Classification> m_classification;

    QWidget* m_toolPanel = nullptr;
    QComboBox* m_cmbStartRegime = nullptr;
    QCheckBox* m_cbxStartMode = nullptr;
    QListView* m_dbgProgram = nullptr;
    FolderListView* m_dbgFolder = nullptr;
    QLabel* m_dbtProgram = nullptr;
    QLabel* m_dbtFolder = nullptr;
    QLabel* m_dbtUserName = nullptr;
    QGroupBox* m_gbxProgram = nullptr;
    QGroupBox* m_gbxFolder = nullptr;
    ClassificationHost m_host;
    std::array<widgets::ShapeButton*, 9> m_buttons{};
    QMenu* m_pmuProgram = nullptr;
    QMenu* m_pmuFolder = nullptr;

    QAction* m_actAddProgram = nullptr;
    QAction* m_actEditProgram = nullptr;
    QAction* m_actDeleteProgram = nullptr;
    QAction* m_actAddFolder = nullptr;
    QAction* m_actEditFolder = nullptr;
    QAction* m_actDeleteFolder = nullptr;
    QAction* m_actCloseApp = nullptr;
};

} // namespace mainwin
