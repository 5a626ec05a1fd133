#pragma once
#include "engine/CdxFormat.h"
#include "engine/File.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

namespace engine::cdx {

struct CdxNode;

// Pages and decoded nodes an index keeps from one call to the next. They hold while the change
// counter of the compound header and the file's size stay as they were: every change this
// engine makes increments the counter (as FoxPro-compatible engines do), so a page cached here is
// never older than the file.
struct CdxCache {
    bool valid = false;
    std::uint32_t counter = 0;
    std::uint64_t size = 0;
    std::unordered_map<std::uint32_t, Page> pages;
    struct Decoded {
        std::uint16_t keyLength = 0; // of the tree it was read as
        std::shared_ptr<const CdxNode> node;
    };
    std::unordered_map<std::uint32_t, Decoded> nodes;
    void clear() {
        valid = false;
        pages.clear();
        nodes.clear();
    }
};

// The pages of an index file for the length of one public call: reads are cached, writes are
// kept until commit(), pages come from the free list (head in the compound header, each free
// page holding the next one's offset in its first four bytes) before the file grows. With a
// CdxCache, pages and decoded nodes outlive the call: the compound header is read at the start of
// every call and the cache dropped when the counter or the size changed.
class CdxPager {
public:
    explicit CdxPager(File& file, CdxCache* cache = nullptr);

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

    // Writes every changed page, the free-list head and (when bumpCounter) the incremented change
    // counter.
    void commit(bool bumpCounter = true);

    // The decoded node of an unchanged page as read before (for a tree of that key length);
    // nullptr when there is none.
    std::shared_ptr<const CdxNode> cachedNode(std::uint32_t offset, std::uint16_t keyLength) const;
    void keepNode(std::uint32_t offset, std::uint16_t keyLength, std::shared_ptr<const CdxNode> node);

    [[noreturn]] void damaged(const std::string& what) const { throwDamaged(m_name, what); }

private:
    void loadFreeHead();

    void forget(std::uint32_t offset);

    File& m_file;
    CdxCache* m_cache;
    std::string m_name;
    std::uint64_t m_size;
    std::map<std::uint32_t, Page> m_pages;
    std::set<std::uint32_t> m_dirty;
    std::set<std::uint32_t> m_popped; // pages taken from the free list in this call (a cycle shows)
    std::uint32_t m_freeHead = kNone;
    bool m_freeLoaded = false;
};

} // namespace engine::cdx
