#pragma once
#include "engine/CdxFormat.h"
#include "engine/CdxIndex.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace engine::cdx {

// Key order: unsigned bytes over the whole key, then record number.
inline int compareKeys(std::string_view a, std::uint32_t aRecno, std::string_view b, std::uint32_t bRecno) {
    int c = a.compare(b); // char_traits<char> compares as unsigned char
    if (c != 0)
        return c < 0 ? -1 : 1;
    return aRecno < bRecno ? -1 : (aRecno > bRecno ? 1 : 0);
}
inline int compareEntries(const CdxEntry& a, const CdxEntry& b) {
    return compareKeys(a.key, a.recno, b.key, b.recno);
}
inline bool entryLess(const CdxEntry& a, const CdxEntry& b) {
    return compareEntries(a, b) < 0;
}

// One tree page decoded: an interior node (entries with child pages, each entry the greatest
// entry of its child's subtree) or a leaf (entries only). The keys of a node lie side by side in
// one buffer, keyLength bytes each: a node is a few allocations whatever its number of keys.
struct CdxNode {
    std::uint32_t offset = kNone;
    bool leaf = true;
    bool root = false;
    std::uint32_t left = kNone;
    std::uint32_t right = kNone;
    std::size_t keyLength = 0;
    std::string keys;                    // every key in full, in order
    std::vector<std::uint32_t> recnos;   // the record number of every key
    std::vector<std::uint32_t> children; // interior nodes: the child page of every key
    std::size_t storedFree = 0;          // leaves: the free-space field as it was read
    std::size_t actualFree = 0;          // leaves: the free space the page really has

    explicit CdxNode(std::size_t keyBytes = 0) : keyLength(keyBytes) {}

    std::size_t size() const { return recnos.size(); }
    bool empty() const { return recnos.empty(); }
    std::string_view key(std::size_t i) const { return {keys.data() + i * keyLength, keyLength}; }
    CdxEntry entry(std::size_t i) const { return {std::string(key(i)), recnos[i]}; }
    CdxEntry back() const { return entry(size() - 1); }
    int compare(std::size_t i, const CdxEntry& e) const { return compareKeys(key(i), recnos[i], e.key, e.recno); }
    bool holds(std::size_t i, const CdxEntry& e) const { return recnos[i] == e.recno && key(i) == e.key; }

    void push_back(std::string_view k, std::uint32_t recno) {
        keys.append(k);
        recnos.push_back(recno);
    }
    void insert(std::size_t i, std::string_view k, std::uint32_t recno) {
        keys.insert(i * keyLength, k);
        recnos.insert(recnos.begin() + static_cast<std::ptrdiff_t>(i), recno);
    }
    void erase(std::size_t i) {
        keys.erase(i * keyLength, keyLength);
        recnos.erase(recnos.begin() + static_cast<std::ptrdiff_t>(i));
        if (!leaf)
            children.erase(children.begin() + static_cast<std::ptrdiff_t>(i));
    }
    void set(std::size_t i, const CdxEntry& e) {
        std::memcpy(keys.data() + i * keyLength, e.key.data(), keyLength);
        recnos[i] = e.recno;
    }
    // Appends entries [from, to) of another node of the same key length, children too.
    void append(const CdxNode& other, std::size_t from, std::size_t to) {
        keys.append(other.keys, from * keyLength, (to - from) * keyLength);
        recnos.insert(recnos.end(), other.recnos.begin() + static_cast<std::ptrdiff_t>(from),
                      other.recnos.begin() + static_cast<std::ptrdiff_t>(to));
        if (!other.leaf)
            children.insert(children.end(), other.children.begin() + static_cast<std::ptrdiff_t>(from),
                            other.children.begin() + static_cast<std::ptrdiff_t>(to));
    }
};

} // namespace engine::cdx
