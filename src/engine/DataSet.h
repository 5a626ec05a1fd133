#pragma once
#include "engine/Engine.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

struct OpenOptions {
    bool exclusive = false; // shared unless asked
    bool withIndex = true;  // open the production index when it exists
};

enum class DataSetState { Inactive, Browse, Insert, Edit };

// A view of one table with its own current row, tag (or record order), filter and edit state.
// Several data sets may work on one file; each sees the rows the others posted after refresh().
// Deleted rows are invisible. Text is UTF-8 here and code page 866 on disk; every failure throws
// EngineError.
class DataSet {
public:
    DataSet(Engine& engine, std::string alias);
    ~DataSet();
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    const std::string& alias() const;
    void open(OpenOptions options = {});
    void close();
    bool isOpen() const;
    bool hasIndex() const; // the production index is open with the table
    std::vector<FieldDef> fields() const;

    // Creates the production index with these tags from all rows (needs exclusive use) and
    // opens it with the table.
    void createIndex(const std::vector<TagDef>& tags);
    // Rebuilds every tag of the production index from all rows, deleted ones included, as a new
    // file that takes the old one's place. Needs the table to itself: open exclusively, or open
    // in no other program at the moment; EngineError otherwise.
    void reindex();
    // The first problem of the production index against the table, empty when it is sound.
    std::string checkIndex();
    // True while the index is known to be stale: an update of it was interrupted and it has not
    // been rebuilt since (every data set on the table, in every process, sees this).
    bool indexStale();

    // Selects a tag by name (without regard to case); an empty name selects record order.
    void selectTag(std::string_view name);
    std::string selectedTag() const;
    // Names of the production index's tags; empty when the data set has no index.
    std::vector<std::string> tags() const;

    // Moving as a Delphi data set does: first() sets bof, last() sets eof; next() past the last
    // row sets eof and prior() before the first sets bof, the current row staying. With no
    // visible row both are set. A pending insert or edit is posted before any move.
    void first();
    void last();
    void next();
    void prior();
    bool eof() const;
    bool bof() const;
    bool isEmpty(); // no visible row
    // Record number of the current row; 0 when there is none.
    std::uint32_t recno() const;
    // Makes the row current when it is visible (not deleted, passes the filter).
    bool gotoRecord(std::uint32_t recno);

    // Fields of the current row, or of the pending row while inserting or editing. Text comes
    // back without trailing blanks; a getter with no current row returns "" or 0.
    std::string fieldText(std::string_view field) const;
    long long fieldInt(std::string_view field) const;
    void setFieldText(std::string_view field, std::string_view utf8); // cut to the width
    void setFieldInt(std::string_view field, long long value);
    void clearField(std::string_view field);
    // The same as raw Windows-1251 bytes (all 256 values survive).
    std::string fieldAnsi(std::string_view field) const;
    void setFieldAnsi(std::string_view field, std::string_view ansi);

    DataSetState state() const;
    // A blank pending row; onNewRecord sets its defaults. It reaches the file only at post().
    void insert();
    // Starts editing the current row; EngineError when there is none.
    void edit();
    // beforePost runs first; the row is locked only while it is written.
    void post();
    void cancel();
    // Marks the current row deleted; the next visible row becomes current.
    void remove();
    // Rereads the file: rows other data sets and processes posted become visible. The current
    // row stays when it is still visible.
    void refresh();

    std::function<void(DataSet&)> onNewRecord;
    std::function<void(DataSet&)> beforePost;

    // Seek on the selected tag: the key (UTF-8, converted like stored text, not padded) matches
    // every tag key beginning with it; the first visible one in key order becomes current. When
    // nothing matches, seek and locate return false and the current row stays.
    bool seek(std::string_view key);
    // First row in the data set's order, through its filter, whose whole field (trailing blanks
    // trimmed) equals value; both sides upper-cased when caseInsensitive.
    bool locate(std::string_view field, std::string_view value, bool caseInsensitive);

    // A dBASE logical expression (fields, integers, =, >, .AND., .OR., parentheses). setFilter
    // parses at once: "Could not parse filter expression: <expression>" on failure.
    void setFilter(std::string_view expression);
    const std::string& filter() const;
    void setFiltered(bool on);
    bool filtered() const;

    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

} // namespace engine
