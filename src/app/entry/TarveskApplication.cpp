#include "app/entry/TarveskApplication.h"

#include "settings/ErrorReport.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <exception>

namespace app {

TarveskApplication::TarveskApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The title is the application name; no display name is set, since the platform would append
    // it to every window's caption ("Проводник — Tarvesk").
    setApplicationName(QStringLiteral("Tarvesk"));
    setQuitOnLastWindowClosed(false);
    // The toolkit's own texts (the file dialogs, the "Да"/"Нет" of the questions) in Russian,
    // whatever the system's language; without Qt's translations installed they stay as they are.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    else
        delete translator;
}

void TarveskApplication::reportError(const std::string& message) const {
    if (m_report)
        m_report(message);
    else
        settings::showErrorReport(message, activeWindow());
}

void TarveskApplication::warn(const std::string& message) const {
    if (m_warn)
        m_warn(message);
    else
        settings::showWarning(message, activeWindow());
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
