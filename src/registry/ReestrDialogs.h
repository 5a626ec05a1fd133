#pragma once
#include "registry/EditKey.h"
#include "registry/ReestrUi.h"

#include <functional>

namespace registry {

// The general error report as the program shows it (a message box captioned "Tarvesk").
using ErrorReport = std::function<void(QWidget* owner, const std::string& message)>;

// The real dialogs: TfrmEditKey, TfrmRefreshDialog, the standard confirmation box and the file
// dialogs of the export and the import.
class ReestrDialogs : public ReestrUi {
public:
    ReestrDialogs(DirectoryChooser chooser, ErrorReport report);

    std::optional<KeyEditResult> editKey(QWidget* owner, const QString& name, const QString& path) override;
    bool confirmDelete(QWidget* owner) override;
    QString exportFileName(QWidget* owner) override;
    QString importFileName(QWidget* owner) override;
    std::unique_ptr<KeyExistsAsker> keyExistsAsker(QWidget* owner) override;
    void reportError(QWidget* owner, const std::string& message) override;

    static QString deleteQuestion();
    static QString exportFilter();
    static QString importFilter();

private:
    DirectoryChooser m_chooser;
    ErrorReport m_report;
};

} // namespace registry
