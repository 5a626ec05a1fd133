#include "registry/ReestrDialogs.h"

#include "registry/RefDial.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace registry {

namespace {

// The key exists question through a TfrmRefreshDialog that lives as long as the import.
class DialogAsker : public KeyExistsAsker {
public:
    explicit DialogAsker(QWidget* owner) : m_dialog(owner) {}
    void showKey(const std::string& key) override { m_dialog.setKey(QString::fromStdString(key)); }
    int ask() override { return m_dialog.exec(); }

private:
    TfrmRefreshDialog m_dialog;
};

QString runFileDialog(QWidget* owner, QFileDialog::AcceptMode mode, const QString& filter) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

} // namespace

ReestrDialogs::ReestrDialogs(DirectoryChooser chooser, ErrorReport report)
    : m_chooser(std::move(chooser)), m_report(std::move(report)) {}

std::optional<KeyEditResult> ReestrDialogs::editKey(QWidget* owner, const QString& name, const QString& path) {
    TfrmEditKey dialog(owner, m_chooser);
    dialog.setFields(name, path);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return KeyEditResult{dialog.name(), dialog.path()};
}

QString ReestrDialogs::deleteQuestion() {
    return QStringLiteral("Удалить выделенный ключ реестра?");
}
QString ReestrDialogs::exportFilter() {
    return QStringLiteral("Файл экспорта ключей реестра (*.txt)");
}
QString ReestrDialogs::importFilter() {
    return QStringLiteral("Файл импорта ключей реестра (*.txt)");
}

bool ReestrDialogs::confirmDelete(QWidget* owner) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), deleteQuestion(), QMessageBox::NoButton, owner);
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

QString ReestrDialogs::exportFileName(QWidget* owner) {
    return runFileDialog(owner, QFileDialog::AcceptSave, exportFilter());
}

QString ReestrDialogs::importFileName(QWidget* owner) {
    return runFileDialog(owner, QFileDialog::AcceptOpen, importFilter());
}

std::unique_ptr<KeyExistsAsker> ReestrDialogs::keyExistsAsker(QWidget* owner) {
    return std::make_unique<DialogAsker>(owner);
}

void ReestrDialogs::reportError(QWidget* owner, const std::string& message) {
    if (m_report)
        m_report(owner, message);
}

} // namespace registry
