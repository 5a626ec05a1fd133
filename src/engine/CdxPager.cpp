#include "engine/CdxPager.h"

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

// Beyond these the cache starts afresh: a few megabytes of pages, a few thousand decoded nodes.
constexpr std::size_t kMaxCachedPages = 16384;
constexpr std::size_t kMaxCachedNodes = 4096;

} // namespace

CdxPager::CdxPager(File& file, CdxCache* cache)
    : m_file(file), m_cache(cache), m_name(file.name()), m_size(file.size()) {
    if (!m_cache)
        return;
    // The compound header tells whether what the cache holds is still the file's.
    Page header{};
    if (m_size < kPageSize || m_file.read(0, header.data(), kPageSize) != kPageSize) {
        m_cache->clear();
        return;
    }
    const std::uint32_t counter = getBe32(&header[kHdrCounter]);
    if (!m_cache->valid || m_cache->counter != counter || m_cache->size != m_size ||
        m_cache->pages.size() > kMaxCachedPages || m_cache->nodes.size() > kMaxCachedNodes) {
        m_cache->clear();
        m_cache->valid = true;
        m_cache->counter = counter;
        m_cache->size = m_size;
    }
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
    if (m_cache && m_cache->valid) {
        const auto cached = m_cache->pages.find(offset);
        if (cached != m_cache->pages.end())
            return m_pages.emplace(offset, cached->second).first->second;
    }
    Page page{};
    if (m_file.read(offset, page.data(), kPageSize) != kPageSize)
        damaged("page " + hexOffset(offset) + " cannot be read in full");
    if (m_cache && m_cache->valid)
        m_cache->pages[offset] = page;
    return m_pages.emplace(offset, page).first->second;
}

void CdxPager::forget(std::uint32_t offset) {
    if (m_cache)
        m_cache->nodes.erase(offset);
}

Page& CdxPager::modify(std::uint32_t offset) {
    read(offset);
    m_dirty.insert(offset);
    forget(offset);
    return m_pages[offset];
}

void CdxPager::put(std::uint32_t offset, const Page& page) {
    if (!m_pages.count(offset) && !validPage(offset))
        damaged("page " + hexOffset(offset) + " lies outside the file");
    m_pages[offset] = page;
    m_dirty.insert(offset);
    forget(offset);
}

std::shared_ptr<const CdxNode> CdxPager::cachedNode(std::uint32_t offset, std::uint16_t keyLength) const {
    if (!m_cache || !m_cache->valid || m_dirty.count(offset))
        return nullptr;
    const auto it = m_cache->nodes.find(offset);
    if (it == m_cache->nodes.end() || it->second.keyLength != keyLength)
        return nullptr;
    return it->second.node;
}

void CdxPager::keepNode(std::uint32_t offset, std::uint16_t keyLength, std::shared_ptr<const CdxNode> node) {
    if (m_cache && m_cache->valid && !m_dirty.count(offset))
        m_cache->nodes[offset] = {keyLength, std::move(node)};
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

void CdxPager::release(std::uint32_t offset) {
    loadFreeHead();
    Page page{};
    putLe32(page.data(), m_freeHead);
    put(offset, page);
    m_popped.erase(offset);
    m_freeHead = offset;
}

void CdxPager::commit(bool bumpCounter) {
    if (m_dirty.empty())
        return;
    Page& header = modify(0);
    if (m_freeLoaded)
        putLe32(&header[kHdrFree], m_freeHead);
    if (bumpCounter)
        putBe32(&header[kHdrCounter], getBe32(&header[kHdrCounter]) + 1);

    // Contiguous changed pages go out in one write each.
    std::vector<std::uint8_t> run;
    std::uint64_t runStart = 0;
    auto flushRun = [&] {
        if (!run.empty())
            m_file.write(runStart, run.data(), run.size());
        run.clear();
    };
    for (std::uint32_t offset : m_dirty) {
        if (!run.empty() && (runStart + run.size() != offset || run.size() >= (1u << 20)))
            flushRun();
        if (run.empty())
            runStart = offset;
        const Page& page = m_pages[offset];
        run.insert(run.end(), page.begin(), page.end());
    }
    // Until every page is written the cache cannot be trusted: a failure leaves it to be dropped.
    if (m_cache)
        m_cache->valid = false;
    flushRun();
    if (m_cache) {
        m_cache->valid = true;
        m_cache->counter = getBe32(&header[kHdrCounter]);
        m_cache->size = m_size;
        for (std::uint32_t offset : m_dirty)
            m_cache->pages[offset] = m_pages[offset];
    }
    m_dirty.clear();
}

} // namespace engine::cdx
