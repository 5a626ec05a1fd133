#include "dialogs/DialogUi.h"

#include "app/Common.h"
#include "data/DMU.h"
#include "dialogs/EditFldr.h"
#include "dialogs/EditPrg.h"
#include "dialogs/EditUser.h"
#include "engine/EngineError.h"

#include <QMessageBox>

namespace dialogs {

DialogUi::DialogUi(data::TDM& dm, DialogServices services) : m_dm(dm), m_services(std::move(services)) {}

DialogUi::~DialogUi() = default;

void DialogUi::setBars(std::function<widgets::SectionBarData()> category,
                       std::function<widgets::SectionBarData()> division) {
    m_categoryBar = std::move(category);
    m_divisionBar = std::move(division);
}

void DialogUi::setExplorerDirectory(std::function<std::string()> directory) {
    m_explorerDirectory = std::move(directory);
}

data::InfobaseDialogResult DialogUi::runInfobaseDialog(int mode) {
    TfrmEditFolder dialog(*this, m_services, m_owner);
    return dialog.Execute(mode);
}

data::ExecutableDialogResult DialogUi::runExecutableDialog(int mode) {
    ExecutableRecord current;
    if (mode == 1 && m_dm.dbfProgram.isOpen()) {
        current.name = m_dm.dbfProgram.fieldText("NAME");
        current.path = m_dm.dbfProgram.fieldText("PATH");
    }
    TfrmEditProgram dialog(m_services, m_owner);
    return dialog.Execute(mode, current);
}

bool DialogUi::askYesNo(const std::string& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tarvesk"), QString::fromStdString(question),
                    QMessageBox::Yes | QMessageBox::No, m_owner);
    box.setDefaultButton(QMessageBox::Yes);
    return runModal(m_services, box) == QMessageBox::Yes;
}

std::optional<std::string> DialogUi::editedUserPassword() {
    return m_userList ? m_userList->editedPassword() : std::nullopt;
}

InfobaseRecord DialogUi::currentInfobase() {
    InfobaseRecord row;
    if (!m_dm.dbfFolder.isOpen())
        return row;
    row.name = m_dm.InfobaseName();
    row.path = m_dm.InfobasePath();
    row.userName = m_dm.InfobaseUserName(m_dm.dbfFolder);
    row.password = m_dm.InfobasePassword(m_dm.dbfFolder);
    row.userPath = m_dm.InfobaseUserPath(m_dm.dbfFolder);
    row.prmFile = m_dm.InfobasePrmFile(m_dm.dbfFolder);
    row.category = m_dm.dbfFolder.fieldInt("CATEGORY");
    row.division = m_dm.dbfFolder.fieldInt("DIVISION");
    return row;
}

std::string DialogUi::explorerDirectory() {
    return m_explorerDirectory ? m_explorerDirectory() : std::string();
}

widgets::SectionBarData DialogUi::categoryBar() {
    return m_categoryBar ? m_categoryBar() : widgets::SectionBarData{};
}

widgets::SectionBarData DialogUi::divisionBar() {
    return m_divisionBar ? m_divisionBar() : widgets::SectionBarData{};
}

std::optional<UserChoice> DialogUi::chooseUser(QWidget* owner) {
    TfrmUser list(m_dm.dbfUser, m_services, owner);
    // dbfUserBeforePost asks this list for its password while it runs, also while it closes.
    struct Running {
        TfrmUser*& slot;
        ~Running() { slot = nullptr; }
    } running{m_userList};
    m_userList = &list;
    const int result = runModal(m_services, list);
    if (result != QDialog::Accepted || !m_dm.dbfUser.isOpen())
        return std::nullopt;
    return UserChoice{m_dm.dbfUser.fieldText("USERNAME"), app::ScramblePassword(m_dm.dbfUser.fieldText("PASSWORD"))};
}

} // namespace dialogs
