#include "dialogs/Folder.h"

#include "dialogs/DialogParts.h"
#include "platform/PathMapper.h"
#include "widgets/FolderRoots.h"
#include "widgets/FolderTreeModel.h"
#include "widgets/FolderTreeView.h"

#include <QLineEdit>
#include <QVBoxLayout>

#include <cstdlib>
#include <filesystem>

namespace dialogs {
namespace {

std::vector<widgets::FolderRoot> treeRoots(const platform::PathMapper* paths) {
    if (paths)
        return widgets::folderRoots(*paths);
    std::vector<widgets::FolderRoot> roots;
    std::error_code ec;
    if (const char* home = std::getenv("HOME"); home && *home && std::filesystem::is_directory(home, ec))
        roots.push_back({"Домашняя папка", home});
    roots.push_back({"/", "/"});
    return roots;
}

} // namespace

TfrmFolder::TfrmFolder(const platform::PathMapper* paths, QWidget* owner) : QDialog(owner), m_paths(paths) {
    setObjectName(QStringLiteral("frmFolder"));
    setWindowTitle(QString::fromUtf8("Выбор каталога"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    m_tree = new widgets::FolderTreeView(treeRoots(paths));
    m_tree->setExpandsOnDoubleClick(false);
    m_tree->setObjectName(QStringLiteral("ShellTreeView"));
    m_folder = namedEdit("stxFolder");
    m_folder->setReadOnly(true);
    m_folder->setFocusPolicy(Qt::ClickFocus);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_folder);
    layout->addLayout(okCancelRow(this));

    setFixedWidth(320);
    setMinimumHeight(240);
    resize(320, 400);

    connect(m_tree->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TfrmFolder::ShellTreeViewChange);
    connect(m_tree, &QTreeView::doubleClicked, this, &QDialog::accept);
    m_tree->setCurrentIndex(m_tree->folderModel()->index(0, 0));
    m_tree->setFocus();
}

std::string TfrmFolder::SelectedPath() const {
    const std::string host = m_tree->selectedHostPath();
    if (host.empty() || !m_paths)
        return host;
    std::string windows = m_paths->toWindows(host);
    // "C:\Bases\" names the same folder as "C:\Bases"; only a drive root keeps its "\".
    if (windows.size() > 3 && windows.back() == '\\')
        windows.pop_back();
    return windows;
}

void TfrmFolder::ShellTreeViewChange() {
    m_folder->setText(QString::fromStdString(SelectedPath()));
}

} // namespace dialogs
