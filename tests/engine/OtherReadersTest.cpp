#include "EngineTestUtil.h"
#include "engine/CdxIndex.h"
#include "engine/CodePage.h"
#include "engine/DataSet.h"
#include "engine/PosixFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>

using engine::DataSet;
using engine::Engine;
using enginetest::addFolder;
using enginetest::column;
using testsupport::TempDir;

namespace {

using Row = std::vector<std::string>;

// Output of a command; empty when it cannot be run.
std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

// Debian's python3-dbf, an independent reader (scripts/setup.sh installs it).
constexpr const char* kPython = "/usr/bin/python3";

const char* kReadScript = R"(
import dbf, sys
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_ONLY)
print(t.codepage.name)
for r in t:
    if dbf.is_deleted(r):
        continue
    print('\t'.join(str(v).rstrip() for v in r))
)";

TEST(OtherReaders, PythonDbfReadsOurTableWithItsRowsAndCodePage) {
    if (run(std::string(kPython) + " -c 'import dbf' 2>&1 && echo ok").find("ok") == std::string::npos)
        GTEST_SKIP() << "python3-dbf is not installed (scripts/setup.sh installs it)";
    TempDir dir;
    Engine engine(dir.path().string());
    enginetest::createFolder(engine);
    {
        DataSet ds(engine, "folder");
        ds.open();
        addFolder(ds, "Торговля и склад", "C:\\Базы\\Торговля\\", 4, 12);
        addFolder(ds, "deleted", "x");
        ds.remove();
        addFolder(ds, "Ёлка ёжик", "D:\\1C\\", 0, 0);
        ds.edit();
        ds.clearField("CATEGORY");
        ds.post();
    }
    std::string script = dir.file("read.py");
    std::ofstream(script) << kReadScript;
    std::string out = run(std::string(kPython) + " " + script + " " + engine.tablePath("folder") + " 2>&1");
    EXPECT_EQ(out, "cp866\n"
                   "Торговля и склад\tC:\\Базы\\Торговля\\\t\t\t\t\t4\t12\n"
                   "Ёлка ёжик\tD:\\1C\\\t\t\t\t\tNone\t0\n");
}

// The rows of a fixture's rows.tsv, in record order.
std::vector<Row> fixtureRows(const std::filesystem::path& tsv) {
    std::ifstream in(tsv);
    std::vector<Row> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with("#"))
            continue;
        Row row;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            row.push_back(line.substr(start, tab - start));
        row.push_back(line.substr(start));
        rows.push_back(row);
    }
    return rows;
}

struct Fixture {
    const char* dir;
    std::size_t rows;
    const char* pathPrefix;
    std::uint32_t prefixRecord;
};

// Tables and indexes written by another xBase engine.
class ForeignTables : public enginetest::EngineInTempDir<::testing::TestWithParam<Fixture>> {
protected:
    std::vector<Row> rows;

    void SetUp() override {
        auto from = testsupport::sharedFixture(std::string("xbase/") + GetParam().dir);
        for (const char* f : {"folder.dbf", "folder.cdx"})
            std::filesystem::copy_file(from / f, dir.path() / f);
        rows = fixtureRows(from / "rows.tsv");
        ASSERT_EQ(rows.size(), GetParam().rows);
    }

    // Record numbers of a tag as the index file holds them.
    std::vector<std::uint32_t> rawOrder(const std::string& tag) {
        engine::PosixFile file(engine.indexPath("folder"), false);
        engine::CdxIndex index(file);
        int t = index.findTag(tag);
        std::vector<std::uint32_t> out;
        for (auto e = index.first(t); e; e = index.next(t, *e))
            out.push_back(e->recno);
        return out;
    }

    static std::vector<std::uint32_t> walk(DataSet& ds) {
        std::vector<std::uint32_t> out;
        for (ds.first(); !ds.eof(); ds.next())
            out.push_back(ds.recno());
        return out;
    }
};

TEST_P(ForeignTables, RowsReadAsTheOtherEngineWroteThem) {
    DataSet ds(engine, "FOLDER");
    ds.open();
    const char* names[] = {"NAME", "PATH", "USERNAME", "PASSWORD", "USERPATH", "PRMFILE", "CATEGORY", "DIVISION"};
    std::uint32_t recno = 0;
    for (ds.first(); !ds.eof(); ds.next()) {
        const Row& want = rows.at(recno++);
        for (std::size_t f = 0; f < 8; ++f)
            ASSERT_EQ(ds.fieldText(names[f]), want[f]) << "record " << recno << " " << names[f];
    }
    EXPECT_EQ(recno, rows.size());
}

TEST_P(ForeignTables, BothTagsWalkInTheirOrderBothWaysAndSeek) {
    DataSet ds(engine, "folder");
    ds.open();
    for (const char* tag : {"NAME", "PATH"}) {
        SCOPED_TRACE(tag);
        ds.selectTag(tag);
        std::vector<std::uint32_t> forward = walk(ds);
        EXPECT_EQ(forward, rawOrder(tag));
        EXPECT_EQ(forward.size(), rows.size());
        std::vector<std::uint32_t> backward;
        for (ds.last(); !ds.bof(); ds.prior())
            backward.push_back(ds.recno());
        std::reverse(backward.begin(), backward.end());
        EXPECT_EQ(backward, forward);
    }
    ds.selectTag("PATH");
    ASSERT_TRUE(ds.seek(GetParam().pathPrefix));
    EXPECT_EQ(ds.recno(), GetParam().prefixRecord);
    EXPECT_EQ(ds.checkIndex(), "");
}

TEST_P(ForeignTables, ChangesAndDeletionsKeepEveryTagConsistent) {
    DataSet ds(engine, "folder");
    ds.open();
    ds.selectTag("NAME");
    std::set<std::uint32_t> deleted;
    std::uint32_t count = static_cast<std::uint32_t>(rows.size());
    for (std::uint32_t r = 1; r <= count; r += 3) {
        ASSERT_TRUE(ds.gotoRecord(r));
        ds.edit();
        ds.setFieldText("NAME", "ёж " + std::to_string(r)); // upper-cased differently by the other engine
        ds.setFieldText("PATH", "C:\\НОВЫЕ\\" + std::to_string(r % 17) + "\\");
        ds.post();
    }
    for (std::uint32_t r = 2; r <= count; r += 5) {
        ASSERT_TRUE(ds.gotoRecord(r));
        ds.remove();
        deleted.insert(r);
    }
    for (int i = 0; i < 20; ++i)
        addFolder(ds, "Новая " + std::to_string(i), "C:\\НОВЫЕ\\" + std::to_string(i) + "\\");
    EXPECT_EQ(ds.checkIndex(), "");
    {
        engine::PosixFile file(engine.indexPath("folder"), false);
        EXPECT_EQ(engine::CdxIndex(file).check(), "");
    }
    // Every visible row once in each tag, in key order by our keys for the rows we wrote.
    for (const char* tag : {"NAME", "PATH"}) {
        SCOPED_TRACE(tag);
        ds.selectTag(tag);
        std::vector<std::uint32_t> order = walk(ds);
        EXPECT_EQ(order.size(), count + 20 - deleted.size());
        std::set<std::uint32_t> unique(order.begin(), order.end());
        EXPECT_EQ(unique.size(), order.size());
        for (std::uint32_t r : deleted)
            EXPECT_FALSE(unique.count(r));
    }
    ds.selectTag("PATH");
    ASSERT_TRUE(ds.seek("C:\\НОВЫЕ\\1\\"));
    std::vector<std::string> paths;
    do
        paths.push_back(ds.fieldText("PATH"));
    while ((ds.next(), !ds.eof()) && ds.fieldText("PATH").starts_with("C:\\НОВЫЕ\\1\\"));
    EXPECT_TRUE(std::is_sorted(paths.begin(), paths.end())) << paths.size();
    EXPECT_EQ(paths.front(), "C:\\НОВЫЕ\\1\\");
    ds.reindex();
    EXPECT_EQ(ds.checkIndex(), "");
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ForeignTables,
                         ::testing::Values(Fixture{"small", 7, "C:\\БАЗЫ\\З", 2},
                                           Fixture{"large", 1000, "C:\\БАЗЫ\\ОПТ", 435}),
                         [](const auto& p) { return std::string(p.param.dir); });

} // namespace
