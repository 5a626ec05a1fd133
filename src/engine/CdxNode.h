#pragma once
#include "engine/CdxFormat.h"
#include "engine/CdxIndex.h"

#include <cstdint>
#include <vector>

namespace engine::cdx {

// One tree page decoded: an interior node (entries with child pages, each entry the greatest
// entry of its child's subtree) or a leaf (entries only).
struct CdxNode {
    std::uint32_t offset = kNone;
    bool leaf = true;
    bool root = false;
    std::uint32_t left = kNone;
    std::uint32_t right = kNone;
    std::vector<CdxEntry> entries;
    std::vector<std::uint32_t> children; // interior nodes: the child page of every entry
    std::size_t storedFree = 0;          // leaves: the free-space field as it was read
    std::size_t actualFree = 0;          // leaves: the free space the page really has
};

// Key order: unsigned bytes over the whole key, then record number.
inline int compareEntries(const CdxEntry& a, const CdxEntry& b) {
    int c = a.key.compare(b.key); // char_traits<char> compares as unsigned char
    if (c != 0)
        return c < 0 ? -1 : 1;
    return a.recno < b.recno ? -1 : (a.recno > b.recno ? 1 : 0);
}
inline bool entryLess(const CdxEntry& a, const CdxEntry& b) {
    return compareEntries(a, b) < 0;
}

} // namespace engine::cdx
