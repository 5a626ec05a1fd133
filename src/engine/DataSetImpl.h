#pragma once
#include "engine/CodePage.h"
#include "engine/DataSet.h"
#include "engine/EngineError.h"
#include "engine/FilterExpression.h"
#include "engine/TableFile.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace engine {

// Walking a data set's rows in its order (record order or a tag's).
namespace cursor {

// A place in the data set's order: the row and, in tag order, its key.
struct Position {
    std::uint32_t recno = 0;
    std::string key;
};

struct Found {
    Position position;
    std::string record;
};

enum class Verdict { Take, Skip, Stop };
using Test = std::function<Verdict(const Position&, const std::string& record)>;

// Rows or keys read at once while walking: one for a single step, doubling up to kBatch for a
// longer walk.
constexpr std::uint32_t kBatch = 64;

} // namespace cursor

// The state of one data set: its table, order, filter, current row and pending change.
struct DataSet::Impl {
    using Position = cursor::Position;
    using Found = cursor::Found;
    using Verdict = cursor::Verdict;
    using Test = cursor::Test;

    Engine& engine;
    std::string alias;
    std::shared_ptr<TableFile> table;
    bool useIndex = false;
    int tag = -1;
    std::string filterText;
    std::optional<FilterExpression> filter;
    bool filtered = false;
    DataSetState state = DataSetState::Inactive;
    Position current;
    std::string record; // the current row as last read or written
    std::string pending;
    std::vector<bool> changed;
    bool eof = true;
    bool bof = true;

    Impl(Engine& e, std::string a) : engine(e), alias(std::move(a)) {}

    Dbf& dbf() { return table->dbf(); }

    void requireOpen() const {
        if (!table)
            throw EngineError("Data set " + alias + " is not open");
    }

    bool visible(const std::string& rec) const {
        if (rec.empty() || rec[0] == Dbf::kDeleted)
            return false;
        return !filtered || !filter || filter->matches(rec);
    }

    std::string keyOf(const std::string& rec) const {
        return tag < 0 ? std::string() : table->keys()[static_cast<std::size_t>(tag)].key(rec);
    }

    std::optional<Found> walk(bool forward, const Position* from, bool inclusive, const Test& test);

    // Record order, reading rows in batches.
    std::optional<Found> walkRecords(bool forward, const Position* from, bool inclusive, const Test& test);

    // Tag order: keys are read in batches under the index lock, then their rows.
    std::optional<Found> walkTag(bool forward, const Position* from, bool inclusive, const Test& test);

    Test visibleRows() {
        return [this](const Position&, const std::string& rec) { return visible(rec) ? Verdict::Take : Verdict::Skip; };
    }

    void setCurrent(Found found) {
        current = std::move(found.position);
        record = std::move(found.record);
    }

    void clearCurrent() {
        current = {};
        record.clear();
        eof = bof = true;
    }

    // Rows are changed only in browse state: a pending change is posted first.
    void checkBrowse(DataSet& self);

    const std::string* buffer() const {
        if (state == DataSetState::Insert || state == DataSetState::Edit)
            return &pending;
        return current.recno ? &record : nullptr;
    }

    const DbfField& fieldNamed(std::string_view name);

    // The pending row's buffer for a change of field f.
    std::string& editable(const DbfField& f);

    // Text on disk for UTF-8 text: Windows-1251 converted to the table's code page.
    std::string toDisk(const DbfField& f, std::string_view utf8) const;
    std::string ansiToDisk(std::string_view ansi) const {
        return table->dbf().ansiText() ? std::string(ansi) : ansiToOem(ansi);
    }
    std::string diskToAnsi(std::string_view bytes) const {
        return table->dbf().ansiText() ? std::string(bytes) : oemToAnsi(bytes);
    }

    // After the current row left the data set's view: the next visible row, else the prior one.
    void moveNear(const Position& was);
};

} // namespace engine
