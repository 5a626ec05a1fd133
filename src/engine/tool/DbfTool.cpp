#include "engine/tool/DbfTool.h"

#include "engine/CdxIndex.h"
#include "engine/CodePage.h"
#include "engine/DataSet.h"
#include "engine/Dbf.h"
#include "engine/EngineError.h"
#include "engine/FieldCodec.h"
#include "engine/PosixFile.h"

#include <cstdio>
#include <filesystem>

namespace engine::tool {

namespace {

constexpr int kOk = 0;
constexpr int kMismatch = 1;
constexpr int kFailure = 2;

const char* kUsage = "usage: tarvesk-dbf info TABLE\n"
                     "       tarvesk-dbf dump TABLE [TAG] [--deleted]\n"
                     "       tarvesk-dbf check TABLE\n"
                     "       tarvesk-dbf reindex TABLE\n";

struct Table {
    std::string directory;
    std::string alias;
};

Table tableOf(const std::string& argument) {
    std::filesystem::path path(argument);
    std::string ext = path.extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".dbf")
        path.replace_extension();
    std::string directory = path.parent_path().string();
    return {directory.empty() ? "." : directory, path.filename().string()};
}

std::string hexByte(unsigned value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%02X", value);
    return buffer;
}

std::string textOf(const Dbf& dbf, const DbfField& f, std::string_view record) {
    std::string bytes = field::text(f, record);
    if (f.def.type == FieldType::Numeric)
        return bytes;
    return utf8FromCp1251(dbf.ansiText() ? bytes : oemToAnsi(bytes));
}

int info(Engine& engine, const Table& table, std::ostream& out) {
    PosixFile file(engine.tablePath(table.alias), false);
    Dbf dbf(file);
    DbfDate d = dbf.date();
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", d.year, d.month, d.day);
    out << "Table:         " << file.name() << "\n"
        << "Version:       " << hexByte(dbf.version()) << "\n"
        << "Last change:   " << date << "\n"
        << "Records:       " << dbf.recordCount() << "\n"
        << "Header length: " << dbf.headerLength() << "\n"
        << "Record length: " << dbf.recordLength() << "\n"
        << "Flags:         " << hexByte(dbf.flags()) << ((dbf.flags() & Dbf::kFlagIndex) ? " (production index)" : "")
        << "\n"
        << "Code page:     " << hexByte(dbf.codePageMark()) << (dbf.ansiText() ? " (1251)" : " (866)") << "\n"
        << "Fields:\n";
    for (std::size_t i = 0; i < dbf.fields().size(); ++i) {
        const FieldDef& f = dbf.fields()[i].def;
        char line[96];
        std::snprintf(line, sizeof line, "  %3zu  %-10s  %c  %3d  %d\n", i + 1, f.name.c_str(),
                      static_cast<char>(f.type), f.width, f.decimals);
        out << line;
    }
    if (!engine.indexExists(table.alias)) {
        out << "Index:         none\n";
        return kOk;
    }
    PosixFile indexFile(engine.indexPath(table.alias), false);
    CdxIndex index(indexFile);
    out << "Index:         " << indexFile.name() << "\n";
    for (std::size_t t = 0; t < index.tags().size(); ++t) {
        const CdxTagInfo& tag = index.tags()[t];
        out << "  Tag " << tag.name << ": " << tag.expression << ", key length " << tag.keyLength << ", "
            << index.count(static_cast<int>(t)) << " keys" << (tag.descending ? ", descending" : "")
            << (tag.forExpression.empty() ? "" : ", for " + tag.forExpression) << "\n";
    }
    return kOk;
}

// Every row with its record number, a '*' marking a deleted one.
int dumpAll(Engine& engine, const Table& table, std::ostream& out) {
    PosixFile file(engine.tablePath(table.alias), false);
    Dbf dbf(file);
    for (std::uint32_t r = 1; r <= dbf.recordCount(); ++r) {
        std::string record = dbf.readRecord(r);
        out << r << (record[0] == Dbf::kDeleted ? "*" : "");
        for (const DbfField& f : dbf.fields())
            out << '\t' << textOf(dbf, f, record);
        out << '\n';
    }
    return kOk;
}

int dump(Engine& engine, const Table& table, const std::string& tag, std::ostream& out) {
    DataSet ds(engine, table.alias);
    ds.open({.exclusive = false, .withIndex = !tag.empty()});
    ds.selectTag(tag);
    std::vector<FieldDef> fields = ds.fields();
    out << "#RECNO";
    for (const FieldDef& f : fields)
        out << '\t' << f.name;
    out << '\n';
    for (ds.first(); !ds.eof(); ds.next()) {
        out << ds.recno();
        for (const FieldDef& f : fields)
            out << '\t' << ds.fieldText(f.name);
        out << '\n';
    }
    return kOk;
}

int check(Engine& engine, const Table& table, std::ostream& out) {
    DataSet ds(engine, table.alias);
    ds.open({.exclusive = false, .withIndex = false});
    std::string problem = ds.checkIndex();
    if (!problem.empty()) {
        out << problem << "\n";
        return kMismatch;
    }
    out << "The index agrees with the table.\n";
    return kOk;
}

// Exclusive use, so that nobody works on the rows while their keys are read.
int reindex(Engine& engine, const Table& table, std::ostream& out) {
    if (!engine.indexExists(table.alias))
        throw EngineError("Table " + engine.tablePath(table.alias) + " has no index file to rebuild");
    DataSet ds(engine, table.alias);
    ds.open({.exclusive = true, .withIndex = true});
    ds.reindex();
    out << "Rebuilt " << engine.indexPath(table.alias) << "\n";
    return kOk;
}

} // namespace

int runDbfTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> words;
    bool deleted = false;
    for (const std::string& a : args) {
        if (a == "--deleted")
            deleted = true;
        else
            words.push_back(a);
    }
    if (words.size() < 2 || (words[0] != "dump" && words.size() != 2) || words.size() > 3) {
        err << kUsage;
        return kFailure;
    }
    const std::string& command = words[0];
    Table table = tableOf(words[1]);
    try {
        Engine engine(table.directory);
        engine.setLockRetry(5, std::chrono::milliseconds(1000));
        if (!engine.tableExists(table.alias))
            throw EngineError("Table " + engine.tablePath(table.alias) + " does not exist");
        if (command == "info")
            return info(engine, table, out);
        if (command == "dump" && deleted && words.size() == 2)
            return dumpAll(engine, table, out);
        if (command == "dump")
            return dump(engine, table, words.size() == 3 ? words[2] : std::string(), out);
        if (command == "check")
            return check(engine, table, out);
        if (command == "reindex")
            return reindex(engine, table, out);
    } catch (const EngineError& e) {
        err << "tarvesk-dbf: " << e.what() << "\n";
        return kFailure;
    }
    err << kUsage;
    return kFailure;
}

} // namespace engine::tool
