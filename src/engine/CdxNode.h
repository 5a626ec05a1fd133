#pragma once
#include "engine/CdxFormat.h"
#include "engine/CdxIndex.h"

#include <algorithm>
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

// Pad bytes at the end of a key (the part trailing compression drops), eight bytes at a time:
// keys are mostly pad (a 240-byte path key holds a few dozen letters).
inline std::size_t trailingPad(std::string_view key, char pad) {
    const char* p = key.data();
    std::size_t n = key.size();
    const std::uint64_t padWord = 0x0101010101010101ull * static_cast<unsigned char>(pad);
    while (n >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p + n - 8, 8);
        if (word != padWord)
            break;
        n -= 8;
    }
    while (n > 0 && p[n - 1] == pad)
        --n;
    return key.size() - n;
}

// The bytes of a key before its trailing pad.
inline std::string_view keyBody(std::string_view key, char pad) {
    return key.substr(0, key.size() - trailingPad(key, pad));
}

// Order of two keys given by their bodies, both padded to one length with pad: the first bytes
// that differ decide.
inline int compareBodies(std::string_view a, std::string_view b, char pad) {
    const std::size_t n = std::min(a.size(), b.size());
    if (const int c = std::memcmp(a.data(), b.data(), n))
        return c < 0 ? -1 : 1;
    const auto padByte = static_cast<unsigned char>(pad);
    for (std::size_t i = n; i < b.size(); ++i) // a goes on with pad
        if (static_cast<unsigned char>(b[i]) != padByte)
            return padByte < static_cast<unsigned char>(b[i]) ? -1 : 1;
    for (std::size_t i = n; i < a.size(); ++i) // b goes on with pad
        if (static_cast<unsigned char>(a[i]) != padByte)
            return static_cast<unsigned char>(a[i]) < padByte ? -1 : 1;
    return 0;
}

// A key (by its body) with its record number, as the tree compares them.
struct KeyRef {
    std::string_view body;
    std::uint32_t recno = 0;
};
inline int compareRefs(const KeyRef& a, const KeyRef& b, char pad) {
    if (const int c = compareBodies(a.body, b.body, pad))
        return c;
    return a.recno < b.recno ? -1 : (a.recno > b.recno ? 1 : 0);
}

// One tree page decoded: an interior node (entries with child pages, each entry the greatest
// entry of its child's subtree) or a leaf (entries only). Keys are kept without their trailing
// pad, side by side in one buffer: a node of 240-byte path keys takes a few dozen bytes a key.
struct CdxNode {
    std::uint32_t offset = kNone;
    bool leaf = true;
    bool root = false;
    std::uint32_t left = kNone;
    std::uint32_t right = kNone;
    std::size_t keyLength = 0;
    char pad = ' ';
    std::string bodies;                  // the body of every key, in order
    std::vector<std::uint32_t> ends;     // where each body ends in bodies
    std::vector<std::uint32_t> recnos;   // the record number of every key
    std::vector<std::uint32_t> children; // interior nodes: the child page of every key
    std::size_t storedFree = 0;          // leaves: the free-space field as it was read
    std::size_t actualFree = 0;          // leaves: the free space the page really has

    explicit CdxNode(std::size_t keyBytes = 0, char padByte = ' ') : keyLength(keyBytes), pad(padByte) {}
    // An empty node of the same kind of keys.
    CdxNode emptyLike() const { return CdxNode(keyLength, pad); }

    std::size_t size() const { return recnos.size(); }
    bool empty() const { return recnos.empty(); }
    std::size_t start(std::size_t i) const { return i == 0 ? 0 : ends[i - 1]; }
    std::string_view body(std::size_t i) const { return {bodies.data() + start(i), ends[i] - start(i)}; }
    KeyRef ref(std::size_t i) const { return {body(i), recnos[i]}; }
    // Trailing pad bytes of key i.
    std::size_t trail(std::size_t i) const { return keyLength - body(i).size(); }
    std::string key(std::size_t i) const {
        std::string k(body(i));
        k.resize(keyLength, pad);
        return k;
    }
    CdxEntry entry(std::size_t i) const { return {key(i), recnos[i]}; }
    CdxEntry back() const { return entry(size() - 1); }
    int compare(std::size_t i, const CdxEntry& e) const { return compareRefs(ref(i), {keyBody(e.key, pad), e.recno}, pad); }
    bool holds(std::size_t i, const CdxEntry& e) const { return recnos[i] == e.recno && compare(i, e) == 0; }

    // Keys come in full (keyLength bytes, padded); their trailing pad is dropped here.
    void push_back(std::string_view key, std::uint32_t recno) {
        bodies.append(keyBody(key, pad));
        ends.push_back(static_cast<std::uint32_t>(bodies.size()));
        recnos.push_back(recno);
    }
    void insert(std::size_t i, std::string_view key, std::uint32_t recno) {
        const std::string_view b = keyBody(key, pad);
        const std::size_t at = start(i);
        bodies.insert(at, b);
        ends.insert(ends.begin() + static_cast<std::ptrdiff_t>(i), static_cast<std::uint32_t>(at));
        for (std::size_t k = i; k < ends.size(); ++k)
            ends[k] += static_cast<std::uint32_t>(b.size());
        recnos.insert(recnos.begin() + static_cast<std::ptrdiff_t>(i), recno);
    }
    void erase(std::size_t i) {
        const std::size_t at = start(i), length = ends[i] - at;
        bodies.erase(at, length);
        ends.erase(ends.begin() + static_cast<std::ptrdiff_t>(i));
        for (std::size_t k = i; k < ends.size(); ++k)
            ends[k] -= static_cast<std::uint32_t>(length);
        recnos.erase(recnos.begin() + static_cast<std::ptrdiff_t>(i));
        if (!leaf)
            children.erase(children.begin() + static_cast<std::ptrdiff_t>(i));
    }
    void set(std::size_t i, const CdxEntry& e) {
        const std::string_view b = keyBody(e.key, pad);
        const std::size_t at = start(i), length = ends[i] - at;
        bodies.replace(at, length, b);
        const auto grown = static_cast<std::uint32_t>(b.size() - length); // wraps when it shrank
        for (std::size_t k = i; k < ends.size(); ++k)
            ends[k] += grown;
        recnos[i] = e.recno;
    }
    // Appends entries [from, to) of another node of the same kind of keys, children too.
    void append(const CdxNode& other, std::size_t from, std::size_t to) {
        if (from >= to)
            return;
        const std::size_t base = other.start(from);
        const auto shift = static_cast<std::uint32_t>(bodies.size() - base); // wraps when negative
        bodies.append(other.bodies, base, other.ends[to - 1] - base);
        for (std::size_t k = from; k < to; ++k)
            ends.push_back(other.ends[k] + shift);
        recnos.insert(recnos.end(), other.recnos.begin() + static_cast<std::ptrdiff_t>(from),
                      other.recnos.begin() + static_cast<std::ptrdiff_t>(to));
        if (!other.leaf)
            children.insert(children.end(), other.children.begin() + static_cast<std::ptrdiff_t>(from),
                            other.children.begin() + static_cast<std::ptrdiff_t>(to));
    }
};

} // namespace engine::cdx
