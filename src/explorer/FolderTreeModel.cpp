#include "explorer/FolderTreeModel.h"

#include "explorer/ExplorerPaths.h"

#include <QDir>
#include <QDirIterator>

#include <optional>

namespace explorer {

struct FolderTreeModel::Node {
    QString caption;
    std::string hostPath;
    Node* parent = nullptr;
    int row = 0;
    bool loaded = false;
    bool drive = false;
    // Whether an unread folder has subfolders, asked once: the view asks for every row it paints.
    std::optional<bool> hasFolders;
    std::vector<std::unique_ptr<Node>> children;
};

namespace {

QFileInfoList subfolders(const std::string& hostPath) {
    const QDir dir(QString::fromStdString(hostPath));
    return dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                             QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
}

std::string childPath(const std::string& parent, const QString& name) {
    return (parent == "/" ? std::string() : parent) + "/" + name.toStdString();
}

} // namespace

FolderTreeModel::FolderTreeModel(std::vector<widgets::FolderRoot> roots, QObject* parent)
    : QAbstractItemModel(parent), m_roots(std::move(roots)), m_top(std::make_unique<Node>()) {
    m_top->loaded = true;
    for (const auto& root : m_roots) {
        auto node = std::make_unique<Node>();
        node->caption = QString::fromStdString(root.caption);
        node->hostPath = root.hostPath;
        node->parent = m_top.get();
        node->row = static_cast<int>(m_top->children.size());
        node->drive = root.caption.size() == 2 && root.caption[1] == ':';
        m_top->children.push_back(std::move(node));
    }
}

FolderTreeModel::~FolderTreeModel() = default;

FolderTreeModel::Node* FolderTreeModel::nodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : m_top.get();
}

QModelIndex FolderTreeModel::indexOfNode(const Node* node) const {
    if (!node || node == m_top.get())
        return {};
    return createIndex(node->row, 0, const_cast<Node*>(node));
}

void FolderTreeModel::load(Node* node) {
    if (node->loaded)
        return;
    node->loaded = true;
    const QFileInfoList entries = subfolders(node->hostPath);
    if (entries.isEmpty())
        return;
    beginInsertRows(indexOfNode(node), 0, static_cast<int>(entries.size()) - 1);
    for (const QFileInfo& entry : entries) {
        auto child = std::make_unique<Node>();
        child->caption = entry.fileName();
        child->hostPath = childPath(node->hostPath, entry.fileName());
        child->parent = node;
        child->row = static_cast<int>(node->children.size());
        node->children.push_back(std::move(child));
    }
    endInsertRows();
}

QModelIndex FolderTreeModel::indexOf(const std::string& hostPath) {
    const int rootIndex = containingRoot(m_roots, hostPath);
    if (rootIndex < 0)
        return {};
    Node* node = m_top->children[static_cast<std::size_t>(rootIndex)].get();
    const auto chain = folderChain(node->hostPath, hostPath);
    for (std::size_t i = 1; i < chain.size(); ++i) {
        load(node);
        Node* next = nullptr;
        for (const auto& child : node->children)
            if (child->hostPath == chain[i])
                next = child.get();
        if (!next) {
            // Created since the folder was read: read it again once.
            reloadUnder(node, node->hostPath);
            for (const auto& child : node->children)
                if (child->hostPath == chain[i])
                    next = child.get();
        }
        if (!next)
            break;
        node = next;
    }
    return indexOfNode(node);
}

std::string FolderTreeModel::hostPath(const QModelIndex& index) const {
    return index.isValid() ? nodeOf(index)->hostPath : std::string();
}

void FolderTreeModel::reload(const std::string& hostPath) {
    for (const auto& root : m_top->children)
        reloadUnder(root.get(), hostPath);
}

void FolderTreeModel::reloadUnder(Node* node, const std::string& hostPath) {
    if (!node->loaded)
        return;
    if (node->hostPath != hostPath) {
        for (const auto& child : node->children)
            reloadUnder(child.get(), hostPath);
        return;
    }
    if (!node->children.empty()) {
        beginRemoveRows(indexOfNode(node), 0, static_cast<int>(node->children.size()) - 1);
        node->children.clear();
        endRemoveRows();
    }
    node->loaded = false;
    load(node);
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const Node* node = nodeOf(parent);
    if (column != 0 || row < 0 || row >= static_cast<int>(node->children.size()))
        return {};
    return createIndex(row, 0, node->children[static_cast<std::size_t>(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    return child.isValid() ? indexOfNode(nodeOf(child)->parent) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    return static_cast<int>(nodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
    Node* node = nodeOf(parent);
    if (node->loaded)
        return !node->children.empty();
    if (node->hasFolders)
        return *node->hasFolders;
    QDirIterator folders(QString::fromStdString(node->hostPath),
                         QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    node->hasFolders = folders.hasNext();
    return *node->hasFolders;
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const {
    return !nodeOf(parent)->loaded;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
    load(nodeOf(parent));
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const Node* node = nodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
        return node->caption;
    case Qt::DecorationRole:
        return m_icons.icon(node->drive ? QFileIconProvider::Drive : QFileIconProvider::Folder);
    case HostPathRole:
        return QString::fromStdString(node->hostPath);
    default:
        return {};
    }
}

} // namespace explorer
