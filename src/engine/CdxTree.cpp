#include "engine/CdxTree.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace engine::cdx {

CdxTree::CdxTree(CdxPager& pager, std::uint32_t headerOffset, std::uint16_t keyLength, char pad)
    : m_pager(pager), m_header(headerOffset), m_codec(keyLength, pad) {}

std::uint32_t CdxTree::root() {
    return getLe32(&m_pager.read(m_header)[kHdrRoot]);
}

CdxNode CdxTree::load(std::uint32_t offset) {
    return *view(offset);
}

std::shared_ptr<const CdxNode> CdxTree::view(std::uint32_t offset) {
    if (offset < kHeaderSize)
        m_pager.damaged("a tree points to page " + hexOffset(offset) + " inside the compound header");
    if (auto cached = m_pager.cachedNode(offset, m_codec.keyLength()))
        return cached;
    auto node = std::make_shared<const CdxNode>(m_codec.decode(m_pager.read(offset), offset, m_pager.fileName()));
    m_pager.keepNode(offset, m_codec.keyLength(), node);
    return node;
}

void CdxTree::store(const CdxNode& node) {
    Page page;
    m_codec.encode(node, page);
    m_pager.put(node.offset, page);
}

void CdxTree::setRoot(std::uint32_t offset) {
    putLe32(&m_pager.modify(m_header)[kHdrRoot], offset);
}

void CdxTree::setSibling(std::uint32_t offset, bool leftField, std::uint32_t value) {
    if (offset == kNone)
        return;
    if (offset < kHeaderSize)
        m_pager.damaged("a sibling link points to page " + hexOffset(offset));
    putLe32(&m_pager.modify(offset)[leftField ? 4 : 8], value);
}

CdxTree::Path CdxTree::descend(const Pred& atOrPast) {
    Path path;
    std::uint32_t offset = root();
    for (;;) {
        if (path.size() >= kMaxDepth)
            m_pager.damaged("tree at header " + hexOffset(m_header) + " is deeper than " + std::to_string(kMaxDepth) +
                            " levels");
        for (const Step& s : path)
            if (s.node.offset == offset)
                m_pager.damaged("tree at header " + hexOffset(m_header) + " loops back to page " + hexOffset(offset));
        Step step{load(offset), 0};
        step.node.root = path.empty();
        const auto& entries = step.node.entries;
        auto it = std::find_if(entries.begin(), entries.end(), atOrPast);
        step.index = static_cast<std::size_t>(it - entries.begin());
        if (step.node.leaf) {
            path.push_back(std::move(step));
            return path;
        }
        if (entries.empty())
            m_pager.damaged("interior node " + hexOffset(offset) + " has no keys");
        if (step.index == entries.size())
            step.index = entries.size() - 1;
        offset = step.node.children[step.index];
        path.push_back(std::move(step));
    }
}

std::optional<CdxEntry> CdxTree::scanRight(const Path& path, const Pred& accept) {
    const CdxNode* node = &path.back().node;
    std::size_t i = path.back().index;
    CdxNode next;
    std::unordered_set<std::uint32_t> seen{node->offset};
    for (;;) {
        for (; i < node->entries.size(); ++i)
            if (accept(node->entries[i]))
                return node->entries[i];
        if (node->right == kNone)
            return std::nullopt;
        if (!seen.insert(node->right).second)
            m_pager.damaged("sibling chain loops at page " + hexOffset(node->right));
        next = load(node->right);
        node = &next;
        i = 0;
    }
}

std::optional<CdxEntry> CdxTree::scanLeft(const Path& path, const Pred& accept) {
    const CdxNode* node = &path.back().node;
    std::size_t i = path.back().index; // entries before i are candidates
    CdxNode next;
    std::unordered_set<std::uint32_t> seen{node->offset};
    for (;;) {
        for (; i > 0; --i)
            if (accept(node->entries[i - 1]))
                return node->entries[i - 1];
        if (node->left == kNone)
            return std::nullopt;
        if (!seen.insert(node->left).second)
            m_pager.damaged("sibling chain loops at page " + hexOffset(node->left));
        next = load(node->left);
        node = &next;
        i = node->entries.size();
    }
}

CdxNode CdxTree::edgeLeaf(bool leftmost) {
    Path path = descend([leftmost](const CdxEntry&) { return leftmost; });
    return std::move(path.back().node);
}

std::optional<CdxEntry> CdxTree::first() {
    Path path{{edgeLeaf(true), 0}};
    return scanRight(path, [](const CdxEntry&) { return true; });
}

std::optional<CdxEntry> CdxTree::last() {
    Path path{{edgeLeaf(false), 0}};
    path.back().index = path.back().node.entries.size();
    return scanLeft(path, [](const CdxEntry&) { return true; });
}

std::optional<CdxEntry> CdxTree::after(const CdxEntry& position) {
    Pred past = [&position](const CdxEntry& e) { return compareEntries(e, position) > 0; };
    return scanRight(descend(past), past);
}

std::optional<CdxEntry> CdxTree::before(const CdxEntry& position) {
    Path path = descend([&position](const CdxEntry& e) { return compareEntries(e, position) >= 0; });
    return scanLeft(path, [&position](const CdxEntry& e) { return compareEntries(e, position) < 0; });
}

std::optional<CdxEntry> CdxTree::seekPrefix(std::string_view prefix) {
    auto cmp = [prefix](const CdxEntry& e) { return std::memcmp(e.key.data(), prefix.data(), prefix.size()); };
    Path path = descend([&cmp](const CdxEntry& e) { return cmp(e) >= 0; });
    std::optional<CdxEntry> found = scanRight(path, [&cmp](const CdxEntry& e) { return cmp(e) >= 0; });
    if (found && cmp(*found) == 0)
        return found;
    return std::nullopt;
}

void CdxTree::walkLeaves(const std::function<bool(const CdxNode&)>& visit) {
    CdxNode node = edgeLeaf(true);
    std::unordered_set<std::uint32_t> seen{node.offset};
    while (visit(node) && node.right != kNone) {
        if (!seen.insert(node.right).second)
            m_pager.damaged("sibling chain loops at page " + hexOffset(node.right));
        node = load(node.right);
        if (!node.leaf)
            m_pager.damaged("leaf chain reaches interior node " + hexOffset(node.offset));
    }
}

std::optional<CdxEntry> CdxTree::findRecord(std::uint32_t recno) {
    std::optional<CdxEntry> found;
    walkLeaves([&](const CdxNode& leaf) {
        for (const CdxEntry& e : leaf.entries)
            if (e.recno == recno) {
                found = e;
                return false;
            }
        return true;
    });
    return found;
}

std::uint64_t CdxTree::count() {
    std::uint64_t n = 0;
    walkLeaves([&n](const CdxNode& leaf) {
        n += leaf.entries.size();
        return true;
    });
    return n;
}

std::vector<std::uint32_t> CdxTree::pages() {
    std::vector<std::uint32_t> result;
    std::unordered_set<std::uint32_t> seen;
    std::vector<std::pair<std::uint32_t, std::size_t>> stack{{root(), 0}};
    while (!stack.empty()) {
        auto [offset, depth] = stack.back();
        stack.pop_back();
        if (depth >= kMaxDepth)
            m_pager.damaged("tree at header " + hexOffset(m_header) + " is too deep");
        if (!seen.insert(offset).second)
            m_pager.damaged("page " + hexOffset(offset) + " is reached twice in the tree at header " +
                            hexOffset(m_header));
        CdxNode node = load(offset);
        result.push_back(offset);
        if (!node.leaf)
            for (std::uint32_t child : node.children)
                stack.emplace_back(child, depth + 1);
    }
    return result;
}

} // namespace engine::cdx
