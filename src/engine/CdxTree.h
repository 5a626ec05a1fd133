#pragma once
#include "engine/CdxIndex.h"
#include "engine/CdxNode.h"
#include "engine/CdxNodeCodec.h"
#include "engine/CdxPager.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace engine::cdx {

// The B-tree of one tag (or of the tag list) over the pages of one call. Every walk is bounded:
// descents stop at kMaxDepth levels or at a page seen twice, sibling walks at a page seen twice.
class CdxTree {
public:
    // headerOffset: the tag's 1024-byte header, whose first field is the root page.
    CdxTree(CdxPager& pager, std::uint32_t headerOffset, std::uint16_t keyLength, char pad);

    const CdxNodeCodec& codec() const { return m_codec; }
    std::uint32_t root();
    CdxNode load(std::uint32_t offset);
    // The node read only: shared with the index's cache while its page does not change.
    std::shared_ptr<const CdxNode> view(std::uint32_t offset);
    // Writes the node to its page; the node stays known decoded for the next reader.
    void store(const CdxNode& node);
    void store(CdxNode&& node);

    // Adds the entry; false (and nothing changes) when the very same entry is there already.
    bool insert(const CdxEntry& entry);
    // Removes the entry; false when it is not there. Empty nodes are unlinked and freed, a node
    // left at most half full is merged with a neighbour under the same parent when both fit in
    // one page, and a root left with a single child hands the root over to that child.
    bool remove(const CdxEntry& entry);
    // Replaces the tree by the entries of a leaf node of any size, which must be sorted and
    // distinct: leaves and interior nodes are filled completely, the old tree's pages go to the
    // free list first and are reused.
    void bulkLoad(CdxNode sorted);
    // Every page of the tree; throws the damaged-file error when a page is reached twice.
    std::vector<std::uint32_t> pages();

    std::optional<CdxEntry> first();
    std::optional<CdxEntry> last();
    // First entry strictly after position, last entry strictly before it.
    std::optional<CdxEntry> after(const CdxEntry& position);
    std::optional<CdxEntry> before(const CdxEntry& position);
    // First entry whose key starts with prefix (prefix.size() <= key length).
    std::optional<CdxEntry> seekPrefix(std::string_view prefix);
    // First entry with the record number, found by walking the leaves.
    std::optional<CdxEntry> findRecord(std::uint32_t recno);
    std::uint64_t count();
    std::size_t depth() {
        return descend([](const KeyRef&) { return true; }).size();
    }
    // Calls visit for every leaf from the leftmost along the right-sibling chain until it
    // returns false.
    void walkLeaves(const std::function<bool(const CdxNode&)>& visit);

private:
    // A node on the way down: read only until the first change (see edit()).
    struct Step {
        std::shared_ptr<const CdxNode> view;
        std::unique_ptr<CdxNode> copy;
        std::size_t index = 0; // child taken (interior) or entry position (leaf)
        bool root = false;
        const CdxNode& node() const { return copy ? *copy : *view; }
    };
    struct Part {
        std::uint32_t offset;
        CdxEntry max;
    };
    using Path = std::vector<Step>;
    using Pred = std::function<bool(const KeyRef& key)>;
    // The key of an entry as the tree compares it.
    KeyRef refOf(const CdxEntry& entry) const { return {keyBody(entry.key, m_codec.pad()), entry.recno}; }

    // Root-to-leaf path that takes the first child whose greatest entry satisfies atOrPast (the
    // last child when none does) and ends at the first leaf entry that satisfies it.
    Path descend(const Pred& atOrPast);
    // The first entry at or after the path's leaf position satisfying accept, along the chain.
    std::optional<CdxEntry> scanRight(const Path& path, const Pred& accept);
    std::optional<CdxEntry> scanLeft(const Path& path, const Pred& accept);
    std::shared_ptr<const CdxNode> edgeLeaf(bool leftmost);
    // The page image of a node and the node itself, known decoded from now on.
    void keep(CdxNode&& node, const Page& page);

    // The node of a step, to be changed and stored: the decoded node itself when nobody else
    // holds it any more (its page is about to change, so the cache lets go of it), else a copy.
    CdxNode& edit(Step& step);
    void setRoot(std::uint32_t offset);
    void setSibling(std::uint32_t offset, bool leftField, std::uint32_t value);
    bool fits(const CdxNode& node) const;
    bool underFull(const CdxNode& node) const;
    // Group boundaries (start index of every group) for a node that does not fit one page and
    // grew at entries [lo, hi].
    std::vector<std::size_t> splitPoints(const CdxNode& node, std::size_t lo, std::size_t hi) const;
    std::vector<std::size_t> packLeaves(const CdxNode& node) const;
    // Stores the node, split over new pages when it does not fit; the parts left to right.
    std::vector<Part> storeSplitting(CdxNode& node, std::size_t lo, std::size_t hi);
    // Moves one entry of an overfull interior node to a sibling with room; false when none has.
    bool rotate(CdxNode& node, Step& parent, std::size_t index);
    // Spreads an overfull leaf and a neighbouring leaf over their two pages; false when they do not fit.
    bool share(CdxNode& node, Step& parent, std::size_t index);
    std::vector<Part> storeGroups(CdxNode& node, const std::vector<std::size_t>& starts);
    void growRoot(std::vector<Part> parts);
    void fixAfterRemoval(Path& path);
    bool tryMerge(CdxNode& node, Step& parent, std::size_t index);
    void collapseRoot();

    CdxPager& m_pager;
    std::uint32_t m_header;
    CdxNodeCodec m_codec;
    bool m_bulk = false; // a bulk load: nodes written are not kept decoded
};

} // namespace engine::cdx
