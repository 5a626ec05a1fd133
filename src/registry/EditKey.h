#pragma once
#include <QDialog>

#include <functional>
#include <optional>

class QLineEdit;

namespace registry {

// The directory chooser: the chosen directory (without a trailing "\"), or std::nullopt when it
// was not confirmed.
using DirectoryChooser = std::function<std::optional<QString>(QWidget* owner)>;
// Tells the user why the dialog refused to close.
using Warning = std::function<void(QWidget* owner, const QString& text)>;

// Unit EditKey: the key edit dialog of one Titles entry, edtName the title, edtPath the directory
// (at most 240 characters), btnFolderChoice the directory chooser. OK accepts only a non-empty
// directory and text Windows-1251 can hold: an empty value name would address the Titles key's
// unnamed default value, and other characters would reach the registry as "?".
class TfrmEditKey : public QDialog {
    Q_OBJECT
public:
    // Without a warning function a message box captioned "Tarvesk" warns.
    TfrmEditKey(QWidget* owner, DirectoryChooser chooser, Warning warning = {});

    void setFields(const QString& name, const QString& path);
    QString name() const;
    QString path() const;

    void accept() override;

    // Most characters that can be typed into edtPath.
    static constexpr int PathLimit = 240;
    // The text of the warning about an empty "Каталог".
    static QString emptyPathMessage();

protected:
    void showEvent(QShowEvent* event) override;

private:
    class PathValidator;

    void setPath(const QString& path);
    void chooseFolder();
    void warn(const QString& text);

    QLineEdit* m_name;
    QLineEdit* m_path;
    PathValidator* m_pathValidator;
    DirectoryChooser m_chooser;
    Warning m_warning;
    bool m_refusalPending = false;
};

} // namespace registry
