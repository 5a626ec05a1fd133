// Changes of a tag's B-tree: insertion with splits, removal with freeing and merging, bulk load.
#include "engine/CdxTree.h"

#include <algorithm>

namespace engine::cdx {

bool CdxTree::fits(const CdxNode& node) const {
    if (node.leaf)
        return m_codec.leafFits(node);
    return node.size() <= m_codec.maxInteriorEntries();
}

bool CdxTree::underFull(const CdxNode& node) const {
    if (node.leaf)
        return m_codec.leafBytes(node, 0, node.size()) * 2 <= kLeafCapacity;
    return node.size() * 2 <= m_codec.maxInteriorEntries();
}

std::vector<std::size_t> CdxTree::packLeaves(const CdxNode& node) const {
    // Greedy: every leaf takes as many entries as fit.
    std::vector<std::size_t> starts{0};
    std::size_t count = 0, text = 0;
    std::uint32_t maxRecno = 0;
    for (std::size_t i = 0; i < node.size(); ++i) {
        std::size_t t = m_codec.textLength(node, i, count == 0);
        std::uint32_t m = std::max(maxRecno, node.recnos[i]);
        if (count > 0 && (count + 1) * m_codec.layoutFor(m).entryBytes + text + t > kLeafCapacity) {
            starts.push_back(i);
            count = 0;
            text = m_codec.textLength(node, i, true);
            maxRecno = node.recnos[i];
        } else {
            text += t;
            maxRecno = m;
        }
        ++count;
    }
    return starts;
}

std::vector<std::size_t> CdxTree::splitPoints(const CdxNode& node, std::size_t lo, std::size_t hi) const {
    // Where the node grew decides the split: grown at its end (ascending keys), the left part is
    // filled and the right one keeps what is left; grown at its start, the other way round; grown
    // inside, both get about half. So appending or prepending never leaves a trail of thin nodes.
    std::size_t n = node.size();
    bool atEnd = hi + 1 >= n, atStart = lo == 0 && !atEnd;
    if (!node.leaf) {
        std::size_t max = m_codec.maxInteriorEntries();
        if (n > 2 * max) {
            std::vector<std::size_t> starts;
            for (std::size_t i = 0; i < n; i += max)
                starts.push_back(i);
            return starts;
        }
        return {0, atEnd ? max : atStart ? n - max : n / 2};
    }
    std::vector<std::size_t> text(n), firstText(n);
    std::vector<std::uint32_t> maxBefore(n + 1, 0), maxFrom(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        firstText[i] = m_codec.textLength(node, i, true);
        text[i] = i == 0 ? firstText[i] : m_codec.textLength(node, i, false);
        maxBefore[i + 1] = std::max(maxBefore[i], node.recnos[i]);
    }
    for (std::size_t i = n; i-- > 0;)
        maxFrom[i] = std::max(maxFrom[i + 1], node.recnos[i]);
    std::size_t total = 0;
    for (std::size_t t : text)
        total += t;
    std::size_t best = 0, bestDiff = SIZE_MAX, leftText = 0;
    for (std::size_t s = 1; s < n; ++s) {
        leftText += text[s - 1];
        std::size_t left = s * m_codec.layoutFor(maxBefore[s]).entryBytes + leftText;
        std::size_t right =
            (n - s) * m_codec.layoutFor(maxFrom[s]).entryBytes + firstText[s] + (total - leftText - text[s]);
        if (left > kLeafCapacity || right > kLeafCapacity)
            continue;
        if (atEnd) { // the last split that fits
            best = s;
            continue;
        }
        if (atStart) { // the first split that fits
            best = best == 0 ? s : best;
            continue;
        }
        std::size_t diff = left > right ? left - right : right - left;
        if (diff < bestDiff) {
            bestDiff = diff;
            best = s;
        }
    }
    if (best != 0)
        return {0, best};
    return packLeaves(node); // no two-way split fits: as many leaves as needed
}

std::vector<CdxTree::Part> CdxTree::storeGroups(CdxNode& node, const std::vector<std::size_t>& starts) {
    std::vector<std::uint32_t> offsets{node.offset};
    for (std::size_t g = 1; g < starts.size(); ++g)
        offsets.push_back(m_pager.allocate());
    std::uint32_t oldRight = node.right;
    std::vector<Part> parts;
    for (std::size_t g = 0; g < starts.size(); ++g) {
        std::size_t from = starts[g];
        std::size_t to = g + 1 < starts.size() ? starts[g + 1] : node.size();
        CdxNode part = node.emptyLike();
        part.offset = offsets[g];
        part.leaf = node.leaf;
        part.root = node.root && starts.size() == 1;
        part.left = g == 0 ? node.left : offsets[g - 1];
        part.right = g + 1 < starts.size() ? offsets[g + 1] : oldRight;
        part.append(node, from, to);
        parts.push_back({part.offset, part.back()});
        store(std::move(part));
    }
    if (starts.size() > 1)
        setSibling(oldRight, true, offsets.back());
    return parts;
}

std::vector<CdxTree::Part> CdxTree::storeSplitting(CdxNode& node, std::size_t lo, std::size_t hi) {
    // Encoding tells whether the node fits: most changes need no split and no second pass.
    Page page;
    if (m_codec.tryEncode(node, page)) {
        std::vector<Part> parts{{node.offset, node.back()}};
        keep(std::move(node), page);
        return parts;
    }
    return storeGroups(node, splitPoints(node, lo, hi));
}

bool CdxTree::rotate(CdxNode& node, Step& parentStep, std::size_t index) {
    // An interior node one entry too many hands its first entry to the left sibling or its last
    // one to the right sibling under the same parent, when that sibling has room.
    std::size_t max = m_codec.maxInteriorEntries();
    if (node.leaf || node.size() != max + 1)
        return false;
    for (std::size_t other : {index - 1, index + 1}) {
        if (other >= parentStep.node().children.size()) // index - 1 wraps around for the first child
            continue;
        CdxNode sibling = load(parentStep.node().children[other]);
        if (sibling.leaf || sibling.size() >= max ||
            (other < index ? sibling.right != node.offset : sibling.left != node.offset))
            continue;
        CdxNode& parent = edit(parentStep);
        if (other < index) {
            sibling.append(node, 0, 1);
            node.erase(0);
            parent.set(other, sibling.back());
            parent.set(index, node.back()); // the node may have grown at its end too
        } else {
            // The last entry goes in front of the sibling's.
            CdxNode moved = sibling.emptyLike();
            moved.leaf = false;
            moved.offset = sibling.offset;
            moved.left = sibling.left;
            moved.right = sibling.right;
            moved.append(node, node.size() - 1, node.size());
            moved.append(sibling, 0, sibling.size());
            sibling = std::move(moved);
            node.erase(node.size() - 1);
            parent.set(index, node.back());
        }
        store(std::move(sibling));
        store(std::move(node));
        return true;
    }
    return false;
}

bool CdxTree::share(CdxNode& node, Step& parentStep, std::size_t index) {
    // A leaf that overflows shares its entries with a neighbour under the same parent that has a
    // good deal of room: no new page, and leaves filled by keys in random order stay fuller.
    if (!node.leaf)
        return false;
    for (std::size_t other : {index + 1, index - 1}) {
        if (other >= parentStep.node().children.size()) // index - 1 wraps around for the first child
            continue;
        std::shared_ptr<const CdxNode> neighbour = view(parentStep.node().children[other]);
        if (!neighbour->leaf || neighbour->actualFree < kLeafCapacity / 8)
            continue;
        const CdxNode& left = other > index ? node : *neighbour;
        const CdxNode& right = other > index ? *neighbour : node;
        if (left.right != right.offset || right.left != left.offset)
            continue;
        CdxNode both = node.emptyLike();
        both.bodies.reserve(left.bodies.size() + right.bodies.size());
        both.append(left, 0, left.size());
        both.append(right, 0, right.size());
        const std::size_t middle = both.size() / 2;
        std::vector<std::size_t> starts = splitPoints(both, middle, middle);
        if (starts.size() != 2)
            continue;
        CdxNode first = node.emptyLike(), second = node.emptyLike();
        first.offset = left.offset;
        first.left = left.left;
        first.right = right.offset;
        second.offset = right.offset;
        second.left = left.offset;
        second.right = right.right;
        first.append(both, 0, starts[1]);
        second.append(both, starts[1], both.size());
        CdxNode& parent = edit(parentStep);
        const std::size_t at = std::min(index, other);
        parent.set(at, first.back());
        parent.set(at + 1, second.back());
        neighbour.reset();
        store(std::move(first));
        store(std::move(second));
        return true;
    }
    return false;
}

void CdxTree::growRoot(std::vector<Part> parts) {
    while (parts.size() > 1) {
        CdxNode root(m_codec.keyLength(), m_codec.pad());
        root.offset = m_pager.allocate();
        root.leaf = false;
        root.root = true;
        for (Part& p : parts) {
            root.push_back(p.max.key, p.max.recno);
            root.children.push_back(p.offset);
        }
        setRoot(root.offset);
        parts = storeSplitting(root, 0, root.size() - 1);
    }
}

bool CdxTree::insert(const CdxEntry& entry) {
    const KeyRef target = refOf(entry);
    const char pad = m_codec.pad();
    Path path = descend([&target, pad](const KeyRef& key) { return compareRefs(key, target, pad) >= 0; });
    Step& leaf = path.back();
    if (leaf.index < leaf.node().size() && leaf.node().holds(leaf.index, entry))
        return false;
    edit(leaf).insert(leaf.index, entry.key, entry.recno);
    std::size_t lo = leaf.index, hi = leaf.index; // where the node grew
    for (std::size_t level = path.size() - 1;; --level) {
        CdxNode& node = edit(path[level]);
        if (level == 0) {
            growRoot(storeSplitting(node, lo, hi));
            return true;
        }
        Step& parentStep = path[level - 1];
        std::size_t i = parentStep.index;
        std::vector<Part> parts;
        Page page;
        if (m_codec.tryEncode(node, page)) {
            parts.push_back({node.offset, node.back()});
            keep(std::move(node), page);
        } else if (rotate(node, parentStep, i) || share(node, parentStep, i)) {
            continue; // the parent's entries changed, its size did not
        } else {
            parts = storeGroups(node, splitPoints(node, lo, hi));
        }
        if (parts.size() == 1 && parentStep.node().holds(i, parts[0].max))
            return true;
        CdxNode& parent = edit(parentStep);
        parent.set(i, parts[0].max);
        for (std::size_t p = 1; p < parts.size(); ++p) {
            parent.insert(i + p, parts[p].max.key, parts[p].max.recno);
            parent.children.insert(parent.children.begin() + static_cast<std::ptrdiff_t>(i + p), parts[p].offset);
        }
        lo = i;
        hi = i + parts.size() - 1;
    }
}

bool CdxTree::remove(const CdxEntry& entry) {
    const KeyRef target = refOf(entry);
    const char pad = m_codec.pad();
    Path path = descend([&target, pad](const KeyRef& key) { return compareRefs(key, target, pad) >= 0; });
    Step& leaf = path.back();
    if (leaf.index >= leaf.node().size() || !leaf.node().holds(leaf.index, entry))
        return false;
    edit(leaf).erase(leaf.index);
    fixAfterRemoval(path);
    collapseRoot();
    return true;
}

void CdxTree::fixAfterRemoval(Path& path) {
    for (std::size_t level = path.size() - 1;; --level) {
        CdxNode& node = edit(path[level]);
        if (level == 0) {
            if (node.empty()) {
                node.leaf = true;
                node.children.clear();
            }
            node.root = true;
            store(std::move(node));
            return;
        }
        Step& parentStep = path[level - 1];
        std::size_t i = parentStep.index;
        if (node.empty()) {
            setSibling(node.left, false, node.right);
            setSibling(node.right, true, node.left);
            m_pager.release(node.offset);
            edit(parentStep).erase(i);
            continue;
        }
        if (tryMerge(node, parentStep, i))
            continue;
        CdxEntry last = node.back();
        store(std::move(node));
        if (parentStep.node().holds(i, last))
            return;
        edit(parentStep).set(i, last);
    }
}

bool CdxTree::tryMerge(CdxNode& node, Step& parentStep, std::size_t index) {
    if (!underFull(node))
        return false;
    for (std::size_t other : {index + 1, index - 1}) {
        if (other >= parentStep.node().children.size()) // index - 1 wraps around for the first child
            continue;
        CdxNode neighbour = load(parentStep.node().children[other]);
        CdxNode& left = other > index ? node : neighbour;
        CdxNode& right = other > index ? neighbour : node;
        if (neighbour.leaf != node.leaf || left.right != right.offset || right.left != left.offset)
            continue;
        CdxNode merged = node.emptyLike();
        merged.offset = left.offset;
        merged.leaf = node.leaf;
        merged.left = left.left;
        merged.right = right.right;
        merged.append(left, 0, left.size());
        merged.append(right, 0, right.size());
        if (!fits(merged))
            continue;
        CdxNode& parent = edit(parentStep);
        std::size_t first = std::min(index, other);
        parent.set(first, merged.back());
        parent.erase(first + 1);
        const std::uint32_t rightOffset = right.offset, leftOffset = left.offset, beyond = right.right;
        store(std::move(merged));
        setSibling(beyond, true, leftOffset);
        m_pager.release(rightOffset);
        return true;
    }
    return false;
}

void CdxTree::collapseRoot() {
    for (std::size_t depth = 0; depth < kMaxDepth; ++depth) {
        std::uint32_t rootOffset = root();
        CdxNode top = load(rootOffset);
        if (top.leaf || top.size() != 1)
            return;
        CdxNode child = load(top.children[0]);
        if (child.offset == rootOffset)
            m_pager.damaged("root " + hexOffset(rootOffset) + " is its own child");
        child.root = true;
        child.left = kNone;
        child.right = kNone;
        store(child);
        setRoot(child.offset);
        m_pager.release(rootOffset);
    }
}

void CdxTree::bulkLoad(CdxNode level) {
    m_bulk = true;
    for (std::uint32_t offset : pages())
        m_pager.release(offset);
    level.leaf = true;
    level.children.clear();
    std::vector<std::size_t> starts = level.empty() ? std::vector<std::size_t>{} : packLeaves(level);
    if (starts.empty()) {
        CdxNode empty(m_codec.keyLength(), m_codec.pad());
        empty.offset = m_pager.allocate();
        empty.root = true;
        setRoot(empty.offset);
        store(std::move(empty));
        return;
    }
    for (;;) {
        level.offset = m_pager.allocate();
        level.root = starts.size() == 1;
        level.left = level.right = kNone;
        std::vector<Part> parts = storeGroups(level, starts);
        if (parts.size() == 1) {
            setRoot(parts[0].offset);
            return;
        }
        CdxNode upper(m_codec.keyLength(), m_codec.pad());
        upper.leaf = false;
        for (Part& p : parts) {
            upper.push_back(p.max.key, p.max.recno);
            upper.children.push_back(p.offset);
        }
        level = std::move(upper);
        starts.clear();
        std::size_t max = m_codec.maxInteriorEntries();
        for (std::size_t i = 0; i < level.size(); i += max)
            starts.push_back(i);
    }
}

} // namespace engine::cdx
