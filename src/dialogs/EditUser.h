#pragma once
#include "dialogs/DialogServices.h"
#include "dialogs/RecordActions.h"
#include "dialogs/RecordNavigator.h"

#include <QDialog>

#include <optional>
#include <string>

namespace engine {
class DataSet;
}

namespace dialogs {

class UserGrid;

// "Список пользователей": edits table user in place and lets the user pick one. Whatever is
// being changed is posted when the dialog closes, whichever way; OK only means a user is chosen
// (the current row of the data set).
class TfrmUser : public QDialog {
    Q_OBJECT
public:
    TfrmUser(engine::DataSet& dbfUser, DialogServices services, QWidget* owner = nullptr);
    ~TfrmUser() override;

    // What was typed into dbePassword since the current row was shown; nothing when untouched.
    std::optional<std::string> editedPassword() const;
    UserGrid* grid() const { return m_grid; }

    void done(int result) override; // FormClose

protected:
    void showEvent(QShowEvent* event) override; // FormShow

private:
    void dbnUserClick(RecordNavigator::Button button);
    void dbgUserDblClick();
    void updateButtons();

    engine::DataSet& m_users;
    DialogServices m_services;
    RecordActions m_actions;
    RecordNavigator* m_navigator = nullptr;
    UserGrid* m_grid = nullptr;
};

} // namespace dialogs
