#pragma once
#include "engine/CdxNode.h"
#include "engine/CdxPager.h"
#include "engine/CdxTree.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace engine::cdx {

// Structural check of a whole index file: the compound header and tag list, every tag's tree
// (key order within and across leaves, interior entries equal to their child's last entry, leaves
// all at one depth, sibling links on every level, root flags, leaf free-space fields), every page
// inside the file and used once only, and the free list.
class CdxChecker {
public:
    // pads: pad byte of the tags by header offset (' ' for a tag not named there).
    CdxChecker(CdxPager& pager, std::map<std::uint32_t, char> pads) : m_pager(pager), m_pads(std::move(pads)) {}

    // The first problem found, described for a person; empty when the file is sound.
    std::string run();

private:
    struct Link {
        std::uint32_t offset, left, right;
    };

    // Records that owner uses the page; a page used twice is a problem.
    void claim(std::uint32_t offset, const std::string& owner);
    void checkTree(const std::string& owner, std::uint32_t header, std::uint16_t keyLength, char pad);
    std::optional<CdxEntry> visit(CdxTree& tree, std::uint32_t offset, std::size_t depth);
    void checkLevels();
    void checkFreeList();
    [[noreturn]] void problem(const std::string& what) const { m_pager.damaged(m_owner + ": " + what); }

    CdxPager& m_pager;
    std::map<std::uint32_t, char> m_pads;
    std::map<std::uint32_t, std::string> m_used;
    // State of the tree being checked.
    std::string m_owner;
    std::vector<std::vector<Link>> m_levels;
    std::optional<CdxEntry> m_previous;
    std::size_t m_leafDepth = 0;
    bool m_sawLeaf = false;
};

} // namespace engine::cdx
