#pragma once
#include "widgets/FolderRoots.h"

#include <QAbstractItemModel>
#include <QFileIconProvider>

#include <memory>
#include <string>
#include <vector>

namespace widgets {

// The folder trees of the program (the directory chooser and the explorer window): the top
// entries of folderRoots, each with the folders below it: folders only (links to folders count),
// hidden ones included, sorted by name without regard to case. A folder's children are read when
// it is first opened; until then it is asked once whether it has any. The tree does not follow
// changes on disk by itself: reload() reads a folder again.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    static constexpr int HostPathRole = Qt::UserRole + 1;

    explicit FolderTreeModel(std::vector<FolderRoot> roots, QObject* parent = nullptr);
    ~FolderTreeModel() override;

    const std::vector<FolderRoot>& roots() const { return m_roots; }

    // The node of a host folder under the root that holds it most closely (containingRoot),
    // reading folders on the way as needed; a folder that is not (or no longer) on disk gives its
    // deepest existing ancestor. Invalid when no root holds the path.
    // Between roots of the same folder, preferredRoot wins (see containingRoot).
    QModelIndex indexOf(const std::string& hostPath, int preferredRoot = -1);
    // Index of the top entry a node lies under; -1 for an invalid index.
    int rootOf(const QModelIndex& index) const;
    // Host path of a node; empty for an invalid index.
    std::string hostPath(const QModelIndex& index) const;
    // Reads again the children of every read node of this host folder: folders gone from disk
    // leave, new ones come in at their place, the others keep their nodes and what was read below
    // them. An unread node of it forgets whether it has subfolders.
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
    Node* childNamed(Node* node, const std::string& hostPath);
    void load(Node* node);
    void merge(Node* node, const std::vector<std::string>& names);
    void reloadUnder(Node* node, const std::string& hostPath);

    std::vector<FolderRoot> m_roots;
    std::unique_ptr<Node> m_top; // invisible parent of the roots
    QFileIconProvider m_icons;
};

} // namespace widgets
