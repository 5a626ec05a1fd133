#include "engine/CdxTagList.h"

#include "engine/CdxTree.h"

#include <algorithm>

namespace engine::cdx {

namespace {

// Text of the pool from pos for at most len bytes, up to its first NUL.
std::string poolText(const Page& pool, std::size_t pos, std::size_t len) {
    if (pos >= kPageSize)
        return {};
    len = std::min(len, kPageSize - pos);
    const char* begin = reinterpret_cast<const char*>(pool.data() + pos);
    return std::string(begin, std::find(begin, begin + len, '\0'));
}

std::string trimName(const std::string& key) {
    std::size_t end = key.find_last_not_of(std::string(" \0", 2));
    return end == std::string::npos ? std::string() : key.substr(0, end + 1);
}

} // namespace

CdxTagInfo CdxTagList::readTag(CdxPager& pager, const std::string& name, std::uint32_t headerOffset) {
    if (headerOffset < kHeaderSize || !pager.validPage(headerOffset, kHeaderSize))
        pager.damaged("header of tag " + name + " at " + hexOffset(headerOffset) + " lies outside the file");
    const Page& header = pager.read(headerOffset);
    CdxTagInfo info;
    info.name = name;
    info.headerOffset = headerOffset;
    info.keyLength = getLe16(&header[kHdrKeyLength]);
    if (info.keyLength == 0 || info.keyLength > kMaxKeyLength)
        pager.damaged("tag " + name + " has key length " + std::to_string(info.keyLength));
    std::uint8_t options = header[kHdrOptions];
    info.unique = (options & kOptUnique) != 0;
    info.descending = getLe16(&header[kHdrOrder]) != 0;
    std::uint16_t keyPos = getLe16(&header[kHdrKeyPos]);
    std::uint16_t keyLen = getLe16(&header[kHdrKeyLen]);
    std::uint16_t forPos = getLe16(&header[kHdrForPos]);
    std::uint16_t forLen = getLe16(&header[kHdrForLen]);
    const Page& pool = pager.read(headerOffset + kPageSize);
    info.expression = poolText(pool, keyPos, keyLen);
    if (options & kOptFor)
        info.forExpression = poolText(pool, forPos, forLen);
    return info;
}

std::vector<CdxTagInfo> CdxTagList::read(CdxPager& pager) {
    if (pager.fileSize() < kHeaderSize)
        pager.damaged("the file is shorter than its header (" + std::to_string(pager.fileSize()) + " bytes)");
    const Page& header = pager.read(0);
    std::uint16_t keyLength = getLe16(&header[kHdrKeyLength]);
    if (keyLength != kTagNameLength)
        pager.damaged("the tag list has key length " + std::to_string(keyLength) + " instead of 10");

    std::vector<CdxTagInfo> tags;
    CdxTree list(pager, 0, kTagNameLength, ' ');
    list.walkLeaves([&](const CdxNode& leaf) {
        for (std::size_t i = 0; i < leaf.size(); ++i) {
            tags.push_back(readTag(pager, trimName(std::string(leaf.key(i))), leaf.recnos[i]));
            if (tags.size() > pager.pageCount())
                pager.damaged("the tag list holds more tags than the file has pages");
        }
        return true;
    });
    std::stable_sort(tags.begin(), tags.end(),
                     [](const CdxTagInfo& a, const CdxTagInfo& b) { return a.headerOffset < b.headerOffset; });
    for (std::size_t i = 1; i < tags.size(); ++i)
        if (tags[i].headerOffset == tags[i - 1].headerOffset)
            pager.damaged("tags " + tags[i - 1].name + " and " + tags[i].name + " share one header");
    return tags;
}

void CdxTagList::writeHeader(CdxPager& pager, std::uint32_t offset, std::uint32_t root, std::uint16_t keyLength,
                             std::uint8_t options, const std::string& expression) {
    Page page{};
    putLe32(&page[kHdrRoot], root);
    putLe32(&page[kHdrFree], kNone);
    putLe16(&page[kHdrKeyLength], keyLength);
    page[kHdrOptions] = options;
    page[kHdrSignature] = 0x01;
    auto exprLen = static_cast<std::uint16_t>(expression.size() + 1);
    putLe16(&page[kHdrForPos], exprLen);
    putLe16(&page[kHdrForLen], 1);
    putLe16(&page[kHdrKeyPos], 0);
    putLe16(&page[kHdrKeyLen], exprLen);
    pager.put(offset, page);
    Page pool{};
    std::copy(expression.begin(), expression.end(), pool.begin());
    pager.put(offset + kPageSize, pool);
}

} // namespace engine::cdx
