#pragma once
#include "engine/CdxIndex.h"
#include "engine/Dbf.h"
#include "engine/Engine.h"
#include "engine/KeyExpression.h"
#include "engine/TableLocks.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace engine {

// One open table of the process with its production index, shared by every data set on the file.
// It holds the open lock (shared, or exclusive for exclusive use), takes the record, header and
// index locks around every change and keeps every tag current, whichever data set writes.
//
// A change of table and index runs under the index lock between setting and clearing the
// index's update marker: a writer that dies in between leaves the marker set, and the index is
// known to be stale. A change that finds the marker set leaves it set: the index stays known to be
// stale until it is rebuilt, which happens at once where this process has the table to itself.
//
// An index is rebuilt as a whole new file beside the old one, which then takes the old one's
// place: an interruption leaves the old index (marked stale) or the new one, never a mixture.
class TableFile {
public:
    struct Paths {
        std::string table;
        std::string index;
        bool indexExists = false;
    };
    struct FileOperations {
        FileFactory open;
        FileRenamer rename;
        FileRemover remove;
    };

    // Opens the table; the production index too when it exists. An index that cannot be used
    // throws when wantIndex, else the table opens without it (indexError() says why). An
    // exclusive open of a table whose index is stale rebuilds it.
    TableFile(const Paths& paths, const FileOperations& files, bool exclusive, bool wantIndex,
              const locks::RetryPolicy& policy);
    ~TableFile();

    Dbf& dbf() { return *m_dbf; }
    bool exclusive() const { return m_exclusive; }
    bool hasIndex() const { return m_index != nullptr; }
    const std::string& indexError() const { return m_indexError; }
    const std::string& indexPath() const { return m_paths.index; }
    CdxIndex& index() { return *m_index; }
    // Key expression of each tag of the index, in the index's tag order.
    const std::vector<KeyExpression>& keys() const { return m_keys; }

    // Runs a read of the index: from the pages kept in memory when they are still the file's,
    // else under the index lock. The read may run twice, so it must change nothing but its result.
    template <class F> auto readIndex(F&& read) {
        try {
            CdxIndex::CacheOnly cacheOnly(*m_index);
            return read(*m_index);
        } catch (const CdxIndex::NotCached&) {
        }
        locks::Guard guard = lockIndex();
        return read(*m_index);
    }

    // Rereads the header: rows other processes appended become visible.
    void reload();
    // Record recno as stored now; empty when it is not in the table.
    std::string readRecord(std::uint32_t recno);

    // Appends a row under the header lock; returns its record number.
    std::uint32_t append(std::string record);
    // Writes the changed fields of a row over the row as stored now, under the record's lock;
    // returns the row as written. EngineError when another user deleted it meanwhile.
    std::string update(std::uint32_t recno, const std::string& edited, const std::vector<bool>& changed);
    // Marks a row deleted under its lock; its keys stay in the index.
    void remove(std::uint32_t recno);

    // Creates the production index with these tags from every row (exclusive use only).
    void createIndex(const std::vector<TagDef>& tags);
    // Rebuilds every tag from every row, deleted ones included. Needs the table to itself: opened
    // exclusively, or no other program having it open at this moment; EngineError otherwise.
    void reindex();
    // The first difference between index and table; empty when they agree.
    std::string checkIndex();
    // True while the index's update marker says an update of it was interrupted.
    bool indexStale();

private:
    // Opens the index file and reads its tags under its lock; *busy is set when the lock could
    // not be had.
    void openIndex(bool* busy = nullptr);
    bool structural() const;
    locks::Guard lockIndex();
    locks::Guard lockHeader();
    locks::Guard lockRecord(std::uint32_t recno);
    // The keys every row gives, tag by tag, in record order.
    std::vector<CdxKeyList> allEntries();
    // A complete index file with these tags over every row, built in memory.
    std::string buildIndexImage(const std::vector<CdxTagDefinition>& tags);
    // Puts the image in place of the index file (a new file renamed over the old one) and opens it.
    void installIndex(const std::string& image);
    // Starts a change of table and index: sets the marker; true when it was set already. The
    // change's commit clears it again unless it was.
    bool beginIndexUpdate(CdxIndex::Change& change);
    void touchDate();

    Paths m_paths;
    FileOperations m_files;
    const locks::RetryPolicy& m_policy; // the engine's, which outlives its tables
    bool m_exclusive;
    std::unique_ptr<File> m_tableFile;
    std::unique_ptr<Dbf> m_dbf;
    std::unique_ptr<File> m_indexFile;
    std::unique_ptr<CdxIndex> m_index;
    std::vector<KeyExpression> m_keys;
    std::string m_indexError;
    locks::Guard m_openLock;
    locks::Guard m_fileLock;
    bool m_rebuildWanted = false; // a change found the index stale while the table is exclusive
};

} // namespace engine
