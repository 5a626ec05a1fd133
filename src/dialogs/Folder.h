#pragma once
#include <QDialog>

#include <string>

class QLineEdit;

namespace platform {
class PathMapper;
}

namespace widgets {
class FolderTreeView;
}

namespace dialogs {

// "Выбор каталога": picks a folder from a tree of the user's home, the drives and the root.
class TfrmFolder : public QDialog {
    Q_OBJECT
public:
    // paths: how host folders are named for Windows programs; null shows and returns host paths.
    explicit TfrmFolder(const platform::PathMapper* paths, QWidget* owner = nullptr);

    // Windows path of the folder selected in ShellTreeView, without a trailing "\" except for a
    // drive root; empty when nothing is selected or no drive leads to it.
    std::string SelectedPath() const;
    widgets::FolderTreeView* tree() const { return m_tree; }

private:
    void ShellTreeViewChange();

    const platform::PathMapper* m_paths;
    widgets::FolderTreeView* m_tree = nullptr;
    QLineEdit* m_folder = nullptr;
};

} // namespace dialogs
