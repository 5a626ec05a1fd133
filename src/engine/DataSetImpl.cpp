#include "engine/DataSetImpl.h"

#include "engine/EngineImpl.h"

#include <algorithm>

namespace engine {

using cursor::kBatch;

std::optional<DataSet::Impl::Found> DataSet::Impl::walk(bool forward, const Position* from, bool inclusive,
                                                        const Test& test) {
    return tag < 0 ? walkRecords(forward, from, inclusive, test) : walkTag(forward, from, inclusive, test);
}

std::optional<DataSet::Impl::Found> DataSet::Impl::walkRecords(bool forward, const Position* from, bool inclusive,
                                                               const Test& test) {
    std::uint32_t count = dbf().recordCount();
    std::int64_t r =
        from ? std::int64_t{from->recno} + (inclusive ? 0 : (forward ? 1 : -1)) : (forward ? 1 : std::int64_t{count});
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

std::optional<DataSet::Impl::Found> DataSet::Impl::walkTag(bool forward, const Position* from, bool inclusive,
                                                           const Test& test) {
    std::optional<CdxEntry> cursor;
    bool started = false;
    std::size_t batchSize = 1;
    while (true) {
        std::vector<CdxEntry> batch;
        if (!started && from && inclusive)
            batch.push_back({from->key, from->recno}); // the start itself needs no look at the index
        else
            batch = table->readIndex([&](CdxIndex& index) {
                std::vector<CdxEntry> out;
                std::optional<CdxEntry> e;
                if (!started && from)
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
            // A row has one key per tag; the stored one may differ from ours (another engine's
            // upper-casing), so a step away from a row never lands on the row itself.
            if (from && !inclusive && e.recno == from->recno)
                continue;
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

void DataSet::Impl::checkBrowse(DataSet& self) {
    if (state == DataSetState::Insert || state == DataSetState::Edit)
        self.post();
}

const DbfField& DataSet::Impl::fieldNamed(std::string_view name) {
    requireOpen();
    int f = dbf().findField(name);
    if (f < 0)
        throw EngineError("Table " + alias + " has no field " + std::string(name));
    return dbf().fields()[static_cast<std::size_t>(f)];
}

std::string& DataSet::Impl::editable(const DbfField& f) {
    if (state != DataSetState::Insert && state != DataSetState::Edit)
        throw EngineError("Data set " + alias + " is not inserting or editing a row");
    changed[static_cast<std::size_t>(&f - dbf().fields().data())] = true;
    return pending;
}

std::string DataSet::Impl::toDisk(const DbfField& f, std::string_view utf8) const {
    std::optional<std::string> ansi = cp1251FromUtf8(utf8);
    if (!ansi) {
        std::string bad = firstNonCp1251Char(utf8);
        throw EngineError(bad.empty() ? "Field " + f.def.name + " cannot hold text that is not valid UTF-8"
                                      : "Field " + f.def.name + " cannot hold the character \"" + bad +
                                            "\": it has no place in code page 1251");
    }
    return ansiToDisk(*ansi);
}

void DataSet::Impl::moveNear(const Position& was) {
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

} // namespace engine
