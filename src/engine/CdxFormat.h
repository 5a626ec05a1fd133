#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Constants and byte helpers of the compound index file format shared by the CDX sources.
namespace engine::cdx {

inline constexpr std::size_t kPageSize = 512;
inline constexpr std::size_t kHeaderSize = 1024; // header page + expression pool
inline constexpr std::uint32_t kNone = 0xFFFFFFFF;
inline constexpr std::uint16_t kMaxKeyLength = 240;
inline constexpr std::uint16_t kTagNameLength = 10;
// Deepest tree we accept: a tree built by splits over 2^23 pages (4 GiB) is far shallower.
inline constexpr std::size_t kMaxDepth = 64;

// Header fields (the compound header at 0 and every tag header use the same layout).
inline constexpr std::size_t kHdrRoot = 0;
inline constexpr std::size_t kHdrFree = 4;
inline constexpr std::size_t kHdrCounter = 8;
inline constexpr std::size_t kHdrKeyLength = 12;
inline constexpr std::size_t kHdrOptions = 14;
inline constexpr std::size_t kHdrSignature = 15;
// Marker of an interrupted update: one byte in the reserved area of the compound header, away
// from the bytes other writers use at its start (16..23) and end.
inline constexpr std::size_t kHdrUpdateMarker = 400;
inline constexpr std::size_t kHdrOrder = 502;
inline constexpr std::size_t kHdrForPos = 504;
inline constexpr std::size_t kHdrForLen = 506;
inline constexpr std::size_t kHdrKeyPos = 508;
inline constexpr std::size_t kHdrKeyLen = 510;

inline constexpr std::uint8_t kOptUnique = 0x01;
inline constexpr std::uint8_t kOptFor = 0x08;
inline constexpr std::uint8_t kOptTag = 0x60;      // compact + compound
inline constexpr std::uint8_t kOptCompound = 0xE0; // compact + compound + structural tag list

// Node header: attributes, key count, left and right sibling.
inline constexpr std::uint16_t kAttrRoot = 1;
inline constexpr std::uint16_t kAttrLeaf = 2;
inline constexpr std::size_t kLeafData = 24;                        // entries start here
inline constexpr std::size_t kLeafCapacity = kPageSize - kLeafData; // 488 bytes for entries and text
inline constexpr std::size_t kInteriorData = 12;

using Page = std::array<std::uint8_t, kPageSize>;

inline std::uint16_t getLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t getLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint32_t getBe32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}
inline void putLe16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void putLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void putBe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// "0x1A00": page offsets in messages.
std::string hexOffset(std::uint64_t offset);

// Throws the error of a damaged index file: "Index file <name> is damaged: <what>".
[[noreturn]] void throwDamaged(const std::string& fileName, const std::string& what);

} // namespace engine::cdx
