#include "engine/DataSet.h"
#include "engine/DataSetImpl.h"

#include "engine/EngineError.h"
#include "engine/EngineImpl.h"
#include "engine/FieldCodec.h"

#include <algorithm>
#include <optional>

namespace engine {

using Position = DataSet::Impl::Position;
using Verdict = DataSet::Impl::Verdict;

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

bool DataSet::indexStale() {
    m_impl->requireOpen();
    return m_impl->table->indexStale();
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
