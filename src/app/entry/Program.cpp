#include "app/entry/Program.h"

#include "app/entry/StartupSteps.h"
#include "app/entry/TarveskApplication.h"
#include "main/Main.h"
#include "platform/posix/PosixShell.h"
#include "platform/posix/WinePathMapper.h"
#include "platform/posix/WinePrefix.h"
#include "platform/posix/WineRegistry.h"
#include "settings/IniFile.h"
#include "settings/Setup.h"

#include <QWidget>

namespace app {

struct Program::Parts {
    explicit Parts(const std::filesystem::path& directory)
        : mainIni(directory / "Tarvesk.ini"), prefix(platform::WinePrefix::defaultPath()), registry(prefix),
          paths(prefix), shell(paths, prefix) {}

    settings::IniFile mainIni; // MainIni
    std::string prefix;
    platform::WineRegistry registry;
    platform::WinePathMapper paths;
    platform::PosixShell shell;

    // Destroyed in the reverse order of creation.
    std::unique_ptr<mainwin::TfrmMain> frmMain;
    std::unique_ptr<QWidget> frmExplorer;
    std::unique_ptr<settings::TfrmSetup> frmSetup;
    std::unique_ptr<QWidget> frmReestr;
    std::unique_ptr<QWidget> frmEditKey;
};

Program::Program(TarveskApplication& application, std::filesystem::path directory)
    : m_application(application), m_directory(std::move(directory)),
      m_parts(std::make_unique<Parts>(m_directory)) {}

Program::~Program() {
    if (!m_parts)
        return;
    // The windows go first, the later ones before the main window.
    m_parts->frmEditKey.reset();
    m_parts->frmReestr.reset();
    m_parts->frmSetup.reset();
    m_parts->frmExplorer.reset();
    m_parts->frmMain.reset();
}

void Program::create() {
    Parts& p = *m_parts;
    const auto report = [this](const std::string& message) { m_application.reportError(message); };
    const std::vector<StartupStep> steps = {
        {"TDM", [] {}},
        {"TfrmMain",
         [&] {
             mainwin::MainContext context;
             context.mainIni = &p.mainIni;
             context.reportError = report;
             p.frmMain = std::make_unique<mainwin::TfrmMain>(std::move(context));
         }},
        {"TfrmExplorer",
         [&] {
             p.frmExplorer = std::make_unique<QWidget>();
             p.frmExplorer->setObjectName(QStringLiteral("frmExplorer"));
             if (p.frmMain)
                 p.frmMain->setExplorerWindow(p.frmExplorer.get());
         }},
        {"TfrmSetup",
         [&] {
             settings::SetupServices services;
             services.appearance = p.frmMain.get();
             services.pathMapper = &p.paths;
             services.reportError = report;
             p.frmSetup = std::make_unique<settings::TfrmSetup>(m_directory / "Tarvesk.ini", services);
             if (p.frmMain)
                 p.frmMain->setSettingsWindow(p.frmSetup.get());
         }},
        {"TfrmReestr",
         [&] {
             p.frmReestr = std::make_unique<QWidget>();
             p.frmReestr->setObjectName(QStringLiteral("frmReestr"));
             if (p.frmMain)
                 p.frmMain->setRegistryWindow(p.frmReestr.get());
         }},
        {"TfrmEditKey", [&] { p.frmEditKey = std::make_unique<QWidget>(); }},
    };
    runStartupSteps(steps, report);
}

void Program::show() {
    if (m_parts->frmMain)
        m_parts->frmMain->showAtStart();
}

} // namespace app

namespace app {

void Program::activate() {
    if (m_parts->frmMain)
        m_parts->frmMain->ActivationMessage();
}

} // namespace app
