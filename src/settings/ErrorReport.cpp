#include "settings/ErrorReport.h"

#include <QMessageBox>

namespace settings {

QString errorReportText(const std::string& message) {
    QString text = QString::fromStdString(message);
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        text += QLatin1Char('.');
    return text;
}

void showErrorReport(const std::string& message, QWidget* parent) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tarvesk"), errorReportText(message), QMessageBox::Ok,
                    parent);
    box.exec();
}

void showWarning(const std::string& message, QWidget* parent) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tarvesk"), QString::fromStdString(message), QMessageBox::Ok,
                    parent);
    box.exec();
}

} // namespace settings
