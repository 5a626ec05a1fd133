#include "widgets/FolderTreeView.h"

#include "widgets/FolderTreeModel.h"

namespace widgets {

FolderTreeView::FolderTreeView(std::vector<FolderRoot> roots, QWidget* parent)
    : QTreeView(parent), m_model(new FolderTreeModel(std::move(roots), this)) {
    setModel(m_model);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

std::string FolderTreeView::selectedHostPath() const {
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? m_model->hostPath(current) : std::string();
}

bool FolderTreeView::selectHostPath(const std::string& hostPath, int preferredRoot) {
    const QModelIndex node = m_model->indexOf(hostPath, preferredRoot);
    for (QModelIndex above = node.parent(); above.isValid(); above = above.parent())
        expand(above);
    setCurrentIndex(node);
    if (node.isValid())
        scrollTo(node);
    return node.isValid() && m_model->hostPath(node) == hostPath;
}

} // namespace widgets
