#pragma once
#include <QApplication>

#include <functional>
#include <string>

namespace app {

// The application object: its title is "Tarvesk", it ends only when told to (never because its
// last window closed), and an error that escapes the handling of any event goes to the general
// error report, after which the program keeps running.
class TarveskApplication : public QApplication {
public:
    TarveskApplication(int& argc, char** argv);

    // Replaces the message box (tests).
    void setErrorReport(std::function<void(const std::string&)> report) { m_report = std::move(report); }
    void reportError(const std::string& message) const;
    // A warning shown once where it arises (the message box with the warning icon); tests replace it.
    void setWarning(std::function<void(const std::string&)> warn) { m_warn = std::move(warn); }
    void warn(const std::string& message) const;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::function<void(const std::string&)> m_report;
    std::function<void(const std::string&)> m_warn;
};

} // namespace app
