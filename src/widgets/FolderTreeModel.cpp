#include "widgets/FolderTreeModel.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <unordered_set>
#include <utility>

namespace widgets {

struct FolderTreeModel::Node {
    QString caption;
    std::string name; // on disk, for a folder below a top entry
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

namespace fs = std::filesystem;

QString captionOf(const std::string& name) {
    return QString::fromStdString(name);
}

// Order of the tree: by name without regard to case, names differing only in case by code.
bool byName(const QString& left, const QString& right) {
    const int order = left.compare(right, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : left < right;
}

// Calls found(name) for the sub-folders of a host folder (links to folders count) while it
// returns true. Files, other special entries and links that lead nowhere are passed over; an
// unreadable folder has none.
template <class Found> void visitSubfolders(const std::string& hostPath, Found found) {
    std::error_code ec;
    fs::directory_iterator it(hostPath, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError) && !found(it->path().filename().string()))
            return;
    }
}

// Names of the sub-folders of a host folder in the tree's order.
std::vector<std::string> subfolderNames(const std::string& hostPath) {
    std::vector<std::pair<QString, std::string>> found;
    visitSubfolders(hostPath, [&found](std::string name) {
        found.emplace_back(captionOf(name), std::move(name));
        return true;
    });
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return byName(a.first, b.first); });
    std::vector<std::string> names;
    names.reserve(found.size());
    for (auto& entry : found)
        names.push_back(std::move(entry.second));
    return names;
}

bool hasSubfolder(const std::string& hostPath) {
    bool any = false;
    visitSubfolders(hostPath, [&any](const std::string&) {
        any = true;
        return false;
    });
    return any;
}

std::string childPath(const std::string& parent, const std::string& name) {
    return (parent == "/" ? std::string() : parent) + "/" + name;
}

} // namespace

FolderTreeModel::FolderTreeModel(std::vector<FolderRoot> roots, QObject* parent)
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

FolderTreeModel::Node* FolderTreeModel::childNamed(Node* node, const std::string& hostPath) {
    for (const auto& child : node->children)
        if (child->hostPath == hostPath)
            return child.get();
    return nullptr;
}

void FolderTreeModel::load(Node* node) {
    if (node->loaded)
        return;
    node->loaded = true;
    merge(node, subfolderNames(node->hostPath));
}

// Brings the children of a node in line with names (in the tree's order): children whose names
// are gone are removed, new names are inserted where they sort, the rest stay as they are. Rows
// change in runs of neighbours so that a first read is a single insertion.
void FolderTreeModel::merge(Node* node, const std::vector<std::string>& names) {
    const QModelIndex parent = indexOfNode(node);
    auto& children = node->children;
    const auto renumber = [&children](std::size_t from) {
        for (std::size_t i = from; i < children.size(); ++i)
            children[i]->row = static_cast<int>(i);
    };

    const std::unordered_set<std::string> present(names.begin(), names.end());
    const auto gone = [&](std::size_t row) { return present.count(children[row]->name) == 0; };
    for (std::size_t end = children.size(); end > 0;) {
        if (!gone(end - 1)) {
            --end;
            continue;
        }
        std::size_t first = end - 1;
        while (first > 0 && gone(first - 1))
            --first;
        beginRemoveRows(parent, static_cast<int>(first), static_cast<int>(end) - 1);
        children.erase(children.begin() + static_cast<std::ptrdiff_t>(first),
                       children.begin() + static_cast<std::ptrdiff_t>(end));
        renumber(first);
        endRemoveRows();
        end = first;
    }

    // What is left is a part of names in the same order: walk both and fill in the gaps.
    std::size_t at = 0;
    for (std::size_t i = 0; i < names.size();) {
        const auto kept = [&](std::size_t name) { return at < children.size() && children[at]->name == names[name]; };
        if (kept(i)) {
            ++at;
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < names.size() && !kept(end))
            ++end;
        beginInsertRows(parent, static_cast<int>(at), static_cast<int>(at + (end - i)) - 1);
        for (std::size_t name = i; name < end; ++name) {
            auto child = std::make_unique<Node>();
            child->caption = captionOf(names[name]);
            child->name = names[name];
            child->hostPath = childPath(node->hostPath, names[name]);
            child->parent = node;
            children.insert(children.begin() + static_cast<std::ptrdiff_t>(at + (name - i)), std::move(child));
        }
        renumber(at);
        endInsertRows();
        at += end - i;
        i = end;
    }
}

int FolderTreeModel::rootOf(const QModelIndex& index) const {
    if (!index.isValid())
        return -1;
    QModelIndex top = index;
    while (top.parent().isValid())
        top = top.parent();
    return top.row();
}

QModelIndex FolderTreeModel::indexOf(const std::string& hostPath, int preferredRoot) {
    const int rootIndex = containingRoot(m_roots, hostPath, preferredRoot);
    if (rootIndex < 0)
        return {};
    Node* node = m_top->children[static_cast<std::size_t>(rootIndex)].get();
    const auto chain = folderChain(node->hostPath, hostPath);
    for (std::size_t i = 1; i < chain.size(); ++i) {
        load(node);
        Node* next = childNamed(node, chain[i]);
        if (!next) {
            // Created since the folder was read: read it again once.
            merge(node, subfolderNames(node->hostPath));
            next = childNamed(node, chain[i]);
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
    if (node->hostPath == hostPath) {
        if (node->loaded) {
            merge(node, subfolderNames(hostPath));
        } else {
            node->hasFolders.reset();
            const QModelIndex index = indexOfNode(node);
            emit dataChanged(index, index);
        }
        return;
    }
    for (const auto& child : node->children)
        reloadUnder(child.get(), hostPath);
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
    if (!node->hasFolders)
        node->hasFolders = hasSubfolder(node->hostPath);
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

} // namespace widgets
