#pragma once
#include <QString>

#include <string>

class QWidget;

namespace settings {

// The text of the general error report: the message with a full stop appended when its last
// character sorts after "." (so "Disk full" and "Why?" get one, "Done." and "Stop!" do not).
QString errorReportText(const std::string& message);

// The general error report: a message box captioned "Tarvesk" with the error icon and OK.
void showErrorReport(const std::string& message, QWidget* parent = nullptr);

// A warning that does not stop anything: a message box captioned "Tarvesk" with the warning icon
// and OK, the text as it is.
void showWarning(const std::string& message, QWidget* parent = nullptr);

} // namespace settings
