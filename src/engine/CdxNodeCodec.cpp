#include "engine/CdxNodeCodec.h"

#include <algorithm>

namespace engine::cdx {

namespace {

unsigned bitLength(unsigned value) {
    unsigned bits = 0;
    while (value != 0) {
        ++bits;
        value >>= 1;
    }
    return bits;
}

std::uint64_t lowMask(unsigned bits) {
    return bits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
}

std::uint64_t shiftRight(std::uint64_t value, unsigned bits) {
    return bits >= 64 ? 0 : value >> bits;
}

} // namespace

CdxNodeCodec::Layout CdxNodeCodec::layoutFor(std::uint32_t maxRecno) const {
    Layout layout;
    layout.dupBits = bitLength(m_keyLength);
    layout.trailBits = layout.dupBits;
    layout.entryBytes = 3;
    while (layout.entryBytes * 8 < layout.dupBits + layout.trailBits + 8)
        ++layout.entryBytes;
    layout.recBits = layout.entryBytes * 8 - layout.dupBits - layout.trailBits;
    while (layout.recBits < 32 && maxRecno > lowMask(layout.recBits)) {
        ++layout.entryBytes;
        layout.recBits += 8;
    }
    return layout;
}

std::size_t CdxNodeCodec::trailing(const std::string& key) const {
    std::size_t n = 0;
    while (n < key.size() && key[key.size() - 1 - n] == m_pad)
        ++n;
    return n;
}

std::size_t CdxNodeCodec::shared(const std::string& prev, std::size_t prevTrail, const std::string& key,
                                 std::size_t keyTrail) const {
    std::size_t limit = m_keyLength - std::max(prevTrail, keyTrail);
    std::size_t n = 0;
    while (n < limit && prev[n] == key[n])
        ++n;
    return n;
}

std::size_t CdxNodeCodec::textLength(const std::string* prev, const std::string& key) const {
    std::size_t trail = trailing(key);
    std::size_t dup = prev ? shared(*prev, trailing(*prev), key, trail) : 0;
    return m_keyLength - dup - trail;
}

std::size_t CdxNodeCodec::leafBytes(const CdxEntry* first, const CdxEntry* last) const {
    std::size_t text = 0;
    std::uint32_t maxRecno = 0;
    std::size_t prevTrail = 0;
    for (const CdxEntry* e = first; e != last; ++e) {
        std::size_t trail = trailing(e->key);
        std::size_t dup = e == first ? 0 : shared(e[-1].key, prevTrail, e->key, trail);
        text += m_keyLength - dup - trail;
        prevTrail = trail;
        maxRecno = std::max(maxRecno, e->recno);
    }
    return static_cast<std::size_t>(last - first) * layoutFor(maxRecno).entryBytes + text;
}

void CdxNodeCodec::encode(const CdxNode& node, Page& page) const {
    page.fill(0);
    std::uint16_t attr = static_cast<std::uint16_t>((node.root ? kAttrRoot : 0) | (node.leaf ? kAttrLeaf : 0));
    putLe16(&page[0], attr);
    putLe16(&page[2], static_cast<std::uint16_t>(node.entries.size()));
    putLe32(&page[4], node.left);
    putLe32(&page[8], node.right);
    if (node.leaf) {
        encodeLeaf(node, page);
        return;
    }
    std::size_t step = m_keyLength + 8u;
    for (std::size_t i = 0; i < node.entries.size(); ++i) {
        std::uint8_t* p = &page[kInteriorData + i * step];
        std::copy(node.entries[i].key.begin(), node.entries[i].key.end(), p);
        putBe32(p + m_keyLength, node.entries[i].recno);
        putBe32(p + m_keyLength + 4, node.children[i]);
    }
}

void CdxNodeCodec::encodeLeaf(const CdxNode& node, Page& page) const {
    std::uint32_t maxRecno = 0;
    for (const CdxEntry& e : node.entries)
        maxRecno = std::max(maxRecno, e.recno);
    Layout layout = layoutFor(maxRecno);
    std::uint64_t recMask = lowMask(std::min(layout.recBits, 32u));
    putLe32(&page[14], static_cast<std::uint32_t>(recMask));
    page[18] = static_cast<std::uint8_t>(lowMask(layout.dupBits));
    page[19] = static_cast<std::uint8_t>(lowMask(layout.trailBits));
    page[20] = static_cast<std::uint8_t>(layout.recBits);
    page[21] = static_cast<std::uint8_t>(layout.dupBits);
    page[22] = static_cast<std::uint8_t>(layout.trailBits);
    page[23] = static_cast<std::uint8_t>(layout.entryBytes);

    std::size_t pos = kPageSize;
    std::size_t prevTrail = 0;
    for (std::size_t i = 0; i < node.entries.size(); ++i) {
        const std::string& key = node.entries[i].key;
        std::size_t trail = trailing(key);
        std::size_t dup = i == 0 ? 0 : shared(node.entries[i - 1].key, prevTrail, key, trail);
        std::size_t n = m_keyLength - dup - trail;
        pos -= n;
        std::copy(key.begin() + static_cast<std::ptrdiff_t>(dup), key.begin() + static_cast<std::ptrdiff_t>(dup + n),
                  page.begin() + static_cast<std::ptrdiff_t>(pos));
        std::uint64_t v = node.entries[i].recno | (std::uint64_t{dup} << layout.recBits) |
                          (std::uint64_t{trail} << (layout.recBits + layout.dupBits));
        std::uint8_t* p = &page[kLeafData + i * layout.entryBytes];
        for (unsigned b = 0; b < layout.entryBytes; ++b)
            p[b] = static_cast<std::uint8_t>(shiftRight(v, 8 * b));
        prevTrail = trail;
    }
    std::size_t used = node.entries.size() * layout.entryBytes + (kPageSize - pos);
    putLe16(&page[12], static_cast<std::uint16_t>(kLeafCapacity - used));
}

CdxNode CdxNodeCodec::decode(const Page& page, std::uint32_t offset, const std::string& fileName) const {
    CdxNode node;
    node.offset = offset;
    std::uint16_t attr = getLe16(&page[0]);
    node.root = (attr & kAttrRoot) != 0;
    node.leaf = (attr & kAttrLeaf) != 0;
    node.left = getLe32(&page[4]);
    node.right = getLe32(&page[8]);
    if (node.leaf)
        decodeLeaf(page, node, fileName);
    else
        decodeInterior(page, node, getLe16(&page[2]), fileName);
    return node;
}

void CdxNodeCodec::decodeInterior(const Page& page, CdxNode& node, std::size_t count,
                                  const std::string& fileName) const {
    if (count > maxInteriorEntries())
        throwDamaged(fileName, "interior node " + hexOffset(node.offset) + " claims " + std::to_string(count) +
                                   " keys, more than fit");
    std::size_t step = m_keyLength + 8u;
    node.entries.resize(count);
    node.children.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &page[kInteriorData + i * step];
        node.entries[i].key.assign(reinterpret_cast<const char*>(p), m_keyLength);
        node.entries[i].recno = getBe32(p + m_keyLength);
        node.children[i] = getBe32(p + m_keyLength + 4);
    }
}

void CdxNodeCodec::decodeLeaf(const Page& page, CdxNode& node, const std::string& fileName) const {
    auto damaged = [&](const std::string& what) {
        throwDamaged(fileName, "leaf node " + hexOffset(node.offset) + ": " + what);
    };
    std::size_t count = getLe16(&page[2]);
    node.storedFree = getLe16(&page[12]);
    std::uint64_t recMask = getLe32(&page[14]);
    std::uint64_t dupMask = page[18];
    std::uint64_t trailMask = page[19];
    unsigned recBits = page[20];
    unsigned dupBits = page[21];
    unsigned entryBytes = page[23];
    if (entryBytes < 1 || entryBytes > 8 || recBits + dupBits + page[22] > entryBytes * 8u)
        damaged("impossible entry layout");
    if (count * entryBytes > kLeafCapacity)
        damaged(std::to_string(count) + " keys do not fit");

    node.entries.resize(count);
    std::size_t pos = kPageSize;
    std::size_t tableEnd = kLeafData + count * entryBytes;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &page[kLeafData + i * entryBytes];
        std::uint64_t v = 0;
        for (unsigned b = 0; b < entryBytes; ++b)
            v |= std::uint64_t{p[b]} << (8 * b);
        std::size_t dup = i == 0 ? 0 : static_cast<std::size_t>(shiftRight(v, recBits) & dupMask);
        std::size_t trail = static_cast<std::size_t>(shiftRight(v, recBits + dupBits) & trailMask);
        if (dup + trail > m_keyLength)
            damaged("key " + std::to_string(i) + " has impossible compression counts");
        std::size_t n = m_keyLength - dup - trail;
        if (pos < tableEnd + n)
            damaged("key text overlaps the entry table");
        pos -= n;
        CdxEntry& e = node.entries[i];
        e.recno = static_cast<std::uint32_t>(v & recMask);
        e.key.reserve(m_keyLength);
        if (dup > 0)
            e.key.assign(node.entries[i - 1].key, 0, dup);
        e.key.append(reinterpret_cast<const char*>(&page[pos]), n);
        e.key.append(trail, m_pad);
    }
    node.actualFree = pos - tableEnd;
}

} // namespace engine::cdx
