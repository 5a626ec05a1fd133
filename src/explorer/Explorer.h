#pragma once
#include "app/LaunchSource.h"
#include "launch/LaunchViews.h"
#include "widgets/FolderRoots.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QAbstractItemView;
class QAction;
class QComboBox;
class QListView;
class QMenu;
class QStackedWidget;
class QToolButton;
class QTreeView;

namespace widgets {
class FolderTreeView;
}

namespace platform {
class PathMapper;
}

namespace explorer {

class FileListModel;

// Unit Explorer: the explorer window. It browses the folders of the host through three linked
// controls (the folder drop-down, the folder tree and the file list) and hands launches on the
// picked directory to the main window; the launcher reads the regime, the exclusive flag and
// the directory back through ExplorerView. Created once at start-up; closing only hides it.
// Regime, exclusive flag and view style start at 0, shared and large icons, and are not stored.
class TfrmExplorer : public QWidget, public launch::ExplorerView {
    Q_OBJECT
public:
    // What a launch calls: the main window's StartEnterprise, given lsExplorer.
    using StartEnterpriseHandler = std::function<void(app::LaunchSource)>;

    // paths: the Windows view of every path the window hands out; the trees' top entries come
    // from it (widgets::folderRoots). The window starts on the first top entry, hidden.
    explicit TfrmExplorer(const platform::PathMapper& paths, QWidget* parent = nullptr);
    ~TfrmExplorer() override;

    void setStartEnterprise(StartEnterpriseHandler handler);

    // ExplorerView, read at the moment of the call.
    int explorerRegime() const override;
    bool explorerExclusive() const override;
    std::string SelectedDirectory() const override;

    // The host folder the linked controls show, and a move of all three to another one.
    std::string currentFolder() const { return m_folder; }
    // root: the top entry the folder was chosen under, where two stand for the same folder ("Z:"
    // and "/"); -1 keeps the one shown so far.
    void ShowFolder(const std::string& hostPath, int root = -1);

    int viewStyle() const { return m_viewStyle; } // 0 large icons, 1 small icons, 2 list, 3 table

private:
    void buildToolbar(QWidget* toolbar);
    QMenu* buildRadioMenu(const char* name, const std::vector<const char*>& names,
                          const std::vector<const char*>& captions);
    void buildViews();
    void btnStartClick();
    void pmiStartClick(QAction* item);
    void btnStartModeClick(bool pressed);
    void pmiViewClick(QAction* item);
    void btnUpClick();
    void tvFolderChange(const QModelIndex& current);
    void cmbFolderChange(int item);
    void lvFilesOpen(const QModelIndex& item);
    void onFileRenamed(const QString& folder);
    void setViewStyle(int style);
    void fillDropDown();
    QAbstractItemView* fileView() const;
    bool isFileView(const QWidget* widget) const;

    const platform::PathMapper& m_paths;
    std::vector<widgets::FolderRoot> m_roots;
    StartEnterpriseHandler m_startEnterprise;
    std::string m_folder;
    int m_viewStyle = 0;
    int m_root = -1;       // the top entry the shown folder is under
    bool m_moving = false; // set while ShowFolder moves the controls, so they do not answer back

    FileListModel* m_fileModel = nullptr;
    QComboBox* m_cmbFolder = nullptr;
    QToolButton* m_btnUp = nullptr;
    QToolButton* m_btnView = nullptr;
    QToolButton* m_btnStart = nullptr;
    QToolButton* m_btnStartMode = nullptr;
    QMenu* m_pmuView = nullptr;
    QMenu* m_pmuStart = nullptr;
    widgets::FolderTreeView* m_tvFolder = nullptr;
    QStackedWidget* m_stkFiles = nullptr;
    QListView* m_lvFiles = nullptr;
    QTreeView* m_tvFiles = nullptr;
};

} // namespace explorer
