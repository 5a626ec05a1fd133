#include "engine/CdxChecker.h"

#include "engine/CdxTagList.h"
#include "engine/EngineError.h"

namespace engine::cdx {

std::string CdxChecker::run() {
    try {
        std::vector<CdxTagInfo> tags = CdxTagList::read(m_pager);
        claim(0, "the compound header");
        claim(kPageSize, "the compound header");
        checkTree("the tag list", 0, kTagNameLength, ' ');
        for (const CdxTagInfo& tag : tags) {
            claim(tag.headerOffset, "the header of tag " + tag.name);
            claim(tag.headerOffset + kPageSize, "the header of tag " + tag.name);
        }
        for (const CdxTagInfo& tag : tags) {
            auto pad = m_pads.find(tag.headerOffset);
            checkTree("tag " + tag.name, tag.headerOffset, tag.keyLength, pad == m_pads.end() ? ' ' : pad->second);
        }
        checkFreeList();
    } catch (const EngineError& e) {
        return e.what();
    }
    return {};
}

void CdxChecker::claim(std::uint32_t offset, const std::string& owner) {
    auto [it, fresh] = m_used.emplace(offset, owner);
    if (!fresh)
        m_pager.damaged("page " + hexOffset(offset) + " is used by " + it->second + " and by " + owner);
}

void CdxChecker::checkTree(const std::string& owner, std::uint32_t header, std::uint16_t keyLength, char pad) {
    m_owner = owner;
    m_levels.clear();
    m_previous.reset();
    m_sawLeaf = false;
    CdxTree tree(m_pager, header, keyLength, pad);
    visit(tree, tree.root(), 0);
    checkLevels();
}

std::optional<CdxEntry> CdxChecker::visit(CdxTree& tree, std::uint32_t offset, std::size_t depth) {
    if (depth >= kMaxDepth)
        problem("the tree is deeper than " + std::to_string(kMaxDepth) + " levels");
    claim(offset, m_owner);
    // Decoded afresh from the page: the check is of the file, not of what was decoded before.
    CdxNode node = tree.codec().decode(m_pager.read(offset), offset, m_pager.fileName());
    std::string page = "page " + hexOffset(offset);
    if (node.root != (depth == 0))
        problem(page + (depth == 0 ? " is the root but not marked so" : " is marked as a root"));
    if (m_levels.size() <= depth)
        m_levels.resize(depth + 1);
    m_levels[depth].push_back({offset, node.left, node.right});

    if (node.leaf) {
        if (m_sawLeaf && depth != m_leafDepth)
            problem("leaf " + page + " is not at the depth of the other leaves");
        m_sawLeaf = true;
        m_leafDepth = depth;
        if (node.empty() && depth != 0)
            problem("leaf " + page + " is empty");
        if (node.storedFree != node.actualFree)
            problem("leaf " + page + " records " + std::to_string(node.storedFree) + " free bytes but has " +
                    std::to_string(node.actualFree));
        for (std::size_t i = 0; i < node.size(); ++i) {
            if (m_previous && node.compare(i, *m_previous) <= 0)
                problem("key " + std::to_string(i) + " of leaf " + page + " (record " +
                        std::to_string(node.recnos[i]) + ") is out of order");
            m_previous = node.entry(i);
        }
        if (node.empty())
            return std::nullopt;
        return node.back();
    }
    if (node.empty())
        problem("interior " + page + " has no keys");
    for (std::size_t i = 0; i < node.size(); ++i) {
        std::optional<CdxEntry> last = visit(tree, node.children[i], depth + 1);
        if (!last || !node.holds(i, *last))
            problem("key " + std::to_string(i) + " of interior " + page + " is not the last key of its child " +
                    hexOffset(node.children[i]));
    }
    return node.back();
}

void CdxChecker::checkLevels() {
    for (std::size_t depth = 0; depth < m_levels.size(); ++depth) {
        const std::vector<Link>& level = m_levels[depth];
        for (std::size_t i = 0; i < level.size(); ++i) {
            std::uint32_t left = i == 0 ? kNone : level[i - 1].offset;
            std::uint32_t right = i + 1 == level.size() ? kNone : level[i + 1].offset;
            if (level[i].left != left || level[i].right != right)
                problem("sibling links of page " + hexOffset(level[i].offset) + " (level " + std::to_string(depth) +
                        ") are wrong");
        }
    }
}

void CdxChecker::checkFreeList() {
    m_owner = "the free list";
    std::uint32_t offset = m_pager.freeHead();
    while (offset != kNone) {
        if (offset < kHeaderSize || !m_pager.validPage(offset))
            problem("it points to " + hexOffset(offset) + ", which is not a page of the file");
        claim(offset, m_owner);
        std::uint32_t next = getLe32(m_pager.read(offset).data());
        offset = next == 0 ? kNone : next;
    }
}

} // namespace engine::cdx
