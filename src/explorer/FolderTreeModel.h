#pragma once
#include "widgets/FolderRoots.h"

#include <QAbstractItemModel>
#include <QFileIconProvider>

#include <memory>
#include <string>
#include <vector>

namespace explorer {

// The folder tree of the explorer window: the top entries of the program's folder trees, each
// with the folders below it (folders only, hidden ones included, sorted by name). A folder's
// children are read when it is first expanded and never re-read on their own: the tree does
// not follow changes on disk until reload() is asked for.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    static constexpr int HostPathRole = Qt::UserRole + 1;

    explicit FolderTreeModel(std::vector<widgets::FolderRoot> roots, QObject* parent = nullptr);
    ~FolderTreeModel() override;

    const std::vector<widgets::FolderRoot>& roots() const { return m_roots; }

    // The node of a host folder under the root that holds it (ExplorerPaths' containingRoot),
    // reading folders on the way as needed; a folder that is not (or no longer) on disk gives its
    // deepest existing ancestor. Invalid when no root holds the path.
    QModelIndex indexOf(const std::string& hostPath);
    // Host path of a node; empty for an invalid index.
    std::string hostPath(const QModelIndex& index) const;
    // Reads the children of every loaded node of this host folder again.
    void reload(const std::string& hostPath);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Node;
    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOfNode(const Node* node) const;
    void load(Node* node);
    void reloadUnder(Node* node, const std::string& hostPath);

    std::vector<widgets::FolderRoot> m_roots;
    std::unique_ptr<Node> m_top; // invisible parent of the roots
    QFileIconProvider m_icons;
};

} // namespace explorer
