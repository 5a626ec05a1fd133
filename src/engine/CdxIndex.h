#pragma once
#include "engine/File.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

namespace cdx {
struct CdxCache;
class CdxPager;
} // namespace cdx

struct CdxTagDefinition {
    std::string name;            // at most 10 characters; stored upper-cased
    std::string expression;      // key expression text, e.g. "UPPER(NAME)"
    std::uint16_t keyLength = 0; // bytes of every key of the tag
    char pad = ' ';              // pad byte of the keys: ' ' for character keys, '\0' for numeric
};

struct CdxTagInfo {
    std::string name;
    std::string expression;
    std::string forExpression; // empty when the tag has none
    std::uint16_t keyLength = 0;
    bool descending = false;
    bool unique = false;
    std::uint32_t headerOffset = 0;
};

// One key of a tag: exactly keyLength bytes (padded) and its record number.
struct CdxEntry {
    std::string key;
    std::uint32_t recno = 0;
    bool operator==(const CdxEntry&) const = default;
};

// The keys of one tag side by side, each exactly keyLength bytes, with their record numbers: a
// whole table's keys in a few allocations.
struct CdxKeyList {
    std::size_t keyLength = 0;
    std::string keys;
    std::vector<std::uint32_t> recnos;
    std::size_t size() const { return recnos.size(); }
    std::string_view key(std::size_t i) const { return {keys.data() + i * keyLength, keyLength}; }
};

// A FoxPro compound index file (.cdx) over a File: 512-byte pages, the structural tag list, one
// B-tree per tag with interior nodes and compact leaf nodes, sibling links and a free-page list.
// Keys collate as unsigned bytes; equal keys by record number.
//
// The object keeps pages and decoded nodes between calls, and drops them when the change counter
// of the compound header says another process (or another object) changed the file.
// The caller holds the index file's lock (one byte at 0x7FFFFFFE) around every call, or every
// sequence of calls that must look atomic to other processes. Every failure, a corrupt or
// truncated file included, throws EngineError; nothing reads outside the file's bounds.
//
// A changing call works the change out in memory and writes its pages at the end, so damage met
// on the way leaves the file untouched; it increments the change counter of the compound header. Nodes a removal
// empties are unlinked and put on the free list; a node left at most half full is merged with a neighbour under the
// same parent when the two fit in one page; a root with a single child hands the root over to it.
// New nodes take pages from the free list before the file grows. Tags in descending order are
// read but never changed.
class CdxIndex {
public:
    // Writes a new index with the given tags, all empty, over the file (which is truncated).
    static void create(File& file, const std::vector<CdxTagDefinition>& tags);

    // Reads the compound header and the tag list; EngineError when the file is not a valid index.
    explicit CdxIndex(File& file);
    ~CdxIndex();

    const std::vector<CdxTagInfo>& tags() const { return m_tags; }
    // Index of a tag by name, without regard to case; -1 when there is none.
    int findTag(std::string_view name) const;
    // Pad byte used for trailing-byte compression of a tag (' ' unless set); the opener sets '\0'
    // for tags whose expression is numeric.
    void setPad(int tag, char pad);

    // Keys shorter than the key length are padded with the tag's pad byte; longer ones are refused.
    // Adding an entry that is there already changes nothing.
    void insert(int tag, std::string_view key, std::uint32_t recno);
    // Removes the entry (key, recno); false when it is not there.
    bool remove(int tag, std::string_view key, std::uint32_t recno);
    // Removes the entry of recno whatever its key (an index written by another engine whose keys
    // differ from ours); false when the tag has no entry for recno.
    bool removeRecord(int tag, std::uint32_t recno);
    // Replaces the whole content of a tag by the entries (any order); pages of the old tree are
    // reused or freed.
    void rebuild(int tag, std::vector<CdxEntry> entries);
    // The same from keys of the tag's full key length.
    void rebuildFromKeys(int tag, const CdxKeyList& list);

    std::optional<CdxEntry> first(int tag);
    std::optional<CdxEntry> last(int tag);
    // The neighbours of a position in key order; the entry given need not exist any more.
    std::optional<CdxEntry> next(int tag, const CdxEntry& after);
    std::optional<CdxEntry> prior(int tag, const CdxEntry& before);
    // First entry in key order whose key begins with prefix (compared over prefix.size() bytes);
    // std::nullopt when none does.
    std::optional<CdxEntry> seek(int tag, std::string_view prefix);
    std::uint64_t count(int tag);
    // Levels of a tag's tree: 1 when the root is a leaf.
    std::size_t depth(int tag);

    // Structural check of the whole file (key order, sibling links, parent keys, free list,
    // pages inside the file): the first problem found, described for a person; empty when sound.
    std::string check();

    // Several changes made as one, under the index lock the caller holds throughout: the
    // compound header is read once at the start, the changed pages are written by commit() and the
    // header last, with the change counter incremented once. Dropped without commit(), nothing
    // of it reaches the file but the marker.
    class Change {
    public:
        explicit Change(CdxIndex& index);
        ~Change();
        Change(const Change&) = delete;
        Change& operator=(const Change&) = delete;

        // The update marker as the change found it; mark() sets it in the file at once.
        bool marked();
        void mark();
        void insert(int tag, std::string_view key, std::uint32_t recno);
        bool remove(int tag, std::string_view key, std::uint32_t recno);
        bool removeRecord(int tag, std::uint32_t recno);
        // Writes the change; clearMarker clears the update marker in the same write of the header.
        void commit(bool clearMarker = false);

    private:
        CdxIndex& m_index;
        std::unique_ptr<cdx::CdxPager> m_pager;
    };

    // While a CacheOnly lives, the reading calls answer from the pages and nodes kept in memory
    // alone, without reading the file beyond the change counter of its header; NotCached is thrown
    // when that is not enough. Such a read needs no index lock: every writer writes the counter
    // after its pages, so a counter unchanged means the kept pages are still the file's.
    struct NotCached {};
    class CacheOnly {
    public:
        explicit CacheOnly(CdxIndex& index) : m_index(index) { m_index.m_cacheOnly = true; }
        ~CacheOnly() { m_index.m_cacheOnly = false; }
        CacheOnly(const CacheOnly&) = delete;
        CacheOnly& operator=(const CacheOnly&) = delete;

    private:
        CdxIndex& m_index;
    };

    // Marker of an interrupted update, kept in the compound header (byte 400, in the reserved
    // area; 1 = set, 0 = clear; other writers leave it 0): set (and written) before a
    // change of table and index starts, cleared when it is complete. Seen set by a process that
    // holds the index lock, it means the writer died in the middle: the index is stale.
    void setUpdateInProgress(bool on);
    bool updateInProgress();

private:
    File& m_file;
    std::vector<CdxTagInfo> m_tags;
    std::vector<char> m_pads;
    std::unique_ptr<cdx::CdxCache> m_cache;
    bool m_cacheOnly = false;

    // A pager for one reading call (cache-only while a CacheOnly lives).
    std::unique_ptr<cdx::CdxPager> readPager();
};

} // namespace engine
