#include "engine/CdxNodeCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>

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

std::size_t CdxNodeCodec::trailing(std::string_view key) const {
    return trailingPad(key, m_pad);
}

std::size_t CdxNodeCodec::shared(std::string_view prev, std::size_t prevTrail, std::string_view key,
                                 std::size_t keyTrail) const {
    const std::size_t limit = m_keyLength - std::max(prevTrail, keyTrail);
    const char* a = prev.data();
    const char* b = key.data();
    std::size_t n = 0;
    for (; n + 8 <= limit; n += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (x != y) {
            const std::uint64_t diff = x ^ y;
            const int bits = std::endian::native == std::endian::little ? std::countr_zero(diff) : std::countl_zero(diff);
            return n + static_cast<std::size_t>(bits) / 8;
        }
    }
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

std::size_t CdxNodeCodec::textLength(const CdxNode& node, std::size_t i, bool first) const {
    const std::string_view body = node.body(i);
    if (first)
        return body.size();
    const std::string_view prev = node.body(i - 1);
    return body.size() - shared(prev, m_keyLength - prev.size(), body, m_keyLength - body.size());
}

std::size_t CdxNodeCodec::leafBytes(const CdxNode& node, std::size_t from, std::size_t to) const {
    std::size_t text = 0;
    std::uint32_t maxRecno = 0;
    for (std::size_t i = from; i < to; ++i) {
        text += textLength(node, i, i == from);
        maxRecno = std::max(maxRecno, node.recnos[i]);
    }
    return (to - from) * layoutFor(maxRecno).entryBytes + text;
}

bool CdxNodeCodec::tryEncode(const CdxNode& node, Page& page) const {
    if (!node.leaf && node.size() > maxInteriorEntries())
        return false;
    page.fill(0);
    std::uint16_t attr = static_cast<std::uint16_t>((node.root ? kAttrRoot : 0) | (node.leaf ? kAttrLeaf : 0));
    putLe16(&page[0], attr);
    putLe16(&page[2], static_cast<std::uint16_t>(node.size()));
    putLe32(&page[4], node.left);
    putLe32(&page[8], node.right);
    if (node.leaf)
        return encodeLeaf(node, page);
    std::size_t step = m_keyLength + 8u;
    for (std::size_t i = 0; i < node.size(); ++i) {
        std::uint8_t* p = &page[kInteriorData + i * step];
        const std::string_view body = node.body(i);
        std::memcpy(p, body.data(), body.size());
        std::memset(p + body.size(), static_cast<unsigned char>(m_pad), m_keyLength - body.size());
        putBe32(p + m_keyLength, node.recnos[i]);
        putBe32(p + m_keyLength + 4, node.children[i]);
    }
    return true;
}

void CdxNodeCodec::encode(const CdxNode& node, Page& page) const {
    if (!tryEncode(node, page))
        throwDamaged("(in memory)", "node " + hexOffset(node.offset) + " does not fit in a page");
}

bool CdxNodeCodec::encodeLeaf(const CdxNode& node, Page& page) const {
    std::uint32_t maxRecno = 0;
    for (std::uint32_t recno : node.recnos)
        maxRecno = std::max(maxRecno, recno);
    Layout layout = layoutFor(maxRecno);
    if (node.size() * layout.entryBytes > kLeafCapacity)
        return false;
    std::uint64_t recMask = lowMask(std::min(layout.recBits, 32u));
    putLe32(&page[14], static_cast<std::uint32_t>(recMask));
    page[18] = static_cast<std::uint8_t>(lowMask(layout.dupBits));
    page[19] = static_cast<std::uint8_t>(lowMask(layout.trailBits));
    page[20] = static_cast<std::uint8_t>(layout.recBits);
    page[21] = static_cast<std::uint8_t>(layout.dupBits);
    page[22] = static_cast<std::uint8_t>(layout.trailBits);
    page[23] = static_cast<std::uint8_t>(layout.entryBytes);

    // Key text grows down from the end of the page towards the entry table.
    const std::size_t tableEnd = kLeafData + node.size() * layout.entryBytes;
    std::size_t pos = kPageSize;
    std::size_t prevTrail = 0;
    for (std::size_t i = 0; i < node.size(); ++i) {
        std::string_view key = node.body(i);
        std::size_t trail = m_keyLength - key.size();
        std::size_t dup = i == 0 ? 0 : shared(node.body(i - 1), prevTrail, key, trail);
        std::size_t n = m_keyLength - dup - trail;
        if (pos < tableEnd + n)
            return false;
        pos -= n;
        std::memcpy(&page[pos], key.data() + dup, n);
        std::uint64_t v = node.recnos[i] | (std::uint64_t{dup} << layout.recBits) |
                          (std::uint64_t{trail} << (layout.recBits + layout.dupBits));
        std::uint8_t* p = &page[kLeafData + i * layout.entryBytes];
        for (unsigned b = 0; b < layout.entryBytes; ++b)
            p[b] = static_cast<std::uint8_t>(shiftRight(v, 8 * b));
        prevTrail = trail;
    }
    putLe16(&page[12], static_cast<std::uint16_t>(pos - tableEnd));
    return true;
}

CdxNode CdxNodeCodec::decode(const Page& page, std::uint32_t offset, const std::string& fileName) const {
    CdxNode node(m_keyLength, m_pad);
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
    node.children.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &page[kInteriorData + i * step];
        node.push_back({reinterpret_cast<const char*>(p), m_keyLength}, getBe32(p + m_keyLength));
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

    node.recnos.resize(count);
    node.ends.resize(count);
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
        node.recnos[i] = static_cast<std::uint32_t>(v & recMask);
        // The key is the previous key's first dup bytes (pad beyond its body), the text, then
        // pad; its body ends at its last byte that is not pad.
        const std::size_t prevStart = i == 0 ? 0 : node.start(i - 1);
        const std::size_t prevLength = i == 0 ? 0 : node.ends[i - 1] - prevStart;
        const std::size_t copied = std::min(dup, prevLength);
        node.bodies.append(node.bodies, prevStart, copied);
        node.bodies.append(dup - copied, m_pad);
        node.bodies.append(reinterpret_cast<const char*>(&page[pos]), n);
        const std::size_t from = i == 0 ? 0 : node.ends[i - 1];
        while (node.bodies.size() > from && node.bodies.back() == m_pad)
            node.bodies.pop_back();
        node.ends[i] = static_cast<std::uint32_t>(node.bodies.size());
    }
    node.actualFree = pos - tableEnd;
}

} // namespace engine::cdx
