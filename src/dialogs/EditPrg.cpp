#include "dialogs/EditPrg.h"

#include "dialogs/DialogParts.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace dialogs {
namespace {

// Widths of the fields of table program.
constexpr int kNameWidth = 40;
constexpr int kPathWidth = 240;

// The default name of a new executable, with a Latin "C".
constexpr const char* kDefaultName = "1C:Предприятие 7.7";

} // namespace

TfrmEditProgram::TfrmEditProgram(DialogServices services, QWidget* owner)
    : QDialog(owner), m_services(std::move(services)) {
    m_name = namedEdit("edtName");
    guardEdit(m_name, kNameWidth, m_services);
    m_path = namedEdit("edtPath");
    guardEdit(m_path, kPathWidth, m_services);
    auto* choice = pictureButton("btnChoice", QStyle::SP_FileIcon, "Выбрать исполняемый модуль");
    connect(choice, &QToolButton::clicked, this, &TfrmEditProgram::btnChoiceClick);

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(fieldLabel("Наименование", m_name), 0, 0, 1, 2);
    grid->addWidget(m_name, 1, 0, 1, 2);
    grid->addWidget(fieldLabel("Каталог", m_path), 2, 0, 1, 2);
    grid->addWidget(m_path, 3, 0);
    grid->addWidget(choice, 3, 1);
    layout->addLayout(grid);
    layout->addLayout(okCancelRow(this));
    setUpFixedDialog(this, "frmEditProgram", "Регистрация исполняемого модуля");
    m_path->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
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
