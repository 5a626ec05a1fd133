#include "engine/DataSet.h"

#include "engine/CodePage.h"
#include "engine/EngineError.h"
#include "engine/EngineImpl.h"
#include "engine/FieldCodec.h"
#include "engine/FilterExpression.h"
#include "engine/TableFile.h"

#include <algorithm>
#include <optional>

namespace engine {

namespace {

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

} // namespace

struct DataSet::Impl {
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

    std::optional<Found> walk(bool forward, const Position* from, bool inclusive, const Test& test) {
        return tag < 0 ? walkRecords(forward, from, inclusive, test) : walkTag(forward, from, inclusive, test);
    }

    // Record order, reading rows in batches.
    std::optional<Found> walkRecords(bool forward, const Position* from, bool inclusive, const Test& test) {
        std::uint32_t count = dbf().recordCount();
        std::int64_t r = from ? std::int64_t{from->recno} + (inclusive ? 0 : (forward ? 1 : -1))
                              : (forward ? 1 : std::int64_t{count});
        std::size_t length = dbf().recordLength();
        std::uint32_t batch = 1;
        while (r >= 1 && r <= count) {
            auto first = static_cast<std::uint32_t>(forward ? r : std::max<std::int64_t>(1, r - batch + 1));
            std::uint32_t n =
                forward ? std::min<std::uint32_t>(batch, count - first + 1) : static_cast<std::uint32_t>(r - first + 1);
            batch = std::min(batch * 2, kBatch);
            std::string chunk = dbf().readRecords(first, n);
            for (std::uint32_t i = 0; i < n; ++i) {
                std::uint32_t k = forward ? i : n - 1 - i;
                Position p{first + k, {}};
                std::string rec = chunk.substr(std::size_t{k} * length, length);
                Verdict v = test(p, rec);
                if (v == Verdict::Take)
                    return Found{p, std::move(rec)};
                if (v == Verdict::Stop)
                    return std::nullopt;
            }
            r = forward ? std::int64_t{first} + n : std::int64_t{first} - 1;
        }
        return std::nullopt;
    }

    // Tag order: keys are read in batches under the index lock, then their rows.
    std::optional<Found> walkTag(bool forward, const Position* from, bool inclusive, const Test& test) {
        std::optional<CdxEntry> cursor;
        bool started = false;
        std::size_t batchSize = 1;
        while (true) {
            std::vector<CdxEntry> batch = table->readIndex([&](CdxIndex& index) {
                std::vector<CdxEntry> out;
                std::optional<CdxEntry> e;
                if (!started && from && inclusive)
                    e = CdxEntry{from->key, from->recno};
                else if (!started && from)
                    e = forward ? index.next(tag, {from->key, from->recno})
                                : index.prior(tag, {from->key, from->recno});
                else if (!started)
                    e = forward ? index.first(tag) : index.last(tag);
                else
                    e = forward ? index.next(tag, *cursor) : index.prior(tag, *cursor);
                while (e) {
                    out.push_back(*e);
                    if (out.size() == batchSize)
                        break;
                    e = forward ? index.next(tag, *e) : index.prior(tag, *e);
                }
                return out;
            });
            started = true;
            batchSize = std::min<std::size_t>(batchSize * 2, kBatch);
            if (batch.empty())
                return std::nullopt;
            for (const CdxEntry& e : batch) {
                Position p{e.recno, e.key};
                std::string rec = table->readRecord(e.recno); // empty past the rows we know of
                Verdict v = test(p, rec);
                if (v == Verdict::Take)
                    return Found{p, std::move(rec)};
                if (v == Verdict::Stop)
                    return std::nullopt;
            }
            cursor = batch.back();
        }
    }

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
    void checkBrowse(DataSet& self) {
        if (state == DataSetState::Insert || state == DataSetState::Edit)
            self.post();
    }

    const std::string* buffer() const {
        if (state == DataSetState::Insert || state == DataSetState::Edit)
            return &pending;
        return current.recno ? &record : nullptr;
    }

    const DbfField& fieldNamed(std::string_view name) {
        requireOpen();
        int f = dbf().findField(name);
        if (f < 0)
            throw EngineError("Table " + alias + " has no field " + std::string(name));
        return dbf().fields()[static_cast<std::size_t>(f)];
    }

    // The pending row's buffer for a change of field f.
    std::string& editable(const DbfField& f) {
        if (state != DataSetState::Insert && state != DataSetState::Edit)
            throw EngineError("Data set " + alias + " is not inserting or editing a row");
        changed[static_cast<std::size_t>(&f - dbf().fields().data())] = true;
        return pending;
    }

    // Text on disk for UTF-8 text: Windows-1251 converted to the table's code page.
    std::string toDisk(const DbfField& f, std::string_view utf8) const {
        std::optional<std::string> ansi = cp1251FromUtf8(utf8);
        if (!ansi) {
            std::string bad = firstNonCp1251Char(utf8);
            throw EngineError(bad.empty() ? "Field " + f.def.name + " cannot hold text that is not valid UTF-8"
                                          : "Field " + f.def.name + " cannot hold the character \"" + bad +
                                                "\": it has no place in code page 1251");
        }
        return ansiToDisk(*ansi);
    }
    std::string ansiToDisk(std::string_view ansi) const {
        return table->dbf().ansiText() ? std::string(ansi) : ansiToOem(ansi);
    }
    std::string diskToAnsi(std::string_view bytes) const {
        return table->dbf().ansiText() ? std::string(bytes) : oemToAnsi(bytes);
    }

    // After the current row left the data set's view: the next visible row, else the prior one.
    void moveNear(const Position& was) {
        if (auto f = walk(true, &was, false, visibleRows())) {
            setCurrent(std::move(*f));
            eof = bof = false;
        } else if (auto b = walk(false, &was, false, visibleRows())) {
            setCurrent(std::move(*b));
            eof = true;
            bof = false;
        } else {
            clearCurrent();
        }
    }
};

DataSet::DataSet(Engine& engine, std::string alias) : m_impl(std::make_unique<Impl>(engine, std::move(alias))) {}

DataSet::~DataSet() = default;

const std::string& DataSet::alias() const {
    return m_impl->alias;
}

void DataSet::open(OpenOptions options) {
    Impl& d = *m_impl;
    if (d.table)
        close();
    d.table = d.engine.impl().acquire(d.alias, options);
    d.useIndex = options.withIndex;
    d.tag = -1;
    d.state = DataSetState::Browse;
    d.filter.reset();
    if (!d.filterText.empty()) {
        try {
            d.filter.emplace(d.filterText, d.dbf().fields());
        } catch (const EngineError&) {
            d.table.reset();
            d.state = DataSetState::Inactive;
            throw;
        }
    }
    first();
}

void DataSet::close() {
    Impl& d = *m_impl;
    d.table.reset();
    d.state = DataSetState::Inactive;
    d.tag = -1;
    d.pending.clear();
    d.clearCurrent();
}

bool DataSet::isOpen() const {
    return m_impl->table != nullptr;
}

bool DataSet::hasIndex() const {
    return m_impl->table && m_impl->useIndex && m_impl->table->hasIndex();
}

std::vector<FieldDef> DataSet::fields() const {
    m_impl->requireOpen();
    std::vector<FieldDef> out;
    for (const DbfField& f : m_impl->dbf().fields())
        out.push_back(f.def);
    return out;
}

void DataSet::createIndex(const std::vector<TagDef>& tags) {
    Impl& d = *m_impl;
    d.requireOpen();
    d.checkBrowse(*this);
    d.table->createIndex(tags);
    d.useIndex = true;
    d.tag = -1;
}

void DataSet::reindex() {
    m_impl->requireOpen();
    m_impl->checkBrowse(*this);
    m_impl->table->reindex();
}

std::string DataSet::checkIndex() {
    m_impl->requireOpen();
    return m_impl->table->checkIndex();
}

void DataSet::selectTag(std::string_view name) {
    Impl& d = *m_impl;
    d.requireOpen();
    d.checkBrowse(*this);
    if (name.empty()) {
        d.tag = -1;
    } else {
        if (!hasIndex())
            throw EngineError("Data set " + d.alias + " has no index, so no tag " + std::string(name));
        int t = d.table->index().findTag(name);
        if (t < 0)
            throw EngineError("Index file " + d.table->indexPath() + " has no tag " + std::string(name));
        d.tag = t;
    }
    if (d.current.recno)
        d.current.key = d.keyOf(d.record);
}

std::string DataSet::selectedTag() const {
    const Impl& d = *m_impl;
    if (d.tag < 0 || !d.table)
        return {};
    return d.table->index().tags()[static_cast<std::size_t>(d.tag)].name;
}

std::vector<std::string> DataSet::tags() const {
    std::vector<std::string> names;
    if (hasIndex())
        for (const CdxTagInfo& tag : m_impl->table->index().tags())
            names.push_back(tag.name);
    return names;
}

void DataSet::first() {
    Impl& d = *m_impl;
    d.requireOpen();
    d.checkBrowse(*this);
    if (auto f = d.walk(true, nullptr, false, d.visibleRows())) {
        d.setCurrent(std::move(*f));
        d.bof = true;
        d.eof = false;
    } else {
        d.clearCurrent();
    }
}

void DataSet::last() {
    Impl& d = *m_impl;
    d.requireOpen();
    d.checkBrowse(*this);
    if (auto f = d.walk(false, nullptr, false, d.visibleRows())) {
        d.setCurrent(std::move(*f));
        d.eof = true;
        d.bof = false;
    } else {
        d.clearCurrent();
    }
}

void DataSet::next() {
    Impl& d = *m_impl;
    d.requireOpen();
    d.checkBrowse(*this);
    if (!d.current.recno) {
        d.eof = true;
        return;
    }
    if (auto f = d.walk(true, &d.current, false, d.visibleRows())) {
        d.setCurrent(std::move(*f));
        d.bof = false;
        d.eof = false;
    } else {
        d.eof = true;
    }
}

void DataSet::prior() {
    Impl& d = *m_impl;
    d.requireOpen();
    d.checkBrowse(*this);
    if (!d.current.recno) {
        d.bof = true;
        return;
    }
    if (auto f = d.walk(false, &d.current, false, d.visibleRows())) {
        d.setCurrent(std::move(*f));
        d.bof = false;
        d.eof = false;
    } else {
        d.bof = true;
    }
}

bool DataSet::eof() const {
    return m_impl->eof;
}

bool DataSet::bof() const {
    return m_impl->bof;
}

bool DataSet::isEmpty() {
    Impl& d = *m_impl;
    if (!d.table)
        return true;
    if (d.current.recno && d.visible(d.record))
        return false;
    return !d.walk(true, nullptr, false, d.visibleRows());
}

std::uint32_t DataSet::recno() const {
    return m_impl->current.recno;
}

bool DataSet::gotoRecord(std::uint32_t recno) {
    Impl& d = *m_impl;
    d.requireOpen();
    d.checkBrowse(*this);
    std::string rec = d.table->readRecord(recno);
    if (!d.visible(rec))
        return false;
    d.current = {recno, d.keyOf(rec)};
    d.record = std::move(rec);
    d.eof = d.bof = false;
    return true;
}

std::string DataSet::fieldText(std::string_view name) const {
    Impl& d = *m_impl;
    const DbfField& f = d.fieldNamed(name);
    const std::string* buffer = d.buffer();
    if (!buffer)
        return {};
    std::string bytes = field::text(f, *buffer);
    return f.def.type == FieldType::Numeric ? bytes : utf8FromCp1251(d.diskToAnsi(bytes));
}

long long DataSet::fieldInt(std::string_view name) const {
    Impl& d = *m_impl;
    const DbfField& f = d.fieldNamed(name);
    const std::string* buffer = d.buffer();
    return buffer ? field::integer(f, *buffer) : 0;
}

void DataSet::setFieldText(std::string_view name, std::string_view utf8) {
    Impl& d = *m_impl;
    const DbfField& f = d.fieldNamed(name);
    if (f.def.type == FieldType::Numeric)
        field::setText(f, d.editable(f), utf8);
    else
        field::setText(f, d.editable(f), d.toDisk(f, utf8));
}

void DataSet::setFieldInt(std::string_view name, long long value) {
    Impl& d = *m_impl;
    const DbfField& f = d.fieldNamed(name);
    field::setInteger(f, d.editable(f), value);
}

void DataSet::clearField(std::string_view name) {
    Impl& d = *m_impl;
    const DbfField& f = d.fieldNamed(name);
    field::clear(f, d.editable(f));
}

std::string DataSet::fieldAnsi(std::string_view name) const {
    Impl& d = *m_impl;
    const DbfField& f = d.fieldNamed(name);
    const std::string* buffer = d.buffer();
    return buffer ? d.diskToAnsi(field::text(f, *buffer)) : std::string();
}

void DataSet::setFieldAnsi(std::string_view name, std::string_view ansi) {
    Impl& d = *m_impl;
    const DbfField& f = d.fieldNamed(name);
    if (f.def.type == FieldType::Numeric)
        field::setText(f, d.editable(f), ansi);
    else
        field::setText(f, d.editable(f), d.ansiToDisk(ansi));
}

DataSetState DataSet::state() const {
    return m_impl->state;
}

void DataSet::insert() {
    Impl& d = *m_impl;
    d.requireOpen();
    d.checkBrowse(*this);
    d.pending = d.dbf().blankRecord();
    d.changed.assign(d.dbf().fields().size(), true);
    d.state = DataSetState::Insert;
    if (onNewRecord) {
        try {
            onNewRecord(*this);
        } catch (...) {
            cancel();
            throw;
        }
    }
}

void DataSet::edit() {
    Impl& d = *m_impl;
    d.requireOpen();
    if (d.state == DataSetState::Insert || d.state == DataSetState::Edit)
        return;
    if (!d.current.recno)
        throw EngineError("Data set " + d.alias + " has no current row to edit");
    d.pending = d.record;
    d.changed.assign(d.dbf().fields().size(), false);
    d.state = DataSetState::Edit;
}

void DataSet::post() {
    Impl& d = *m_impl;
    if (d.state != DataSetState::Insert && d.state != DataSetState::Edit)
        return;
    if (beforePost)
        beforePost(*this);
    std::string written;
    std::uint32_t recno = d.current.recno;
    if (d.state == DataSetState::Insert) {
        written = d.pending;
        written[0] = Dbf::kLive;
        recno = d.table->append(written);
    } else {
        written = d.table->update(recno, d.pending, d.changed);
    }
    d.current = {recno, d.keyOf(written)};
    d.record = std::move(written);
    d.pending.clear();
    d.state = DataSetState::Browse;
    d.eof = d.bof = false;
}

void DataSet::cancel() {
    Impl& d = *m_impl;
    if (d.state != DataSetState::Insert && d.state != DataSetState::Edit)
        return;
    d.pending.clear();
    d.state = DataSetState::Browse;
}

void DataSet::remove() {
    Impl& d = *m_impl;
    d.requireOpen();
    if (d.state == DataSetState::Insert) {
        cancel();
        return;
    }
    cancel();
    if (!d.current.recno)
        throw EngineError("Data set " + d.alias + " has no current row to delete");
    d.table->remove(d.current.recno);
    Position was = d.current;
    d.moveNear(was);
}

void DataSet::refresh() {
    Impl& d = *m_impl;
    d.requireOpen();
    d.checkBrowse(*this);
    d.table->reload();
    if (!d.current.recno) {
        first();
        return;
    }
    std::string rec = d.table->readRecord(d.current.recno);
    if (d.visible(rec)) {
        std::string key = d.keyOf(rec);
        if (key != d.keyOf(d.record))
            d.current.key = key;
        d.record = std::move(rec);
        return;
    }
    Position was = d.current;
    d.moveNear(was);
}

bool DataSet::seek(std::string_view key) {
    Impl& d = *m_impl;
    d.requireOpen();
    d.checkBrowse(*this);
    if (d.tag < 0)
        throw EngineError("Data set " + d.alias + " has no tag selected to seek on");
    const KeyExpression& expr = d.table->keys()[static_cast<std::size_t>(d.tag)];
    std::string prefix;
    if (expr.numeric()) {
        prefix = expr.seekKey(key);
    } else {
        std::optional<std::string> ansi = cp1251FromUtf8(key);
        if (!ansi)
            return false; // text the table cannot hold is in no key
        prefix = d.ansiToDisk(*ansi);
    }
    if (prefix.empty() && expr.numeric())
        return false;
    std::optional<CdxEntry> start = d.table->readIndex([&](CdxIndex& index) { return index.seek(d.tag, prefix); });
    if (!start)
        return false;
    Position from{start->recno, start->key};
    auto found = d.walk(true, &from, true, [&](const Position& p, const std::string& rec) {
        if (p.key.compare(0, prefix.size(), prefix) != 0)
            return Verdict::Stop;
        return d.visible(rec) ? Verdict::Take : Verdict::Skip;
    });
    if (!found)
        return false;
    d.setCurrent(std::move(*found));
    d.eof = d.bof = false;
    return true;
}

bool DataSet::locate(std::string_view fieldName, std::string_view value, bool caseInsensitive) {
    Impl& d = *m_impl;
    const DbfField& f = d.fieldNamed(fieldName);
    d.checkBrowse(*this);
    std::string wanted;
    std::optional<double> number;
    if (f.def.type == FieldType::Numeric) {
        number = field::parseNumber(value);
        if (!number && value.find_first_not_of(' ') != std::string_view::npos)
            return false;
    } else {
        std::optional<std::string> ansi = cp1251FromUtf8(value);
        if (!ansi)
            return false;
        wanted = d.ansiToDisk(*ansi);
        wanted.erase(wanted.find_last_not_of(' ') + 1);
        if (caseInsensitive)
            wanted = d.dbf().ansiText() ? upperAnsi(wanted) : upperOem(wanted);
    }
    bool ansiTable = d.dbf().ansiText();
    auto found = d.walk(true, nullptr, false, [&](const Position&, const std::string& rec) {
        if (!d.visible(rec))
            return Verdict::Skip;
        bool match;
        if (f.def.type == FieldType::Numeric) {
            match = field::number(f, rec) == number.value_or(0.0);
        } else {
            std::string have = field::text(f, rec);
            if (caseInsensitive)
                have = ansiTable ? upperAnsi(have) : upperOem(have);
            match = have == wanted;
        }
        return match ? Verdict::Take : Verdict::Skip;
    });
    if (!found)
        return false;
    d.setCurrent(std::move(*found));
    d.eof = d.bof = false;
    return true;
}

void DataSet::setFilter(std::string_view expression) {
    Impl& d = *m_impl;
    std::optional<FilterExpression> parsed;
    if (d.table && !expression.empty())
        parsed.emplace(expression, d.dbf().fields());
    if (d.table)
        d.checkBrowse(*this);
    d.filterText = std::string(expression);
    d.filter = std::move(parsed);
    if (d.table && d.filtered)
        first();
}

const std::string& DataSet::filter() const {
    return m_impl->filterText;
}

void DataSet::setFiltered(bool on) {
    Impl& d = *m_impl;
    if (d.filtered == on)
        return;
    if (d.table)
        d.checkBrowse(*this);
    d.filtered = on;
    if (d.table)
        first();
}

bool DataSet::filtered() const {
    return m_impl->filtered;
}

} // namespace engine
