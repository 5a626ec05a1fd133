#include "app/entry/Program.h"

#include "app/entry/StartupSteps.h"
#include "app/entry/TarveskApplication.h"
#include "data/DMU.h"
#include "dialogs/DialogUi.h"
#include "dialogs/Folder.h"
#include "explorer/Explorer.h"
#include "launch/Class1C.h"
#include "main/ApplicationWindows.h"
#include "main/Bars.h"
#include "main/BarsSide.h"
#include "main/DataModuleCommands.h"
#include "main/DataSetInfobaseRows.h"
#include "main/Main.h"
#include "main/ShortcutCommands.h"
#include "main/ShortcutImport.h"
#include "platform/posix/PosixShell.h"
#include "platform/posix/WineBridge.h"
#include "platform/posix/WinePathMapper.h"
#include "platform/posix/WinePrefix.h"
#include "platform/posix/WineRegistry.h"
#include "platform/posix/WineShellFolders.h"
#include "registry/DataSetFolderStore.h"
#include "registry/EditKey.h"
#include "registry/Reestr.h"
#include "registry/ReestrDialogs.h"
#include "settings/AutoStartEntries.h"
#include "settings/IniFile.h"
#include "settings/Setup.h"
#include "shell/WinShell.h"
#include "widgets/DataSetListModel.h"

#include <QMimeData>

namespace app {

struct Program::Parts {
    Parts(const std::filesystem::path& directory, const std::filesystem::path& bridgeDirectory)
        : mainIni(directory / "Tarvesk.ini"), prefix(platform::WinePrefix::defaultPath()),
          bridge(prefix, bridgeDirectory.string()), registry(prefix, bridge), paths(prefix), shell(paths, bridge),
          folders(registry, paths), winShell(paths, folders), launcher(registry, shell) {}

    settings::IniFile mainIni; // MainIni
    std::string prefix;
    platform::WineBridge bridge;
    platform::WineRegistry registry;
    platform::WinePathMapper paths;
    platform::PosixShell shell;
    platform::WineShellFolders folders;
    shell::WinShell winShell;
    launch::TC1C launcher; // the one launcher

    std::unique_ptr<data::TDM> dm;
    std::unique_ptr<dialogs::DialogUi> dialogUi;
    std::unique_ptr<widgets::DataSetListModel> programs;
    std::unique_ptr<widgets::DataSetListModel> infobases;
    std::unique_ptr<mainwin::DataModuleCommands> commands;
    std::unique_ptr<mainwin::ShortcutCommands> shortcuts;
    std::unique_ptr<settings::AutoStartEntries> autoStart;
    std::unique_ptr<registry::DataSetFolderStore> folderStore;
    std::unique_ptr<registry::ReestrDialogs> reestrUi;
    mainwin::Bars* bars = nullptr; // owned by the main window

    std::unique_ptr<mainwin::TfrmMain> frmMain;
    std::unique_ptr<explorer::TfrmExplorer> frmExplorer;
    std::unique_ptr<settings::TfrmSetup> frmSetup;
    std::unique_ptr<registry::TfrmReestr> frmReestr;
    std::unique_ptr<registry::TfrmEditKey> frmEditKey;
};

Program::Program(TarveskApplication& application, std::filesystem::path executable,
                 const std::filesystem::path& bridgeDirectory)
    : m_application(application), m_executable(std::move(executable)), m_directory(m_executable.parent_path()),
      m_parts(std::make_unique<Parts>(m_directory, bridgeDirectory)) {
    m_parts->shell.setNotice([this](const std::string& message) { m_application.warn(message); });
}

Program::~Program() {
    Parts& p = *m_parts;
    // The windows go first, the later ones before the main window (its bars write their files).
    p.frmEditKey.reset();
    p.frmReestr.reset();
    p.frmSetup.reset();
    p.frmExplorer.reset();
    p.bars = nullptr;
    p.frmMain.reset();
    p.infobases.reset();
    p.programs.reset();
    if (p.dm) {
        try {
            p.dm->DataModuleDestroy();
        } catch (const std::exception&) {
            // The tables are closed as far as they can be; nothing is lost by going on.
        }
    }
}

namespace {

// "Выбор каталога" owned by the given window: the Windows path of the chosen folder; nothing
// when the chooser was not confirmed or no drive leads to the folder.
std::optional<std::string> chooseDirectory(const platform::PathMapper& paths, QWidget* owner) {
    dialogs::TfrmFolder dialog(&paths, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::string path = dialog.SelectedPath();
    if (path.empty())
        return std::nullopt;
    return path;
}

// The list models read their data sets again; an error goes to the general error report.
void reloadLists(mainwin::DataModuleCommands* commands, const std::function<void(const std::string&)>& report) {
    if (!commands)
        return;
    try {
        commands->reloadLists();
    } catch (const std::exception& error) {
        report(error.what());
    }
}

// Shortcut files dropped on the main window (host paths) become infobases; the infobase list
// shows the rows written, also those written before a shortcut that could not be read.
void importDroppedFiles(data::TDM& dm, mainwin::DataModuleCommands& commands, shell::WinShell& winShell,
                        platform::Registry& registry, const platform::PathMapper& paths,
                        const settings::SettingsView& settings, const QStringList& files) {
    std::vector<std::string> hostPaths;
    hostPaths.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& file : files)
        hostPaths.push_back(file.toStdString());
    mainwin::DataSetInfobaseRows rows(dm.dbfSearch, dm.dbfFolder);
    mainwin::ShortcutImport import(winShell, registry, rows, settings);
    try {
        import.ImportDroppedShortcuts(mainwin::ShortcutImport::droppedFiles(hostPaths, paths));
    } catch (...) {
        commands.reloadLists();
        throw;
    }
    commands.reloadLists();
}

} // namespace

void Program::create() {
    Parts& p = *m_parts;
    const Report report = [this](const std::string& message) { m_application.reportError(message); };
    const auto chooser = [&p](QWidget* owner) -> std::optional<QString> {
        const auto path = chooseDirectory(p.paths, owner);
        return path ? std::optional<QString>(QString::fromStdString(*path)) : std::nullopt;
    };
    const std::vector<StartupStep> steps = {
        {"TDM", [&] { createDataModule(report); }},
        {"TfrmMain", [&] { createMainWindow(report); }},
        {"TfrmExplorer",
         [&] {
             p.frmExplorer = std::make_unique<explorer::TfrmExplorer>(p.paths);
             p.launcher.setExplorerView(p.frmExplorer.get());
             if (p.dialogUi) {
                 explorer::TfrmExplorer* window = p.frmExplorer.get();
                 p.dialogUi->setExplorerDirectory([window] { return window->SelectedDirectory(); });
             }
             if (p.frmMain) {
                 p.frmMain->setExplorerWindow(p.frmExplorer.get());
                 mainwin::TfrmMain* main = p.frmMain.get();
                 p.frmExplorer->setStartEnterprise([main](app::LaunchSource source) { main->StartEnterprise(source); });
             }
         }},
        {"TfrmSetup",
         [&] {
             p.autoStart =
                 std::make_unique<settings::AutoStartEntries>(p.registry, p.winShell, p.paths, m_executable.string(),
                                                              settings::XdgAutostart::fromEnvironment(p.prefix));
             settings::SetupServices services;
             services.appearance = p.frmMain.get();
             services.autoStart = p.autoStart.get();
             services.pathMapper = &p.paths;
             services.reportError = report;
             p.frmSetup = std::make_unique<settings::TfrmSetup>(m_directory / "Tarvesk.ini", services);
             p.launcher.setSettingsView(p.frmSetup.get());
             if (p.dm)
                 p.dm->setSettingsView(p.frmSetup.get());
             if (p.frmMain)
                 p.frmMain->setSettingsWindow(p.frmSetup.get());
         }},
        {"TfrmReestr",
         [&] {
             if (!p.dm)
                 return;
             p.folderStore = std::make_unique<registry::DataSetFolderStore>(p.dm->dbfSeek, p.dm->dbfFolder);
             p.reestrUi = std::make_unique<registry::ReestrDialogs>(
                 chooser, [report](QWidget*, const std::string& message) { report(message); });
             p.frmReestr =
                 std::make_unique<registry::TfrmReestr>(p.frmMain.get(), p.registry, *p.folderStore, *p.reestrUi);
             QObject::connect(p.frmReestr.get(), &registry::TfrmReestr::foldersImported,
                              [&p, report] { reloadLists(p.commands.get(), report); });
             if (p.frmMain)
                 p.frmMain->setRegistryWindow(p.frmReestr.get());
         }},
        {"TfrmEditKey", [&] { p.frmEditKey = std::make_unique<registry::TfrmEditKey>(p.frmMain.get(), chooser); }},
    };
    runStartupSteps(steps, report);
}

// The data module, the dialogs it runs, the list models of its data sets and the main window's
// commands on them.
void Program::createDataModule(const Report& report) {
    Parts& p = *m_parts;
    p.dm = std::make_unique<data::TDM>(m_directory.string(), p.registry);
    p.launcher.setDataModule(p.dm.get());
    dialogs::DialogServices services;
    services.pathMapper = &p.paths;
    services.reportError = report;
    p.dialogUi = std::make_unique<dialogs::DialogUi>(*p.dm, services);
    p.dm->setUi(p.dialogUi.get());
    p.programs = std::make_unique<widgets::DataSetListModel>(p.dm->dbfProgram, std::vector<std::string>{"NAME"});
    p.infobases = std::make_unique<widgets::DataSetListModel>(p.dm->dbfFolder, std::vector<std::string>{"NAME"});
    mainwin::DataModuleCommands::Parts parts;
    parts.dm = p.dm.get();
    parts.launcher = &p.launcher;
    parts.shell = &p.shell;
    parts.programs = p.programs.get();
    parts.folders = p.infobases.get();
    parts.settings = [&p]() -> const settings::SettingsView* { return p.frmSetup.get(); };
    p.commands = std::make_unique<mainwin::DataModuleCommands>(std::move(parts));
    // Opening the tables may fail; the lists then show the closed data sets.
    p.dm->DataModuleCreate();
    p.commands->reloadLists();
}

// The main window with its bars, its drop targets and its shortcut commands.
void Program::createMainWindow(const Report& report) {
    Parts& p = *m_parts;
    mainwin::MainContext context;
    context.mainIni = &p.mainIni;
    context.commands = p.commands.get();
    context.reportError = report;
    if (p.commands) {
        context.classification = [&p, report, directory = m_directory](const mainwin::ClassificationHost& host) {
            mainwin::BarsServices services;
            services.data = p.commands.get();
            services.directory = directory; // beside the tables, whatever the current directory
            services.reportError = report;
            auto bars = std::make_unique<mainwin::Bars>(host, services);
            p.bars = bars.get();
            return bars;
        };
        context.filesDropped = [&p](const QStringList& files) {
            if (p.dm && p.frmSetup)
                importDroppedFiles(*p.dm, *p.commands, p.winShell, p.registry, p.paths, *p.frmSetup, files);
        };
        context.pmiFolderShortCutClick = [&p] {
            if (p.shortcuts)
                p.shortcuts->pmiFolderShortCutClick([&p] { return chooseDirectory(p.paths, p.frmMain.get()); });
        };
        context.pmiDesktopClick = [&p](int tag) {
            if (p.shortcuts)
                p.shortcuts->pmiDesktopClick(tag);
        };
    }
    // Only a drag of the registry window's unaccounted list may be dropped on the infobase list.
    context.registryDropFilter = [&p](const QMimeData*, const QObject* source) {
        return p.frmReestr && p.frmReestr->isUnaccountedDrag(source);
    };
    context.registryDrop = [&p](const QMimeData*) {
        if (p.frmReestr)
            p.frmReestr->dropOnInfobaseList();
    };
    p.frmMain = std::make_unique<mainwin::TfrmMain>(std::move(context));
    p.launcher.setMainWindowView(p.frmMain.get());
    if (!p.commands)
        return;
    p.frmMain->setListModels(p.programs.get(), p.infobases.get());
    p.dialogUi->setOwner(p.frmMain.get());
    // The infobase dialog shows the classification by the bars' items.
    p.dialogUi->setBars([&p] { return p.bars ? p.bars->categorySide()->content() : widgets::SectionBarData{}; },
                        [&p] { return p.bars ? p.bars->divisionSide()->content() : widgets::SectionBarData{}; });
    // The after-launch rule acts on the application as a whole.
    p.commands->setApplication(&p.frmMain->application());
    p.shortcuts = std::make_unique<mainwin::ShortcutCommands>(p.winShell, *p.dm, p.launcher, *p.frmMain, p.paths);
}

void Program::show() {
    if (m_parts->frmMain)
        m_parts->frmMain->showAtStart();
}

void Program::activate() {
    if (m_parts->frmMain)
        m_parts->frmMain->ActivationMessage();
}

} // namespace app
