#include "dialogs/EditPrg.h"

#include "dialogs/DialogParts.h"
#include "data/FieldWidths.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace dialogs {
namespace {

constexpr int kNameWidth = data::width::Name;
constexpr int kPathWidth = data::width::Path;

// The default name of a new executable, with a Latin "C".
constexpr const char* kDefaultName = "1C:Предприятие 7.7";

} // namespace

TfrmEditProgram::TfrmEditProgram(DialogServices services, QWidget* owner)
    : QDialog(owner), m_services(std::move(services)) {
    m_name = guardedEdit("edtName", kNameWidth, m_services);
    m_path = guardedEdit("edtPath", kPathWidth, m_services);
    auto* choice = pictureButton("btnChoice", QStyle::SP_FileIcon, "Выбрать исполняемый модуль");
    connect(choice, &QToolButton::clicked, this, &TfrmEditProgram::btnChoiceClick);

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    addNamePathRows(grid, m_name, m_path, choice);
    layout->addLayout(grid);
    layout->addLayout(okCancelRow(this));
    setUpFixedDialog(this, "frmEditProgram", "Регистрация исполняемого модуля");
}

data::ExecutableDialogResult TfrmEditProgram::Execute(int mode, const ExecutableRecord& current) {
    if (mode == 1) {
        m_name->setText(QString::fromStdString(current.name));
        m_path->setText(QString::fromStdString(current.path));
    } else {
        m_name->setText(QString::fromUtf8(kDefaultName));
        m_path->clear();
    }
    m_name->setFocus();
    if (runModal(m_services, *this) != QDialog::Accepted)
        return {};
    return {m_name->text().toStdString(), m_path->text().toStdString()};
}

void TfrmEditProgram::accept() {
    if (firstUnstorableEdit({m_name, m_path}, m_services))
        return;
    QDialog::accept();
}

void TfrmEditProgram::btnChoiceClick() {
    const std::string chosen =
        chooseFile(m_services, {this, QString::fromUtf8("Приложение"), QStringLiteral("*.exe"), QStringLiteral("exe")});
    if (!chosen.empty())
        setChosenFile(m_path, chosen, m_services);
}

} // namespace dialogs
