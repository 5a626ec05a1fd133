#include "app/entry/TarveskApplication.h"

#include "settings/ErrorReport.h"

#include <exception>

namespace app {

TarveskApplication::TarveskApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The title is the application name; no display name is set, since the platform would append
    // it to every window's caption ("Проводник — Tarvesk").
    setApplicationName(QStringLiteral("Tarvesk"));
    setQuitOnLastWindowClosed(false);
}

void TarveskApplication::reportError(const std::string& message) const {
    if (m_report)
        m_report(message);
    else
        settings::showErrorReport(message, activeWindow());
}

bool TarveskApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        reportError(error.what());
    } catch (...) {
        reportError("Unknown error");
    }
    return true;
}

} // namespace app
