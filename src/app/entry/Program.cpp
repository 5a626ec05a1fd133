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
#include "main/DataModuleCommands.h"
#include "main/Main.h"
#include "platform/posix/PosixShell.h"
#include "platform/posix/WinePathMapper.h"
#include "platform/posix/WinePrefix.h"
#include "platform/posix/WineRegistry.h"
#include "registry/DataSetFolderStore.h"
#include "registry/EditKey.h"
#include "registry/Reestr.h"
#include "registry/ReestrDialogs.h"
#include "registry/UnaccountedList.h"
#include "settings/IniFile.h"
#include "settings/Setup.h"
#include "widgets/DataSetListModel.h"

#include <QMessageBox>
#include <QMimeData>

namespace app {

struct Program::Parts {
    explicit Parts(const std::filesystem::path& directory)
        : mainIni(directory / "Tarvesk.ini"), prefix(platform::WinePrefix::defaultPath()), registry(prefix),
          paths(prefix), shell(paths, prefix), launcher(registry, shell) {}

    settings::IniFile mainIni; // MainIni
    std::string prefix;
    platform::WineRegistry registry;
    platform::WinePathMapper paths;
    platform::PosixShell shell;
    launch::TC1C launcher; // the one launcher

    std::unique_ptr<data::TDM> dm;
    std::unique_ptr<dialogs::DialogUi> dialogUi;
    std::unique_ptr<widgets::DataSetListModel> programs;
    std::unique_ptr<widgets::DataSetListModel> folders;
    std::unique_ptr<mainwin::DataModuleCommands> commands;
    std::unique_ptr<registry::DataSetFolderStore> folderStore;
    std::unique_ptr<registry::ReestrDialogs> reestrUi;

    std::unique_ptr<mainwin::TfrmMain> frmMain;
    std::unique_ptr<explorer::TfrmExplorer> frmExplorer;
    std::unique_ptr<settings::TfrmSetup> frmSetup;
    std::unique_ptr<registry::TfrmReestr> frmReestr;
    std::unique_ptr<registry::TfrmEditKey> frmEditKey;
};

Program::Program(TarveskApplication& application, std::filesystem::path directory)
    : m_application(application), m_directory(std::move(directory)),
      m_parts(std::make_unique<Parts>(m_directory)) {}

Program::~Program() {
    Parts& p = *m_parts;
    // The windows go first, the later ones before the main window (its bars write their files).
    p.frmEditKey.reset();
    p.frmReestr.reset();
    p.frmSetup.reset();
    p.frmExplorer.reset();
    p.frmMain.reset();
    p.folders.reset();
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

// The folder chooser of the registry windows.
std::optional<QString> chooseDirectory(const platform::PathMapper& paths, QWidget* owner) {
    dialogs::TfrmFolder dialog(&paths, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const std::string path = dialog.SelectedPath();
    if (path.empty())
        return std::nullopt;
    return QString::fromStdString(path);
}

} // namespace

void Program::create() {
    Parts& p = *m_parts;
    const auto report = [this](const std::string& message) { m_application.reportError(message); };
    const auto chooser = [&p](QWidget* owner) { return chooseDirectory(p.paths, owner); };
    const std::vector<StartupStep> steps = {
        {"TDM",
         [&] {
             p.dm = std::make_unique<data::TDM>(m_directory.string(), p.registry);
             p.launcher.setDataModule(p.dm.get());
             dialogs::DialogServices services;
             services.pathMapper = &p.paths;
             services.reportError = report;
             p.dialogUi = std::make_unique<dialogs::DialogUi>(*p.dm, services);
             p.dm->setUi(p.dialogUi.get());
             p.programs = std::make_unique<widgets::DataSetListModel>(p.dm->dbfProgram,
                                                                      std::vector<std::string>{"NAME"});
             p.folders = std::make_unique<widgets::DataSetListModel>(p.dm->dbfFolder,
                                                                     std::vector<std::string>{"NAME"});
             mainwin::DataModuleCommands::Parts parts;
             parts.dm = p.dm.get();
             parts.launcher = &p.launcher;
             parts.shell = &p.shell;
             parts.programs = p.programs.get();
             parts.folders = p.folders.get();
             parts.settings = [&p]() -> const settings::SettingsView* { return p.frmSetup.get(); };
             p.commands = std::make_unique<mainwin::DataModuleCommands>(std::move(parts));
             // Opening the tables may fail; the lists then show the closed data sets.
             p.dm->DataModuleCreate();
             p.commands->reloadLists();
         }},
        {"TfrmMain",
         [&] {
             mainwin::MainContext context;
             context.mainIni = &p.mainIni;
             context.commands = p.commands.get();
             context.reportError = report;
             if (p.commands) {
                 context.classification = [&p, report](const mainwin::ClassificationHost& host) {
                     mainwin::BarsServices services;
                     services.data = p.commands.get();
                     services.reportError = report;
                     return std::make_unique<mainwin::Bars>(host, services);
                 };
             }
             context.registryDropFilter = [](const QMimeData* data) {
                 return data->hasFormat(registry::UnaccountedList::dragMimeType());
             };
             context.registryDrop = [&p](const QMimeData*) {
                 if (p.frmReestr)
                     p.frmReestr->dropOnInfobaseList();
                 if (p.commands)
                     p.commands->reloadLists();
             };
             p.frmMain = std::make_unique<mainwin::TfrmMain>(std::move(context));
             p.launcher.setMainWindowView(p.frmMain.get());
             if (p.commands) {
                 p.frmMain->setListModels(p.programs.get(), p.folders.get());
                 p.dialogUi->setOwner(p.frmMain.get());
                 // The after-launch rule acts on the application as a whole.
                 p.commands->setApplication(&p.frmMain->application());
             }
         }},
        {"TfrmExplorer",
         [&] {
             p.frmExplorer = std::make_unique<explorer::TfrmExplorer>(p.paths);
             p.launcher.setExplorerView(p.frmExplorer.get());
             if (p.frmMain) {
                 p.frmMain->setExplorerWindow(p.frmExplorer.get());
                 mainwin::TfrmMain* main = p.frmMain.get();
                 p.frmExplorer->setStartEnterprise([main](app::LaunchSource source) { main->StartEnterprise(source); });
             }
         }},
        {"TfrmSetup",
         [&] {
             settings::SetupServices services;
             services.appearance = p.frmMain.get();
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
             if (p.frmMain)
                 p.frmMain->setRegistryWindow(p.frmReestr.get());
         }},
        {"TfrmEditKey", [&] { p.frmEditKey = std::make_unique<registry::TfrmEditKey>(p.frmMain.get(), chooser); }},
    };
    runStartupSteps(steps, report);
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
