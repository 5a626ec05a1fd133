#include "engine/CdxPager.h"

#include "engine/CdxNode.h"
#include "engine/EngineError.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace engine::cdx {

std::string hexOffset(std::uint64_t offset) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%llX", static_cast<unsigned long long>(offset));
    return buffer;
}

void throwDamaged(const std::string& fileName, const std::string& what) {
    throw EngineError("Index file " + fileName + " is damaged: " + what);
}

namespace {

// Beyond these the cache lets go: of decoded nodes first (pages decode again quickly), then of
// the pages themselves.
constexpr std::size_t kMaxNodeBytes = 16u << 20;
constexpr std::size_t kMaxPageBytes = 32u << 20;

std::size_t bytesOf(const CdxNode& node) {
    return sizeof(CdxNode) + node.bodies.capacity() +
           4 * (node.ends.capacity() + node.recnos.capacity() + node.children.capacity());
}

} // namespace

void CdxCache::clear() {
    valid = false;
    pages.clear();
    nodes.clear();
    pageBytes = nodeBytes = 0;
}

void CdxCache::dropNodes() {
    nodes.clear();
    nodeBytes = 0;
}

const Page* CdxCache::page(std::uint32_t offset) const {
    const std::size_t n = offset / kPageSize;
    return n < pages.size() ? pages[n].get() : nullptr;
}

void CdxCache::putPage(std::uint32_t offset, const Page& page) {
    const std::size_t n = offset / kPageSize;
    if (n >= pages.size())
        pages.resize(n + 1);
    if (!pages[n]) {
        pages[n] = std::make_unique<Page>();
        pageBytes += kPageSize;
    }
    *pages[n] = page;
}

const CdxCache::Decoded* CdxCache::node(std::uint32_t offset) const {
    const std::size_t n = offset / kPageSize;
    return n < nodes.size() && nodes[n].node ? &nodes[n] : nullptr;
}

void CdxCache::putNode(std::uint32_t offset, Decoded decoded) {
    const std::size_t n = offset / kPageSize;
    if (n >= nodes.size())
        nodes.resize(n + 1);
    eraseNode(offset);
    nodeBytes += bytesOf(*decoded.node);
    nodes[n] = std::move(decoded);
}

void CdxCache::eraseNode(std::uint32_t offset) {
    const std::size_t n = offset / kPageSize;
    if (n < nodes.size() && nodes[n].node) {
        nodeBytes -= bytesOf(*nodes[n].node);
        nodes[n] = {};
    }
}

CdxPager::CdxPager(File& file, CdxCache* cache, bool wholeHeader, bool cacheOnly)
    : m_file(file), m_cache(cache), m_cacheOnly(cacheOnly && cache), m_name(file.name()), m_size(0) {
    if (!m_cache) {
        m_size = m_file.size();
        return;
    }
    // The compound header tells whether what the cache holds is still the file's: every writer
    // increments its change counter. A reader needs no more of it than the counter; the size is
    // asked for only when the counter changed.
    Page header{};
    const std::size_t wanted = wholeHeader ? kPageSize : kHdrCounter + 4;
    if (m_file.read(0, header.data(), wanted) != wanted) {
        if (m_cacheOnly)
            throw CdxIndex::NotCached{};
        m_cache->clear();
        m_size = m_file.size();
        return;
    }
    const std::uint32_t counter = getBe32(&header[kHdrCounter]);
    if (m_cacheOnly && (!m_cache->valid || m_cache->counter != counter))
        throw CdxIndex::NotCached{};
    if (!m_cache->valid || m_cache->counter != counter || m_cache->pageBytes > kMaxPageBytes) {
        m_cache->clear();
        m_size = m_file.size();
        m_cache->valid = true;
        m_cache->counter = counter;
        m_cache->size = m_size;
    } else {
        m_size = m_cache->size;
        if (m_cache->nodeBytes > kMaxNodeBytes)
            m_cache->dropNodes();
    }
    if (wholeHeader)
        m_pages.emplace(0, header);
}

bool CdxPager::validPage(std::uint32_t offset, std::size_t length) const {
    return offset % kPageSize == 0 && std::uint64_t{offset} + length <= m_size;
}

const Page& CdxPager::read(std::uint32_t offset) {
    auto it = m_pages.find(offset);
    if (it != m_pages.end())
        return it->second;
    if (!validPage(offset))
        damaged("page " + hexOffset(offset) + " lies outside the file (size " + std::to_string(m_size) + ")");
    // The compound header is never taken from the cache: the update marker changes without the counter.
    const bool caching = m_cache && m_cache->valid && offset != 0;
    if (caching)
        if (const Page* cached = m_cache->page(offset))
            return *cached; // stays in place until the cache changes, at commit or the next call
    if (m_cacheOnly)
        throw CdxIndex::NotCached{};
    Page page{};
    if (m_file.read(offset, page.data(), kPageSize) != kPageSize)
        damaged("page " + hexOffset(offset) + " cannot be read in full");
    if (caching) {
        m_cache->putPage(offset, page);
        return *m_cache->page(offset);
    }
    return m_pages.emplace(offset, page).first->second;
}

void CdxPager::forget(std::uint32_t offset) {
    m_stored.erase(offset);
    if (m_cache)
        m_cache->eraseNode(offset);
}

Page& CdxPager::modify(std::uint32_t offset) {
    auto it = m_pages.find(offset);
    if (it == m_pages.end())
        it = m_pages.emplace(offset, read(offset)).first;
    m_dirty.insert(offset);
    forget(offset);
    return it->second;
}

void CdxPager::put(std::uint32_t offset, const Page& page) {
    if (!m_pages.count(offset) && !validPage(offset))
        damaged("page " + hexOffset(offset) + " lies outside the file");
    m_pages[offset] = page;
    m_dirty.insert(offset);
    forget(offset);
}

std::shared_ptr<const CdxNode> CdxPager::cachedNode(std::uint32_t offset, std::uint16_t keyLength) const {
    const CdxCache::Decoded* found = nullptr;
    if (m_dirty.count(offset)) {
        auto it = m_stored.find(offset);
        found = it == m_stored.end() ? nullptr : &it->second;
    } else if (m_cache && m_cache->valid) {
        found = m_cache->node(offset);
    }
    return found && found->keyLength == keyLength ? found->node : nullptr;
}

void CdxPager::keepNode(std::uint32_t offset, std::uint16_t keyLength, std::shared_ptr<const CdxNode> node) {
    if (m_dirty.count(offset))
        m_stored[offset] = {keyLength, std::move(node)};
    else if (m_cache && m_cache->valid)
        m_cache->putNode(offset, {keyLength, std::move(node)});
}

void CdxPager::release(std::uint32_t offset) {
    loadFreeHead();
    Page page{};
    putLe32(page.data(), m_freeHead);
    put(offset, page);
    m_popped.erase(offset);
    m_freeHead = offset;
}

bool CdxPager::marked() {
    return read(0)[kHdrUpdateMarker] != 0;
}

void CdxPager::mark() {
    const std::uint8_t on = 1;
    m_file.write(kHdrUpdateMarker, &on, 1);
    // The header page as this call holds it says so too, whether or not it is written again.
    auto it = m_pages.find(0);
    if (it != m_pages.end())
        it->second[kHdrUpdateMarker] = 1;
}

void CdxPager::loadFreeHead() {
    if (m_freeLoaded)
        return;
    std::uint32_t head = getLe32(&read(0)[kHdrFree]);
    m_freeHead = head == 0 ? kNone : head;
    m_freeLoaded = true;
}

std::uint32_t CdxPager::freeHead() {
    loadFreeHead();
    return m_freeHead;
}

std::uint32_t CdxPager::allocate() {
    loadFreeHead();
    if (m_freeHead != kNone) {
        std::uint32_t offset = m_freeHead;
        if (offset < kHeaderSize || !validPage(offset) || m_popped.count(offset))
            damaged("free page list points to " + hexOffset(offset));
        const Page& page = read(offset);
        // A free page holds nothing but the link. One that holds more is in use: the list is
        // damaged, so it is dropped (its pages are lost) rather than followed into a live node.
        if (std::any_of(page.begin() + 4, page.end(), [](std::uint8_t b) { return b != 0; })) {
            m_freeHead = kNone;
            return grow();
        }
        std::uint32_t next = getLe32(page.data());
        m_freeHead = next == 0 || next == offset ? kNone : next;
        m_popped.insert(offset);
        m_dirty.insert(offset);
        return offset;
    }
    return grow();
}

std::uint32_t CdxPager::grow() {
    std::uint64_t offset = (m_size + kPageSize - 1) / kPageSize * kPageSize;
    if (offset + kPageSize > kNone)
        throw EngineError("Index file " + m_name + " cannot grow beyond 4 GB");
    m_size = offset + kPageSize;
    auto page = static_cast<std::uint32_t>(offset);
    m_pages[page] = Page{};
    m_dirty.insert(page);
    forget(page);
    return page;
}

void CdxPager::commit(bool bumpCounter, bool clearMarker) {
    if (m_dirty.empty() && !clearMarker)
        return;
    Page& header = modify(0);
    if (m_freeLoaded)
        putLe32(&header[kHdrFree], m_freeHead);
    if (bumpCounter)
        putBe32(&header[kHdrCounter], getBe32(&header[kHdrCounter]) + 1);
    if (clearMarker)
        header[kHdrUpdateMarker] = 0;

    // Until every page is written the cache cannot be trusted: a failure leaves it to be dropped.
    if (m_cache)
        m_cache->valid = false;
    // Contiguous changed pages go out in one write each; the compound header last, alone.
    std::vector<std::uint8_t> run;
    std::uint64_t runStart = 0;
    auto flushRun = [&] {
        if (!run.empty())
            m_file.write(runStart, run.data(), run.size());
        run.clear();
    };
    for (std::uint32_t offset : m_dirty) {
        if (offset == 0)
            continue;
        if (!run.empty() && (runStart + run.size() != offset || run.size() >= (1u << 20)))
            flushRun();
        if (run.empty())
            runStart = offset;
        const Page& page = m_pages[offset];
        run.insert(run.end(), page.begin(), page.end());
    }
    flushRun();
    m_file.write(0, header.data(), kPageSize);
    if (m_cache) {
        m_cache->valid = true;
        m_cache->counter = getBe32(&header[kHdrCounter]);
        m_cache->size = m_size;
        for (std::uint32_t offset : m_dirty) {
            if (offset != 0)
                m_cache->putPage(offset, m_pages[offset]);
            auto stored = m_stored.find(offset);
            if (stored != m_stored.end())
                m_cache->putNode(offset, std::move(stored->second));
        }
    }
    m_stored.clear();
    m_dirty.clear();
}

} // namespace engine::cdx
