#pragma once
#include "engine/CdxFormat.h"
#include "engine/CdxIndex.h"
#include "engine/File.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace engine::cdx {

struct CdxNode;

// Pages and decoded nodes an index keeps from one call to the next, by page number. They hold
// while the change counter of the compound header stays as it was: every change this engine
// makes increments the counter (as FoxPro-compatible engines do), so a page cached here is never
// older than the file. Beyond a few megabytes the decoded nodes are dropped, beyond more the pages.
struct CdxCache {
    struct Decoded {
        std::uint16_t keyLength = 0; // of the tree it was read as
        std::shared_ptr<const CdxNode> node;
    };
    bool valid = false;
    std::uint32_t counter = 0;
    std::uint64_t size = 0;
    std::vector<std::unique_ptr<Page>> pages;
    std::vector<Decoded> nodes;
    std::size_t pageBytes = 0;
    std::size_t nodeBytes = 0;

    void clear();
    void dropNodes();
    // The cached page at offset; nullptr when there is none.
    const Page* page(std::uint32_t offset) const;
    void putPage(std::uint32_t offset, const Page& page);
    const Decoded* node(std::uint32_t offset) const;
    void putNode(std::uint32_t offset, Decoded decoded);
    void eraseNode(std::uint32_t offset);
};

// The pages of an index file for the length of one public call: reads are cached, writes are
// kept until commit(), pages come from the free list (head in the compound header, each free
// page holding the next one's offset in its first four bytes) before the file grows. With a
// CdxCache, pages and decoded nodes outlive the call: the compound header is read at the start of
// every call and the cache dropped when the counter or the size changed.
class CdxPager {
public:
    // wholeHeader: the compound header is read in full at once (a change needs it). cacheOnly:
    // every page must come from the cache, which must still be the file's; CdxIndex::NotCached is thrown
    // when it cannot answer.
    explicit CdxPager(File& file, CdxCache* cache = nullptr, bool wholeHeader = false, bool cacheOnly = false);

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

    // Writes every changed page, then the compound header with the free-list head, (when
    // bumpCounter) the incremented change counter and (when clearMarker) the update marker
    // cleared: the header goes last, so it never describes pages not yet written.
    void commit(bool bumpCounter = true, bool clearMarker = false);

    // The update marker as the compound header holds it now.
    bool marked();
    // Sets the update marker in the file at once.
    void mark();

    // The decoded node of a page as read or stored before (for a tree of that key length);
    // nullptr when there is none.
    std::shared_ptr<const CdxNode> cachedNode(std::uint32_t offset, std::uint16_t keyLength) const;
    // Remembers the decoded node of a page: one read as it is in the file, or one just stored,
    // which the cache takes once its page is written.
    void keepNode(std::uint32_t offset, std::uint16_t keyLength, std::shared_ptr<const CdxNode> node);

    // Drops the decoded node of a page that is about to change.
    void forget(std::uint32_t offset);

    [[noreturn]] void damaged(const std::string& what) const { throwDamaged(m_name, what); }

private:
    void loadFreeHead();

    File& m_file;
    CdxCache* m_cache;
    bool m_cacheOnly;
    std::string m_name;
    std::uint64_t m_size;
    std::map<std::uint32_t, Page> m_pages;
    std::set<std::uint32_t> m_dirty;
    std::set<std::uint32_t> m_popped; // pages taken from the free list in this call (a cycle shows)
    std::map<std::uint32_t, CdxCache::Decoded> m_stored; // nodes of changed pages
    std::uint32_t m_freeHead = kNone;
    bool m_freeLoaded = false;
};

} // namespace engine::cdx
