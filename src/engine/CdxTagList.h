#pragma once
#include "engine/CdxIndex.h"
#include "engine/CdxPager.h"

#include <string>
#include <vector>

namespace engine::cdx {

// The compound header and the structural tag list: the tree at offset 0 whose keys are the tag
// names and whose record numbers are the offsets of the tags' 1024-byte headers.
class CdxTagList {
public:
    // Checks the compound header and reads every tag's header, in the order of the headers in
    // the file (the order the tags were created in).
    static std::vector<CdxTagInfo> read(CdxPager& pager);
    // Reads one tag header; throws the damaged-file error when it is not a sound one.
    static CdxTagInfo readTag(CdxPager& pager, const std::string& name, std::uint32_t headerOffset);
    // The two pages of a fresh header: root page, empty free list, counter 0, key length, options,
    // ascending order, the expression pool holding expression, NUL, (empty FOR expression) NUL.
    static void writeHeader(CdxPager& pager, std::uint32_t offset, std::uint32_t root, std::uint16_t keyLength,
                            std::uint8_t options, const std::string& expression);
};

} // namespace engine::cdx
