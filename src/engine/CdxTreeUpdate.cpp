// Changes of a tag's B-tree: insertion with splits, removal with freeing and merging, bulk load.
#include "engine/CdxTree.h"

#include <algorithm>

namespace engine::cdx {

bool CdxTree::fits(const CdxNode& node) const {
    if (node.leaf)
        return m_codec.leafFits(node.entries.data(), node.entries.data() + node.entries.size());
    return node.entries.size() <= m_codec.maxInteriorEntries();
}

bool CdxTree::underFull(const CdxNode& node) const {
    if (node.leaf)
        return m_codec.leafBytes(node.entries.data(), node.entries.data() + node.entries.size()) * 2 <= kLeafCapacity;
    return node.entries.size() * 2 <= m_codec.maxInteriorEntries();
}

std::vector<std::size_t> CdxTree::packLeaves(const std::vector<CdxEntry>& entries) const {
    // Greedy: every leaf takes as many entries as fit.
    std::vector<std::size_t> starts{0};
    std::size_t count = 0, text = 0;
    std::uint32_t maxRecno = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string* prev = count == 0 ? nullptr : &entries[i - 1].key;
        std::size_t t = m_codec.textLength(prev, entries[i].key);
        std::uint32_t m = std::max(maxRecno, entries[i].recno);
        if (count > 0 && (count + 1) * m_codec.layoutFor(m).entryBytes + text + t > kLeafCapacity) {
            starts.push_back(i);
            count = 0;
            text = m_codec.textLength(nullptr, entries[i].key);
            maxRecno = entries[i].recno;
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
    std::size_t n = node.entries.size();
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
    const auto& e = node.entries;
    std::vector<std::size_t> text(n), firstText(n);
    std::vector<std::uint32_t> maxBefore(n + 1, 0), maxFrom(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        firstText[i] = m_codec.textLength(nullptr, e[i].key);
        text[i] = i == 0 ? firstText[i] : m_codec.textLength(&e[i - 1].key, e[i].key);
        maxBefore[i + 1] = std::max(maxBefore[i], e[i].recno);
    }
    for (std::size_t i = n; i-- > 0;)
        maxFrom[i] = std::max(maxFrom[i + 1], e[i].recno);
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
    return packLeaves(node.entries); // no two-way split fits: as many leaves as needed
}

std::vector<CdxTree::Part> CdxTree::storeGroups(CdxNode& node, const std::vector<std::size_t>& starts) {
    std::vector<std::uint32_t> offsets{node.offset};
    for (std::size_t g = 1; g < starts.size(); ++g)
        offsets.push_back(m_pager.allocate());
    std::uint32_t oldRight = node.right;
    std::vector<Part> parts;
    for (std::size_t g = 0; g < starts.size(); ++g) {
        std::size_t from = starts[g];
        std::size_t to = g + 1 < starts.size() ? starts[g + 1] : node.entries.size();
        CdxNode part;
        part.offset = offsets[g];
        part.leaf = node.leaf;
        part.root = node.root && starts.size() == 1;
        part.left = g == 0 ? node.left : offsets[g - 1];
        part.right = g + 1 < starts.size() ? offsets[g + 1] : oldRight;
        part.entries.reserve(to - from);
        for (std::size_t i = from; i < to; ++i)
            part.entries.push_back(std::move(node.entries[i]));
        if (!node.leaf)
            part.children.assign(node.children.begin() + static_cast<std::ptrdiff_t>(from),
                                 node.children.begin() + static_cast<std::ptrdiff_t>(to));
        store(part);
        parts.push_back({part.offset, part.entries.back()});
    }
    if (starts.size() > 1)
        setSibling(oldRight, true, offsets.back());
    return parts;
}

std::vector<CdxTree::Part> CdxTree::storeSplitting(CdxNode& node, std::size_t lo, std::size_t hi) {
    if (fits(node)) {
        store(node);
        return {{node.offset, node.entries.back()}};
    }
    return storeGroups(node, splitPoints(node, lo, hi));
}

bool CdxTree::rotate(CdxNode& node, CdxNode& parent, std::size_t index) {
    // An interior node one entry too many hands its first entry to the left sibling or its last
    // one to the right sibling under the same parent, when that sibling has room.
    std::size_t max = m_codec.maxInteriorEntries();
    if (node.leaf || node.entries.size() != max + 1)
        return false;
    for (std::size_t other : {index - 1, index + 1}) {
        if (other >= parent.children.size()) // index - 1 wraps around for the first child
            continue;
        CdxNode sibling = load(parent.children[other]);
        if (sibling.leaf || sibling.entries.size() >= max ||
            (other < index ? sibling.right != node.offset : sibling.left != node.offset))
            continue;
        if (other < index) {
            sibling.entries.push_back(std::move(node.entries.front()));
            sibling.children.push_back(node.children.front());
            node.entries.erase(node.entries.begin());
            node.children.erase(node.children.begin());
            parent.entries[other] = sibling.entries.back();
        } else {
            sibling.entries.push_back(std::move(node.entries.back()));
            std::rotate(sibling.entries.begin(), sibling.entries.end() - 1, sibling.entries.end());
            sibling.children.push_back(node.children.back());
            std::rotate(sibling.children.begin(), sibling.children.end() - 1, sibling.children.end());
            node.entries.pop_back();
            node.children.pop_back();
            parent.entries[index] = node.entries.back();
        }
        store(sibling);
        store(node);
        return true;
    }
    return false;
}

void CdxTree::growRoot(std::vector<Part> parts) {
    while (parts.size() > 1) {
        CdxNode root;
        root.offset = m_pager.allocate();
        root.leaf = false;
        root.root = true;
        for (Part& p : parts) {
            root.entries.push_back(std::move(p.max));
            root.children.push_back(p.offset);
        }
        setRoot(root.offset);
        parts = storeSplitting(root, 0, root.entries.size() - 1);
    }
}

bool CdxTree::insert(const CdxEntry& entry) {
    Path path = descend([&entry](const CdxEntry& e) { return compareEntries(e, entry) >= 0; });
    Step& leaf = path.back();
    auto& entries = leaf.node.entries;
    if (leaf.index < entries.size() && entries[leaf.index] == entry)
        return false;
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(leaf.index), entry);
    std::size_t lo = leaf.index, hi = leaf.index; // where the node grew
    for (std::size_t level = path.size() - 1;; --level) {
        CdxNode& node = path[level].node;
        if (level == 0) {
            growRoot(storeSplitting(node, lo, hi));
            return true;
        }
        CdxNode& parent = path[level - 1].node;
        std::size_t i = path[level - 1].index;
        if (rotate(node, parent, i))
            continue; // the parent's entries changed, its size did not
        std::vector<Part> parts = storeSplitting(node, lo, hi);
        if (parts.size() == 1 && parent.entries[i] == parts[0].max)
            return true;
        parent.entries[i] = parts[0].max;
        for (std::size_t p = 1; p < parts.size(); ++p) {
            parent.entries.insert(parent.entries.begin() + static_cast<std::ptrdiff_t>(i + p), parts[p].max);
            parent.children.insert(parent.children.begin() + static_cast<std::ptrdiff_t>(i + p), parts[p].offset);
        }
        lo = i;
        hi = i + parts.size() - 1;
    }
}

bool CdxTree::remove(const CdxEntry& entry) {
    Path path = descend([&entry](const CdxEntry& e) { return compareEntries(e, entry) >= 0; });
    Step& leaf = path.back();
    auto& entries = leaf.node.entries;
    if (leaf.index >= entries.size() || entries[leaf.index] != entry)
        return false;
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(leaf.index));
    fixAfterRemoval(path);
    collapseRoot();
    return true;
}

void CdxTree::fixAfterRemoval(Path& path) {
    for (std::size_t level = path.size() - 1;; --level) {
        CdxNode& node = path[level].node;
        if (level == 0) {
            if (node.entries.empty()) {
                node.leaf = true;
                node.children.clear();
            }
            node.root = true;
            store(node);
            return;
        }
        CdxNode& parent = path[level - 1].node;
        std::size_t i = path[level - 1].index;
        if (node.entries.empty()) {
            setSibling(node.left, false, node.right);
            setSibling(node.right, true, node.left);
            m_pager.release(node.offset);
            parent.entries.erase(parent.entries.begin() + static_cast<std::ptrdiff_t>(i));
            parent.children.erase(parent.children.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (tryMerge(node, parent, i))
            continue;
        store(node);
        if (parent.entries[i] == node.entries.back())
            return;
        parent.entries[i] = node.entries.back();
    }
}

bool CdxTree::tryMerge(CdxNode& node, CdxNode& parent, std::size_t index) {
    if (!underFull(node))
        return false;
    for (std::size_t other : {index + 1, index - 1}) {
        if (other >= parent.children.size()) // index - 1 wraps around for the first child
            continue;
        CdxNode neighbour = load(parent.children[other]);
        CdxNode& left = other > index ? node : neighbour;
        CdxNode& right = other > index ? neighbour : node;
        if (neighbour.leaf != node.leaf || left.right != right.offset || right.left != left.offset)
            continue;
        CdxNode merged;
        merged.offset = left.offset;
        merged.leaf = node.leaf;
        merged.left = left.left;
        merged.right = right.right;
        merged.entries = left.entries;
        merged.entries.insert(merged.entries.end(), right.entries.begin(), right.entries.end());
        if (!node.leaf) {
            merged.children = left.children;
            merged.children.insert(merged.children.end(), right.children.begin(), right.children.end());
        }
        if (!fits(merged))
            continue;
        store(merged);
        setSibling(right.right, true, left.offset);
        m_pager.release(right.offset);
        std::size_t first = std::min(index, other);
        parent.entries[first] = merged.entries.back();
        parent.entries.erase(parent.entries.begin() + static_cast<std::ptrdiff_t>(first + 1));
        parent.children.erase(parent.children.begin() + static_cast<std::ptrdiff_t>(first + 1));
        return true;
    }
    return false;
}

void CdxTree::collapseRoot() {
    for (std::size_t depth = 0; depth < kMaxDepth; ++depth) {
        std::uint32_t rootOffset = root();
        CdxNode top = load(rootOffset);
        if (top.leaf || top.entries.size() != 1)
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

void CdxTree::bulkLoad(std::vector<CdxEntry> sorted) {
    for (std::uint32_t offset : pages())
        m_pager.release(offset);
    CdxNode level;
    level.leaf = true;
    level.entries = std::move(sorted);
    std::vector<std::size_t> starts = level.entries.empty() ? std::vector<std::size_t>{} : packLeaves(level.entries);
    if (starts.empty()) {
        CdxNode empty;
        empty.offset = m_pager.allocate();
        empty.root = true;
        store(empty);
        setRoot(empty.offset);
        return;
    }
    for (;;) {
        level.offset = m_pager.allocate();
        level.root = starts.size() == 1;
        std::vector<Part> parts = storeGroups(level, starts);
        if (parts.size() == 1) {
            setRoot(parts[0].offset);
            return;
        }
        CdxNode upper;
        upper.leaf = false;
        for (Part& p : parts) {
            upper.entries.push_back(std::move(p.max));
            upper.children.push_back(p.offset);
        }
        level = std::move(upper);
        starts.clear();
        std::size_t max = m_codec.maxInteriorEntries();
        for (std::size_t i = 0; i < level.entries.size(); i += max)
            starts.push_back(i);
    }
}

} // namespace engine::cdx
