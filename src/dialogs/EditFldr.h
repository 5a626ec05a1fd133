#pragma once
#include "data/DataModuleUi.h"
#include "dialogs/DialogServices.h"

#include <QDialog>

class QLineEdit;
class QToolButton;

namespace dialogs {

class InfobaseSource;

// "Регистрация информационной базы": collects one infobase's texts; the caller decides what is
// stored. Shows the category and division of an edited infobase read-only.
class TfrmEditFolder : public QDialog {
    Q_OBJECT
public:
    TfrmEditFolder(InfobaseSource& source, DialogServices services, QWidget* owner = nullptr);

    // Fills the fields for mode 0, 1 or 2, runs the dialog modally and returns the six texts as
    // they stand when it was confirmed; otherwise confirmed is false and every text empty.
    data::InfobaseDialogResult Execute(int mode);

    void accept() override;

private:
    QWidget* buildFolderGroup();
    QWidget* buildUserGroup();
    void btnChoiceClick(QLineEdit* target);
    void btnUserClick();
    void btnPacketChoiceClick();

    InfobaseSource& m_source;
    DialogServices m_services;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_path = nullptr;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_userPath = nullptr;
    QLineEdit* m_prmFile = nullptr;
    QLineEdit* m_category = nullptr;
    QLineEdit* m_division = nullptr;
};

} // namespace dialogs
