#include "dialogs/DialogServices.h"

#include "dialogs/DialogParts.h"
#include "engine/CodePage.h"
#include "platform/PathMapper.h"
#include "settings/ErrorReport.h"
#include "widgets/Cp1251Validator.h"

#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QToolTip>

namespace dialogs {
namespace {

QString tooLongMessage(int maxLength) {
    return QStringLiteral("Текст длиннее %1 символов: в поле он не поместится.").arg(maxLength);
}

// Why the edit could not store this text unchanged; empty when it can.
QString unstorableReason(const QLineEdit* edit, const QString& text) {
    const std::string utf8 = text.toStdString();
    if (const std::string bad = engine::firstNonCp1251Char(utf8); !bad.empty())
        return widgets::Cp1251Validator::refusalMessage(QString::fromStdString(bad));
    if (text.size() > edit->maxLength())
        return tooLongMessage(edit->maxLength());
    return {};
}

} // namespace

int runModal(const DialogServices& services, QDialog& dialog) {
    return services.exec ? services.exec(dialog) : dialog.exec();
}

void reportError(const DialogServices& services, const std::string& message, QWidget* owner) {
    if (services.reportError)
        services.reportError(message);
    else
        settings::showErrorReport(message, owner);
}

std::string chooseFile(const DialogServices& services, const FileRequest& request) {
    if (services.chooseFile)
        return services.chooseFile(request);
    QFileDialog dialog(request.owner);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(request.filterName + QStringLiteral(" (") + request.pattern + QLatin1Char(')'));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst().toStdString();
}

std::string windowsPath(const DialogServices& services, const std::string& hostPath) {
    return services.pathMapper ? services.pathMapper->toWindows(hostPath) : hostPath;
}

void guardEdit(QLineEdit* edit, int maxLength, const DialogServices& services) {
    edit->setMaxLength(maxLength);
    auto* validator = new widgets::Cp1251Validator(edit);
    edit->setValidator(validator);
    auto refused = services.refused;
    QObject::connect(validator, &widgets::Cp1251Validator::characterRefused, edit,
                     [edit, refused](const QString& character) {
                         // A tool tip, not a box: a modal box would take the focus while the user types.
                         // A password's characters are not repeated on the screen.
                         const QString message =
                             edit->echoMode() == QLineEdit::Normal
                                 ? widgets::Cp1251Validator::refusalMessage(character)
                                 : QStringLiteral("Этот символ нельзя использовать: его нет в кодировке Windows-1251.");
                         QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), message, edit);
                         if (refused)
                             refused(message);
                     });
}

QLineEdit* guardedEdit(const char* name, int maxLength, const DialogServices& services) {
    QLineEdit* edit = namedEdit(name);
    guardEdit(edit, maxLength, services);
    return edit;
}

bool setGuardedText(QLineEdit* edit, const std::string& text, const DialogServices& services) {
    const QString value = QString::fromStdString(text);
    if (const QString reason = unstorableReason(edit, value); !reason.isEmpty()) {
        reportError(services, reason.toStdString(), edit->window());
        return false;
    }
    edit->setText(value);
    return true;
}

bool setChosenFile(QLineEdit* edit, const std::string& hostPath, const DialogServices& services) {
    const std::string path = windowsPath(services, hostPath);
    if (path.empty()) {
        const QString message =
            QStringLiteral("Файл «%1» не виден программам Windows: ни один диск на него не указывает.")
                .arg(QString::fromStdString(hostPath));
        reportError(services, message.toStdString(), edit->window());
        return false;
    }
    return setGuardedText(edit, path, services);
}

QLineEdit* firstUnstorableEdit(std::initializer_list<QLineEdit*> edits, const DialogServices& services) {
    for (QLineEdit* edit : edits) {
        if (const QString reason = unstorableReason(edit, edit->text()); !reason.isEmpty()) {
            reportError(services, reason.toStdString(), edit->window());
            edit->setFocus();
            return edit;
        }
    }
    return nullptr;
}

} // namespace dialogs
