#include "dialogs/EditUser.h"

#include "dialogs/DialogParts.h"
#include "dialogs/UserGrid.h"
#include "engine/DataSet.h"
#include "engine/EngineError.h"

#include <QLayout>
#include <QVBoxLayout>

namespace dialogs {

TfrmUser::TfrmUser(engine::DataSet& dbfUser, DialogServices services, QWidget* owner)
    : QDialog(owner), m_users(dbfUser), m_services(std::move(services)), m_actions(dbfUser) {
    m_navigator = new RecordNavigator;
    m_grid = new UserGrid(dbfUser, m_actions, m_services);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_navigator, 0, Qt::AlignLeft);
    layout->addWidget(m_grid);
    layout->addLayout(okCancelRow(this));
    setUpFixedDialog(this, "frmUser", "Список пользователей");

    connect(m_navigator, &RecordNavigator::clicked, this, &TfrmUser::dbnUserClick);
    connect(m_grid, &UserGrid::doubleClicked, this, &TfrmUser::dbgUserDblClick);
    connect(m_grid, &UserGrid::changed, this, &TfrmUser::updateButtons);
    connect(m_grid, &UserGrid::failed, this,
            [this](const QString& message) { reportError(m_services, message.toStdString(), this); });
    m_grid->sync();
}

TfrmUser::~TfrmUser() = default;

std::optional<std::string> TfrmUser::editedPassword() const {
    return m_grid->editedPassword();
}

void TfrmUser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_grid->setFocus();
}

void TfrmUser::done(int result) {
    // Changes are kept however the dialog is left; a post that fails here is dropped silently.
    m_actions.postOnClose();
    QDialog::done(result);
}

void TfrmUser::dbgUserDblClick() {
    accept();
}

void TfrmUser::dbnUserClick(RecordNavigator::Button button) {
    using B = RecordNavigator::Button;
    const int row = m_grid->currentRow();
    const int last = m_grid->rowCount() - 1;
    try {
        switch (button) {
        case B::First:
            m_grid->moveTo(0);
            return;
        case B::Prior:
            m_grid->moveTo(row - 1);
            return;
        case B::Next:
            m_grid->moveTo(row + 1);
            return;
        case B::Last:
            m_grid->moveTo(last);
            return;
        case B::Insert:
            m_actions.insert();
            break;
        case B::Delete:
            m_actions.remove();
            break;
        case B::Edit:
            m_actions.edit();
            break;
        case B::Post:
            m_actions.post();
            break;
        case B::Cancel:
            m_actions.cancel();
            break;
        case B::Refresh:
            m_actions.refresh();
            break;
        }
    } catch (const engine::EngineError& error) {
        reportError(m_services, error.what(), this);
    }
    m_grid->sync();
    m_grid->setFocus();
}

void TfrmUser::updateButtons() {
    m_navigator->updateEnabling(m_users.isOpen(), m_grid->currentRow(), m_grid->rowCount(), m_actions.changing());
}

} // namespace dialogs
