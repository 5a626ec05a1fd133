#pragma once
#include "data/DataModuleUi.h"
#include "dialogs/DialogServices.h"

#include <QDialog>

class QLineEdit;

namespace dialogs {

// NAME and PATH of the current dbfProgram row.
struct ExecutableRecord {
    std::string name;
    std::string path;
};

// "Регистрация исполняемого модуля": a display name and the executable's file.
class TfrmEditProgram : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEditProgram(DialogServices services, QWidget* owner = nullptr);

    // Mode 0 offers "1C:Предприятие 7.7" and no file; mode 1 the current row. Returns the two
    // texts as they stand when confirmed, two empty texts otherwise.
    data::ExecutableDialogResult Execute(int mode, const ExecutableRecord& current = {});

    void accept() override;

private:
    void btnChoiceClick();

    DialogServices m_services;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_path = nullptr;
};

} // namespace dialogs
