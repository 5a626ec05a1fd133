#pragma once
#include "engine/CdxFormat.h"
#include "engine/File.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace engine::cdx {

// The pages of an index file for the length of one public call: reads are cached, writes are
// kept until commit(), pages come from the free list (head in the compound header, each free
// page holding the next one's offset in its first four bytes) before the file grows.
class CdxPager {
public:
    explicit CdxPager(File& file);

    const std::string& fileName() const { return m_name; }
    std::uint64_t fileSize() const { return m_size; }
    std::uint64_t pageCount() const { return m_size / kPageSize; }
    // True when [offset, offset + length) is page-aligned and inside the file.
    bool validPage(std::uint32_t offset, std::size_t length = kPageSize) const;

    // The page at offset; throws the damaged-file error when offset is not a page of the file.
    const Page& read(std::uint32_t offset);
    // The page at offset, to be changed in place and written by commit().
    Page& modify(std::uint32_t offset);
    void put(std::uint32_t offset, const Page& page);

    // A page for a new node: the head of the free list, or a new page at the end of the file
    // (also when the head is not a free page, which abandons the damaged list).
    std::uint32_t allocate();
    // A new page at the end of the file (zero-filled, not yet written).
    std::uint32_t grow();
    // Puts a page that no node uses any more at the head of the free list.
    void release(std::uint32_t offset);
    // Offset of the first free page, kNone when the list is empty (0 counts as empty too).
    std::uint32_t freeHead();

    bool dirty() const { return !m_dirty.empty(); }
    // Writes every changed page, the free-list head and (when bumpCounter) the incremented change
    // counter.
    void commit(bool bumpCounter = true);

    [[noreturn]] void damaged(const std::string& what) const { throwDamaged(m_name, what); }

private:
    void loadFreeHead();

    File& m_file;
    std::string m_name;
    std::uint64_t m_size;
    std::map<std::uint32_t, Page> m_pages;
    std::set<std::uint32_t> m_dirty;
    std::set<std::uint32_t> m_popped; // pages taken from the free list in this call (a cycle shows)
    std::uint32_t m_freeHead = kNone;
    bool m_freeLoaded = false;
};

} // namespace engine::cdx
