#pragma once
#include <QString>

#include <functional>
#include <string>

class QDialog;
class QLineEdit;
class QWidget;

namespace platform {
class PathMapper;
}

namespace dialogs {

// An open-file request: one filter entry ("Приложение" for "*.exe"), its default extension, and
// only an existing file in an existing directory may be chosen.
struct FileRequest {
    QWidget* owner = nullptr;
    QString filterName;
    QString pattern;
    QString defaultSuffix;
};

// What the editing dialogs are given. Every member may be left empty: paths as the host gives
// them, the program's message boxes, the platform's file dialog, QDialog::exec.
struct DialogServices {
    const platform::PathMapper* pathMapper = nullptr;
    // The application's general error report.
    std::function<void(const std::string&)> reportError;
    // Host path of the chosen file, empty when cancelled.
    std::function<std::string(const FileRequest&)> chooseFile;
    // Runs a dialog modally and returns its result code.
    std::function<int(QDialog&)> exec;
    // Told every message about a character or a text an edit refused (also shown at the edit).
    std::function<void(const QString&)> refused;
};

int runModal(const DialogServices& services, QDialog& dialog);
void reportError(const DialogServices& services, const std::string& message, QWidget* owner);
// Host path of an existing file the user chose; empty when cancelled.
std::string chooseFile(const DialogServices& services, const FileRequest& request);
// Windows path of a host path through the path mapping; the host path itself without a mapping;
// empty when no drive leads to it.
std::string windowsPath(const DialogServices& services, const std::string& hostPath);

// Edits whose text is stored: at most maxLength characters, and only characters that
// Windows-1251 holds; a refused character is announced at the edit and to services.refused.
void guardEdit(QLineEdit* edit, int maxLength, const DialogServices& services);
// A new edit of this object name, guarded as guardEdit does.
QLineEdit* guardedEdit(const char* name, int maxLength, const DialogServices& services);
// Puts a text the user did not type (a chosen path, a stored value) into a guarded edit. A text
// that Windows-1251 cannot hold or that is longer than the edit takes is refused with a message
// and the edit keeps its text; false then.
bool setGuardedText(QLineEdit* edit, const std::string& text, const DialogServices& services);
// Puts the Windows path of a chosen host file into a guarded edit; a file no drive leads to is
// refused with a message. False when the edit kept its text.
bool setChosenFile(QLineEdit* edit, const std::string& hostPath, const DialogServices& services);
// The first of the edits whose text the tables could not store unchanged, announced; null when
// all are sound. Dialogs check this before they close confirmed.
QLineEdit* firstUnstorableEdit(std::initializer_list<QLineEdit*> edits, const DialogServices& services);

} // namespace dialogs
