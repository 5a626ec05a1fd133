#include "dialogs/FolderTree.h"

#include <QFileIconProvider>
#include <QMouseEvent>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace dialogs {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kReadRole = Qt::UserRole + 1;

namespace fs = std::filesystem;

// Sub-folders of a host folder (links to folders count), by name without regard to case.
// An unreadable folder has none.
std::vector<fs::path> subfolders(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code ec;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError))
            found.push_back(it->path());
    }
    std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
        const QString left = QString::fromStdString(a.filename().string());
        const QString right = QString::fromStdString(b.filename().string());
        const int order = left.compare(right, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : left < right;
    });
    return found;
}

QTreeWidgetItem* folderItem(const QString& caption, const std::string& hostPath, const QIcon& icon) {
    auto* item = new QTreeWidgetItem(QStringList{caption});
    item->setData(0, kPathRole, QString::fromStdString(hostPath));
    item->setIcon(0, icon);
    // Whether it has sub-folders is learnt when it is opened.
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

bool isUnder(const std::string& path, const std::string& folder) {
    if (folder == "/")
        return path.rfind('/', 0) == 0;
    return path.rfind(folder, 0) == 0 && (path.size() == folder.size() || path[folder.size()] == '/');
}

} // namespace

FolderTree::FolderTree(const std::vector<widgets::FolderRoot>& roots, QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(false);
    QFileIconProvider icons;
    for (const auto& root : roots)
        addTopLevelItem(
            folderItem(QString::fromStdString(root.caption), root.hostPath,
                       icons.icon(root.caption.size() == 2 ? QFileIconProvider::Drive : QFileIconProvider::Folder)));
    connect(this, &QTreeWidget::itemExpanded, this, &FolderTree::populate);
}

std::string FolderTree::selectedHostPath() const {
    const QTreeWidgetItem* item = currentItem();
    return item && item->isSelected() ? item->data(0, kPathRole).toString().toStdString() : std::string();
}

bool FolderTree::selectHostPath(const std::string& hostPath) {
    // The top entry that holds the folder most closely.
    QTreeWidgetItem* item = nullptr;
    std::size_t best = 0;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const std::string root = topLevelItem(i)->data(0, kPathRole).toString().toStdString();
        if (isUnder(hostPath, root) && (!item || root.size() > best)) {
            item = topLevelItem(i);
            best = root.size();
        }
    }
    if (!item)
        return false;
    while (item->data(0, kPathRole).toString().toStdString() != hostPath) {
        populate(item);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (isUnder(hostPath, item->child(i)->data(0, kPathRole).toString().toStdString()))
                next = item->child(i);
        if (!next)
            return false;
        item->setExpanded(true);
        item = next;
    }
    setCurrentItem(item);
    scrollToItem(item);
    return true;
}

void FolderTree::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        if (QTreeWidgetItem* item = itemAt(event->position().toPoint()))
            setCurrentItem(item);
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void FolderTree::populate(QTreeWidgetItem* item) {
    if (item->data(0, kReadRole).toBool())
        return;
    item->setData(0, kReadRole, true);
    QFileIconProvider icons;
    const QIcon folderIcon = icons.icon(QFileIconProvider::Folder);
    for (const auto& folder : subfolders(item->data(0, kPathRole).toString().toStdString()))
        item->addChild(folderItem(QString::fromStdString(folder.filename().string()), folder.string(), folderIcon));
    if (item->childCount() == 0)
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

} // namespace dialogs
