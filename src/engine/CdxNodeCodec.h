#pragma once
#include "engine/CdxFormat.h"
#include "engine/CdxNode.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace engine::cdx {

// Encodes and decodes the tree pages of one tag: interior nodes (full keys, record number and
// child page, both big-endian) and compact leaf nodes (bit-packed entries growing upward from
// byte 24, key text with duplicate and trailing bytes dropped growing downward from 512).
class CdxNodeCodec {
public:
    // Bit widths of a compact leaf's entries.
    struct Layout {
        unsigned recBits = 0;
        unsigned dupBits = 0;
        unsigned trailBits = 0;
        unsigned entryBytes = 0;
    };

    CdxNodeCodec(std::uint16_t keyLength, char pad) : m_keyLength(keyLength), m_pad(pad) {}

    std::uint16_t keyLength() const { return m_keyLength; }
    char pad() const { return m_pad; }
    // Entries an interior node holds at most.
    std::size_t maxInteriorEntries() const { return 500 / (m_keyLength + 8u); }

    // Widths a fresh leaf gets: duplicate and trailing counts as wide as the key length needs,
    // three bytes per entry, one more whenever the largest record number does not fit.
    Layout layoutFor(std::uint32_t maxRecno) const;

    // Pad bytes at the end of a key (the part trailing compression drops).
    std::size_t trailing(std::string_view key) const;
    // Leading bytes a key shares with its predecessor in the node, never reaching into the
    // trailing pad of either key.
    std::size_t shared(std::string_view prev, std::size_t prevTrail, std::string_view key, std::size_t keyTrail) const;
    // Bytes of key text a leaf stores for entry i of the node, first in its page or after entry i - 1.
    std::size_t textLength(const CdxNode& node, std::size_t i, bool first) const;

    // Bytes the entries [from, to) of a leaf take in a page (entry table and text).
    std::size_t leafBytes(const CdxNode& node, std::size_t from, std::size_t to) const;
    bool leafFits(const CdxNode& node) const { return leafBytes(node, 0, node.size()) <= kLeafCapacity; }

    // Writes the node into page (which it fully overwrites); false when it does not fit in one
    // page (the page then holds nothing useful).
    bool tryEncode(const CdxNode& node, Page& page) const;
    // The same for a node known to fit; throws when it does not.
    void encode(const CdxNode& node, Page& page) const;
    // Reads the page at offset; throws the damaged-file error when the page cannot be a node of
    // this tag. Every count and width is taken from the page and checked against its bounds.
    CdxNode decode(const Page& page, std::uint32_t offset, const std::string& fileName) const;

private:
    bool encodeLeaf(const CdxNode& node, Page& page) const;
    void decodeLeaf(const Page& page, CdxNode& node, const std::string& fileName) const;
    void decodeInterior(const Page& page, CdxNode& node, std::size_t count, const std::string& fileName) const;

    std::uint16_t m_keyLength;
    char m_pad;
};

} // namespace engine::cdx
