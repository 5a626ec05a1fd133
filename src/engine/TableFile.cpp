#include "engine/TableFile.h"

#include "engine/EngineError.h"
#include "engine/MemoryFile.h"

#include <algorithm>
#include <map>

namespace engine {

namespace {

constexpr std::uint32_t kReadChunk = 4096; // records read at once when every row is needed

std::string shown(const std::string& key) {
    std::string out;
    for (char c : key) {
        auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F) {
            out += c;
        } else {
            static const char* hex = "0123456789ABCDEF";
            out += "\\x";
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    std::size_t e = out.find_last_not_of(' ');
    return "\"" + out.substr(0, e == std::string::npos ? 0 : e + 1) + "\"";
}

} // namespace

TableFile::TableFile(const Paths& paths, const FileOperations& files, bool exclusive, bool wantIndex,
                     const locks::RetryPolicy& policy)
    : m_paths(paths), m_files(files), m_policy(policy), m_exclusive(exclusive) {
    m_tableFile = m_files.open(m_paths.table, false);
    File& file = *m_tableFile;
    if (exclusive) {
        m_openLock = locks::Guard(file, locks::kOpenMark, 1, true, m_policy,
                                  "Table " + file.name() +
                                      " is in use by another program and cannot be opened "
                                      "exclusively");
        m_fileLock = locks::Guard(file, locks::kFileLockStart, locks::kFileLockLength, true, m_policy,
                                  "Table " + file.name() + " has locked rows and cannot be opened exclusively");
    } else {
        m_openLock = locks::Guard(file, locks::kOpenMark, 1, false, m_policy,
                                  "Table " + file.name() + " is open exclusively in another program");
    }
    m_dbf = std::make_unique<Dbf>(file);
    if (m_paths.indexExists) {
        bool busy = false;
        try {
            openIndex(&busy);
        } catch (const EngineError& e) {
            // A busy index is sound but in another program's hands: the table opened without it
            // would be written without keeping it current, and the rows written then would be
            // missing from its tag order for everyone. Only an unusable index is left out.
            if (wantIndex || busy)
                throw;
            m_indexError = e.what();
            m_index.reset();
            m_indexFile.reset();
            m_keys.clear();
        }
        // The table is ours alone: a stale index is rebuilt before anybody reads it.
        if (m_index && m_exclusive && indexStale())
            reindex();
    }
}

TableFile::~TableFile() = default;

void TableFile::openIndex(bool* busy) {
    m_indexFile = m_files.open(m_paths.index, false);
    locks::Guard guard;
    try {
        guard = locks::Guard(*m_indexFile, locks::kIndexLock, 1, true, m_policy,
                             "Index file " + m_indexFile->name() + " is locked by another program");
    } catch (const EngineError&) {
        if (busy)
            *busy = true;
        throw;
    }
    m_index = std::make_unique<CdxIndex>(*m_indexFile);
    const auto& tags = m_index->tags();
    for (std::size_t t = 0; t < tags.size(); ++t) {
        auto refuse = [&](const std::string& why) {
            throw EngineError("Index file " + m_indexFile->name() + ": tag " + tags[t].name + " " + why);
        };
        if (!tags[t].forExpression.empty())
            refuse("has a FOR condition, which is not supported");
        std::optional<KeyExpression> parsed;
        try {
            parsed.emplace(tags[t].expression, *m_dbf);
        } catch (const EngineError& e) {
            refuse(std::string("cannot be kept current: ") + e.what());
        }
        KeyExpression& key = *parsed;
        if (key.keyLength() != tags[t].keyLength)
            refuse("has keys of " + std::to_string(tags[t].keyLength) + " bytes, its expression gives " +
                   std::to_string(key.keyLength()));
        m_index->setPad(static_cast<int>(t), key.pad());
        m_keys.push_back(std::move(key));
    }
}

bool TableFile::structural() const {
    return (m_dbf->flags() & Dbf::kFlagIndex) != 0;
}

locks::Guard TableFile::lockIndex() {
    return locks::Guard(*m_indexFile, locks::kIndexLock, 1, true, m_policy,
                        "Index file " + m_indexFile->name() + " is locked by another user");
}

// An exclusive open holds the whole-file lock, which covers the header and every record.
locks::Guard TableFile::lockHeader() {
    if (m_exclusive)
        return {};
    return locks::Guard(*m_tableFile, locks::headerLock(structural()), 1, true, m_policy,
                        "Table " + m_tableFile->name() + " is locked by another user");
}

locks::Guard TableFile::lockRecord(std::uint32_t recno) {
    if (m_exclusive)
        return {};
    std::uint64_t at = locks::recordLock(structural(), recno, m_dbf->headerLength(), m_dbf->recordLength());
    return locks::Guard(*m_tableFile, at, 1, true, m_policy,
                        "Record " + std::to_string(recno) + " of table " + m_tableFile->name() +
                            " is locked by another user");
}

void TableFile::reload() {
    m_dbf->reloadHeader();
}

std::string TableFile::readRecord(std::uint32_t recno) {
    if (recno == 0 || recno > m_dbf->recordCount())
        return {};
    return m_dbf->readRecord(recno);
}

void TableFile::touchDate() {
    DbfDate now = today();
    DbfDate was = m_dbf->date();
    if (now.year != was.year || now.month != was.month || now.day != was.day)
        m_dbf->writeDate(now);
}

bool TableFile::beginIndexUpdate(CdxIndex::Change& change) {
    const bool stale = change.marked();
    if (!stale)
        change.mark();
    else if (m_exclusive)
        m_rebuildWanted = true;
    return stale;
}

std::uint32_t TableFile::append(std::string record) {
    record[0] = Dbf::kLive;
    std::uint32_t recno = 0;
    {
        locks::Guard header = lockHeader();
        m_dbf->reloadHeader();
        if (!m_index)
            return m_dbf->appendRecord(record, today());
        locks::Guard indexLock = lockIndex();
        CdxIndex::Change change(*m_index);
        const bool stale = beginIndexUpdate(change);
        recno = m_dbf->appendRecord(record, today());
        for (std::size_t t = 0; t < m_keys.size(); ++t)
            change.insert(static_cast<int>(t), m_keys[t].key(record), recno);
        // A marker set by an interrupted writer stays until the index is rebuilt.
        change.commit(!stale);
    }
    if (m_rebuildWanted)
        reindex();
    return recno;
}

std::string TableFile::update(std::uint32_t recno, const std::string& edited, const std::vector<bool>& changed) {
    locks::Guard lock = lockRecord(recno);
    std::string stored = readRecord(recno);
    if (stored.empty() || stored[0] == Dbf::kDeleted)
        throw EngineError("Record " + std::to_string(recno) + " of table " + m_tableFile->name() +
                          " was deleted by another user");
    std::string merged = stored;
    const auto& fields = m_dbf->fields();
    for (std::size_t f = 0; f < fields.size(); ++f)
        if (changed[f])
            merged.replace(fields[f].offset, static_cast<std::size_t>(fields[f].def.width), edited, fields[f].offset,
                           static_cast<std::size_t>(fields[f].def.width));
    if (merged == stored)
        return merged;
    std::vector<std::size_t> changedTags;
    for (std::size_t t = 0; t < m_keys.size(); ++t)
        if (m_keys[t].key(stored) != m_keys[t].key(merged))
            changedTags.push_back(t);
    if (changedTags.empty()) {
        m_dbf->writeRecord(recno, merged);
        touchDate();
        return merged;
    }
    {
        locks::Guard indexLock = lockIndex();
        CdxIndex::Change change(*m_index);
        const bool stale = beginIndexUpdate(change);
        m_dbf->writeRecord(recno, merged);
        for (std::size_t t : changedTags) {
            int tag = static_cast<int>(t);
            // An index written by another engine may hold a key we would not compute for the row.
            if (!change.remove(tag, m_keys[t].key(stored), recno))
                change.removeRecord(tag, recno);
            change.insert(tag, m_keys[t].key(merged), recno);
        }
        change.commit(!stale);
    }
    touchDate();
    lock.release();
    if (m_rebuildWanted)
        reindex();
    return merged;
}

void TableFile::remove(std::uint32_t recno) {
    locks::Guard lock = lockRecord(recno);
    std::string stored = readRecord(recno);
    if (stored.empty())
        throw EngineError("Table " + m_tableFile->name() + " has no record " + std::to_string(recno));
    if (stored[0] == Dbf::kDeleted)
        return;
    stored[0] = Dbf::kDeleted;
    m_dbf->writeRecord(recno, stored);
}

std::vector<CdxKeyList> TableFile::allEntries() {
    std::vector<CdxKeyList> lists(m_keys.size());
    std::uint32_t count = m_dbf->recordCount();
    std::size_t length = m_dbf->recordLength();
    for (std::size_t t = 0; t < m_keys.size(); ++t) {
        lists[t].keyLength = m_keys[t].keyLength();
        lists[t].keys.reserve(std::size_t{count} * lists[t].keyLength);
        lists[t].recnos.reserve(count);
    }
    for (std::uint32_t first = 1; first <= count; first += kReadChunk) {
        std::uint32_t n = std::min(kReadChunk, count - first + 1);
        std::string chunk = m_dbf->readRecords(first, n);
        for (std::uint32_t i = 0; i < n; ++i) {
            std::string_view record(chunk.data() + std::size_t{i} * length, length);
            for (std::size_t t = 0; t < m_keys.size(); ++t) {
                m_keys[t].appendKey(record, lists[t].keys);
                lists[t].recnos.push_back(first + i);
            }
        }
    }
    return lists;
}

std::string TableFile::buildIndexImage(const std::vector<CdxTagDefinition>& tags) {
    const auto lists = allEntries();
    MemoryFile image;
    CdxIndex::create(image, tags);
    CdxIndex built(image);
    for (std::size_t t = 0; t < tags.size(); ++t) {
        built.setPad(static_cast<int>(t), tags[t].pad);
        built.rebuildFromKeys(static_cast<int>(t), lists[t]);
    }
    return image.bytes();
}

void TableFile::installIndex(const std::string& image) {
    // A new file beside the old one; only a complete one takes the old one's place.
    const std::string fresh = m_paths.index + ".new";
    try {
        m_files.remove(fresh); // left by an interrupted rebuild
        std::unique_ptr<File> file = m_files.open(fresh, true);
        file->write(0, image.data(), image.size());
        file->flush();
        file.reset();
        m_files.rename(fresh, m_paths.index);
    } catch (const EngineError&) {
        try {
            m_files.remove(fresh);
        } catch (const EngineError&) {
            // the next rebuild removes it
        }
        throw;
    }
    m_paths.indexExists = true;
}

void TableFile::createIndex(const std::vector<TagDef>& tags) {
    if (!m_exclusive)
        throw EngineError("Table " + m_tableFile->name() + " must be open exclusively to create its index");
    std::vector<CdxTagDefinition> defs;
    std::vector<KeyExpression> keys;
    for (const TagDef& tag : tags) {
        KeyExpression key(tag.expression, *m_dbf);
        defs.push_back({tag.name, tag.expression, key.keyLength(), key.pad()});
        keys.push_back(std::move(key));
    }
    m_index.reset();
    m_indexFile.reset();
    m_keys = std::move(keys);
    m_indexError.clear();
    const std::string image = buildIndexImage(defs);
    m_keys.clear();
    installIndex(image);
    openIndex();
    if (!structural())
        m_dbf->writeFlags(m_dbf->flags() | Dbf::kFlagIndex);
    m_tableFile->flush();
}

void TableFile::reindex() {
    if (!m_index)
        throw EngineError("Table " + m_tableFile->name() + " has no production index to rebuild");
    for (const CdxTagInfo& tag : m_index->tags())
        if (tag.descending)
            throw EngineError("Index file " + m_indexFile->name() + ": tag " + tag.name +
                              " is in descending order, which cannot be rebuilt here");
    // The table to ourselves for the moment: nobody may keep using the old index file while the
    // new one takes its place.
    const bool alone = m_exclusive || m_tableFile->tryLock(locks::kOpenMark, 1, true);
    if (!alone)
        throw EngineError("Table " + m_tableFile->name() +
                          " is open in another program: its index can be rebuilt when nobody else uses it");
    struct BackToShared {
        File& file;
        bool shared;
        ~BackToShared() {
            try {
                if (shared)
                    file.tryLock(locks::kOpenMark, 1, false);
            } catch (const EngineError&) {
                // The exclusive mark stays until the table is closed: others wait, nothing breaks.
            }
        }
    } backToShared{*m_tableFile, !m_exclusive};
    m_rebuildWanted = false;

    locks::Guard header = lockHeader();
    m_dbf->reloadHeader();
    std::vector<CdxTagDefinition> defs;
    for (std::size_t t = 0; t < m_keys.size(); ++t) {
        const CdxTagInfo& tag = m_index->tags()[t];
        defs.push_back({tag.name, tag.expression, tag.keyLength, m_keys[t].pad()});
    }
    std::string image;
    {
        locks::Guard indexLock = lockIndex();
        image = buildIndexImage(defs);
        // Interrupted from here on, the old index says it is stale. It is not flushed: the table
        // does not change meanwhile, and only a new index made durable takes its place.
        m_index->setUpdateInProgress(true);
    }
    // The old file stays open until the new one is in place: a failure leaves it in use.
    installIndex(image);
    m_index.reset();
    m_indexFile.reset();
    m_keys.clear();
    openIndex();
}

bool TableFile::indexStale() {
    if (!m_index)
        return false;
    locks::Guard indexLock = lockIndex();
    return m_index->updateInProgress();
}

std::string TableFile::checkIndex() {
    if (!m_index)
        return m_indexError.empty() ? "Table " + m_tableFile->name() + " has no production index" : m_indexError;
    locks::Guard header = lockHeader();
    m_dbf->reloadHeader();
    locks::Guard indexLock = lockIndex();
    std::string name = m_indexFile->name();
    if (m_index->updateInProgress())
        return "Index file " + name + " is stale: an update of it was interrupted";
    std::string problem = m_index->check();
    if (!problem.empty())
        return problem;
    auto expected = allEntries();
    std::uint32_t count = m_dbf->recordCount();
    for (std::size_t t = 0; t < m_keys.size(); ++t) {
        int tag = static_cast<int>(t);
        std::string tagName = "Index file " + name + ", tag " + m_index->tags()[t].name + ": ";
        std::vector<std::string> stored(std::size_t{count} + 1);
        std::vector<bool> seen(std::size_t{count} + 1, false);
        for (auto e = m_index->first(tag); e; e = m_index->next(tag, *e)) {
            if (e->recno == 0 || e->recno > count)
                return tagName + "a key for record " + std::to_string(e->recno) + ", which the table does not have";
            if (seen[e->recno])
                return tagName + "record " + std::to_string(e->recno) + " has more than one key";
            seen[e->recno] = true;
            stored[e->recno] = e->key;
        }
        for (std::size_t i = 0; i < expected[t].size(); ++i) {
            const std::uint32_t recno = expected[t].recnos[i];
            const std::string_view want = expected[t].key(i);
            if (!seen[recno])
                return tagName + "record " + std::to_string(recno) + " has no key";
            const std::string& have = stored[recno];
            // Another engine's upper-casing may leave letters ours changes: the same key once
            // upper-cased our way.
            bool same = have == want || (m_keys[t].upper() && m_keys[t].upperCased(have) == want);
            if (!same)
                return tagName + "record " + std::to_string(recno) + " has the key " + shown(have) +
                       ", the table gives " + shown(std::string(want));
        }
    }
    return {};
}

} // namespace engine
