#pragma once
#include "registry/TitlesImport.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>

class QWidget;

namespace registry {

struct KeyEditResult {
    QString name; // edtName: the title
    QString path; // edtPath: the directory
};

// The dialogs the synchronisation window runs. The program uses ReestrDialogs (the real
// windows); tests script the answers.
class ReestrUi {
public:
    virtual ~ReestrUi() = default;
    // The key edit dialog, owned by owner, with its fields preset; std::nullopt unless OK.
    virtual std::optional<KeyEditResult> editKey(QWidget* owner, const QString& name, const QString& path) = 0;
    // "Удалить выделенный ключ реестра?"; true for yes.
    virtual bool confirmDelete(QWidget* owner) = 0;
    // The save dialog of the export and the open dialog of the import; empty when cancelled.
    virtual QString exportFileName(QWidget* owner) = 0;
    virtual QString importFileName(QWidget* owner) = 0;
    // The key exists dialog of one import; it lives as long as the returned object.
    virtual std::unique_ptr<KeyExistsAsker> keyExistsAsker(QWidget* owner) = 0;
    // The application's general error report.
    virtual void reportError(QWidget* owner, const std::string& message) = 0;
};

} // namespace registry
