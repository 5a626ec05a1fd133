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

void CdxTree::keep(CdxNode&& node, const Page& page) {
    if (node.leaf)
        node.storedFree = node.actualFree = getLe16(&page[12]);
    const std::uint32_t offset = node.offset;
    m_pager.put(offset, page);
    if (!m_bulk)
        m_pager.keepNode(offset, m_codec.keyLength(), std::make_shared<const CdxNode>(std::move(node)));
}

void CdxTree::store(const CdxNode& node) {
    store(CdxNode(node));
}

void CdxTree::store(CdxNode&& node) {
    Page page;
    m_codec.encode(node, page);
    keep(std::move(node), page);
}

CdxNode& CdxTree::edit(Step& step) {
    if (!step.copy) {
        m_pager.forget(step.view->offset);
        if (step.view.use_count() == 1) // ours alone: nothing else sees it change
            step.copy = std::make_unique<CdxNode>(std::move(const_cast<CdxNode&>(*step.view)));
        else
            step.copy = std::make_unique<CdxNode>(*step.view);
        step.view.reset();
        step.copy->root = step.root;
    }
    return *step.copy;
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
    path.reserve(16);
    std::uint32_t offset = root();
    for (;;) {
        if (path.size() >= kMaxDepth)
            m_pager.damaged("tree at header " + hexOffset(m_header) + " is deeper than " + std::to_string(kMaxDepth) +
                            " levels");
        for (const Step& s : path)
            if (s.node().offset == offset)
                m_pager.damaged("tree at header " + hexOffset(m_header) + " loops back to page " + hexOffset(offset));
        Step step;
        step.view = view(offset);
        step.root = path.empty();
        const CdxNode& node = *step.view;
        // Keys are in order: the entries that are not yet at or past the place come first.
        std::size_t lo = 0, hi = node.size();
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (atOrPast(node.ref(mid)))
                hi = mid;
            else
                lo = mid + 1;
        }
        step.index = lo;
        if (node.leaf) {
            path.push_back(std::move(step));
            return path;
        }
        if (node.empty())
            m_pager.damaged("interior node " + hexOffset(offset) + " has no keys");
        if (step.index == node.size())
            step.index = node.size() - 1;
        offset = node.children[step.index];
        path.push_back(std::move(step));
    }
}

std::optional<CdxEntry> CdxTree::scanRight(const Path& path, const Pred& accept) {
    std::shared_ptr<const CdxNode> held;
    const CdxNode* node = &path.back().node();
    std::size_t i = path.back().index;
    std::unordered_set<std::uint32_t> seen{node->offset};
    for (;;) {
        for (; i < node->size(); ++i)
            if (accept(node->ref(i)))
                return node->entry(i);
        if (node->right == kNone)
            return std::nullopt;
        if (!seen.insert(node->right).second)
            m_pager.damaged("sibling chain loops at page " + hexOffset(node->right));
        held = view(node->right);
        node = held.get();
        i = 0;
    }
}

std::optional<CdxEntry> CdxTree::scanLeft(const Path& path, const Pred& accept) {
    std::shared_ptr<const CdxNode> held;
    const CdxNode* node = &path.back().node();
    std::size_t i = path.back().index; // entries before i are candidates
    std::unordered_set<std::uint32_t> seen{node->offset};
    for (;;) {
        for (; i > 0; --i)
            if (accept(node->ref(i - 1)))
                return node->entry(i - 1);
        if (node->left == kNone)
            return std::nullopt;
        if (!seen.insert(node->left).second)
            m_pager.damaged("sibling chain loops at page " + hexOffset(node->left));
        held = view(node->left);
        node = held.get();
        i = node->size();
    }
}

std::shared_ptr<const CdxNode> CdxTree::edgeLeaf(bool leftmost) {
    Path path = descend([leftmost](const KeyRef&) { return leftmost; });
    return path.back().view;
}

std::optional<CdxEntry> CdxTree::first() {
    Path path = descend([](const KeyRef&) { return true; });
    return scanRight(path, [](const KeyRef&) { return true; });
}

std::optional<CdxEntry> CdxTree::last() {
    Path path = descend([](const KeyRef&) { return false; });
    return scanLeft(path, [](const KeyRef&) { return true; });
}

std::optional<CdxEntry> CdxTree::after(const CdxEntry& position) {
    const KeyRef at = refOf(position);
    const char pad = m_codec.pad();
    Pred past = [&at, pad](const KeyRef& key) { return compareRefs(key, at, pad) > 0; };
    return scanRight(descend(past), past);
}

std::optional<CdxEntry> CdxTree::before(const CdxEntry& position) {
    const KeyRef at = refOf(position);
    const char pad = m_codec.pad();
    Path path = descend([&at, pad](const KeyRef& key) { return compareRefs(key, at, pad) >= 0; });
    return scanLeft(path, [&at, pad](const KeyRef& key) { return compareRefs(key, at, pad) < 0; });
}

namespace {

// Order of a key (by its body) against a prefix over the prefix's length.
int comparePrefix(std::string_view body, std::string_view prefix, char pad) {
    const std::size_t n = std::min(body.size(), prefix.size());
    if (const int c = std::memcmp(body.data(), prefix.data(), n))
        return c;
    const auto padByte = static_cast<unsigned char>(pad);
    for (std::size_t i = n; i < prefix.size(); ++i) // the key goes on with pad
        if (static_cast<unsigned char>(prefix[i]) != padByte)
            return padByte < static_cast<unsigned char>(prefix[i]) ? -1 : 1;
    return 0;
}

} // namespace

std::optional<CdxEntry> CdxTree::seekPrefix(std::string_view prefix) {
    const char pad = m_codec.pad();
    Pred atOrPast = [prefix, pad](const KeyRef& key) { return comparePrefix(key.body, prefix, pad) >= 0; };
    std::optional<CdxEntry> found = scanRight(descend(atOrPast), atOrPast);
    if (found && std::memcmp(found->key.data(), prefix.data(), prefix.size()) == 0)
        return found;
    return std::nullopt;
}

void CdxTree::walkLeaves(const std::function<bool(const CdxNode&)>& visit) {
    std::shared_ptr<const CdxNode> node = edgeLeaf(true);
    std::unordered_set<std::uint32_t> seen{node->offset};
    while (visit(*node) && node->right != kNone) {
        if (!seen.insert(node->right).second)
            m_pager.damaged("sibling chain loops at page " + hexOffset(node->right));
        node = view(node->right);
        if (!node->leaf)
            m_pager.damaged("leaf chain reaches interior node " + hexOffset(node->offset));
    }
}

std::optional<CdxEntry> CdxTree::findRecord(std::uint32_t recno) {
    std::optional<CdxEntry> found;
    walkLeaves([&](const CdxNode& leaf) {
        for (std::size_t i = 0; i < leaf.size(); ++i)
            if (leaf.recnos[i] == recno) {
                found = leaf.entry(i);
                return false;
            }
        return true;
    });
    return found;
}

std::uint64_t CdxTree::count() {
    std::uint64_t n = 0;
    walkLeaves([&n](const CdxNode& leaf) {
        n += leaf.size();
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
        std::shared_ptr<const CdxNode> node = view(offset);
        result.push_back(offset);
        if (!node->leaf)
            for (std::uint32_t child : node->children)
                stack.emplace_back(child, depth + 1);
    }
    return result;
}

} // namespace engine::cdx
