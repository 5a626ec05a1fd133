#include "EngineTestUtil.h"
#include "engine/DataSet.h"
#include "engine/EngineError.h"
#include "engine/FaultFile.h"
#include "engine/PosixFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using engine::DataSet;
using engine::Engine;
using engine::EngineError;
using enginetest::addFolder;
using testsupport::TempDir;

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

Rows rowsOf(Engine& engine) {
    DataSet ds(engine, "folder");
    ds.open({.withIndex = false});
    Rows rows;
    for (ds.first(); !ds.eof(); ds.next())
        rows.emplace_back(ds.fieldText("NAME"), ds.fieldText("PATH"));
    return rows;
}

struct Operation {
    const char* name;
    std::function<void(DataSet&)> run;
};

// Each operation is run with the Nth file operation failing and every later one too (as if the
// process died there), for N = 1, 2, ... until it gets through. After each failure the table holds
// the old rows or the new ones, and its index agrees with it or is known to be stale.
class FaultLoop : public ::testing::TestWithParam<Operation> {};

TEST_P(FaultLoop, LeavesTheOldStateOrTheNewOneAndAnIndexThatAgreesOrIsStale) {
    TempDir pristine;
    Rows before, after;
    {
        Engine engine(pristine.path().string());
        enginetest::createFolder(engine);
        DataSet ds(engine, "folder");
        ds.open();
        for (int i = 0; i < 40; ++i)
            addFolder(ds, "name " + std::to_string(i), "C:\\BASE\\" + std::to_string(i % 9));
        before = rowsOf(engine);
        TempDir scratch;
        for (const char* f : {"folder.dbf", "folder.cdx"})
            std::filesystem::copy_file(pristine.path() / f, scratch.path() / f);
        Engine copy(scratch.path().string());
        DataSet changed(copy, "folder");
        changed.open();
        GetParam().run(changed);
        after = rowsOf(copy);
    }
    ASSERT_NE(before, after);
    for (std::uint64_t failAt = 1;; ++failAt) {
        SCOPED_TRACE("failing operation " + std::to_string(failAt));
        TempDir dir;
        for (const char* f : {"folder.dbf", "folder.cdx"})
            std::filesystem::copy_file(pristine.path() / f, dir.path() / f);
        auto plan = std::make_shared<engine::FaultPlan>();
        plan->failAt = failAt;
        plan->sticky = true;
        bool completed = false;
        {
            Engine engine(dir.path().string());
            engine.setFileFactory([plan](const std::string& path, bool create) {
                return std::make_unique<engine::FaultFile>(engine::PosixFile::open(path, create), plan);
            });
            try {
                DataSet ds(engine, "folder");
                ds.open();
                GetParam().run(ds);
                completed = !plan->failed();
            } catch (const EngineError&) {
                ASSERT_TRUE(plan->failed()) << "an error that was not injected";
            }
        }
        Engine engine(dir.path().string());
        Rows now = rowsOf(engine);
        EXPECT_TRUE(now == before || now == after);
        DataSet ds(engine, "folder");
        ds.open();
        std::string problem = ds.checkIndex();
        if (!problem.empty()) {
            EXPECT_NE(problem.find("stale"), std::string::npos) << problem;
            ds.reindex();
            EXPECT_EQ(ds.checkIndex(), "");
        }
        if (completed) {
            EXPECT_EQ(now, after);
            EXPECT_GT(failAt, 10u); // the loop went through the operation's file accesses
            break;
        }
        ASSERT_LT(failAt, 10000u);
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultLoop,
                         ::testing::Values(Operation{"insert", [](DataSet& ds) { addFolder(ds, "new", "C:\\NEW\\"); }},
                                           Operation{"edit",
                                                     [](DataSet& ds) {
                                                         ds.gotoRecord(7);
                                                         ds.edit();
                                                         ds.setFieldText("PATH", "C:\\MOVED\\");
                                                         ds.setFieldText("NAME", "moved");
                                                         ds.post();
                                                     }},
                                           Operation{"delete",
                                                     [](DataSet& ds) {
                                                         ds.gotoRecord(3);
                                                         ds.remove();
                                                     }}),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace

namespace {

// A writer that died in the middle of a change leaves the index's update marker set.
void markStale(const std::filesystem::path& index) {
    engine::PosixFile file(index.string(), false);
    const std::uint8_t set = 1;
    file.write(400, &set, 1);
}

std::vector<std::string> namesInTagOrder(Engine& engine) {
    DataSet ds(engine, "folder");
    ds.open();
    ds.selectTag("NAME");
    return enginetest::column(ds, "NAME");
}

} // namespace

// Staleness is never forgotten: later posts of any data set leave the marker set, every data set
// sees it, and the first holder of the table alone rebuilds the index.
TEST(Staleness, KeptByLaterPostsUntilTheTableIsHeldAlone) {
    TempDir dir;
    Engine first(dir.path().string());
    enginetest::createFolder(first);
    {
        DataSet ds(first, "folder");
        ds.open();
        for (int i = 0; i < 5; ++i)
            addFolder(ds, "b" + std::to_string(i), "C:\\B" + std::to_string(i));
    }
    markStale(dir.path() / "folder.cdx");

    // Two "processes" go on posting over the stale index.
    Engine second(dir.path().string());
    DataSet a(first, "folder"), b(second, "folder");
    a.open();
    b.open();
    addFolder(a, "a-new", "C:\\A");
    a.gotoRecord(2);
    a.edit();
    a.setFieldText("NAME", "a-edited");
    a.post();
    addFolder(b, "b-new", "C:\\BN");
    EXPECT_TRUE(a.indexStale());
    EXPECT_TRUE(b.indexStale());
    EXPECT_NE(b.checkIndex().find("stale"), std::string::npos);
    // While another program has the table open, nobody rebuilds behind its back.
    EXPECT_THROW(a.reindex(), EngineError);
    EXPECT_TRUE(b.indexStale());

    b.close();
    a.reindex(); // alone now
    EXPECT_FALSE(a.indexStale());
    EXPECT_EQ(a.checkIndex(), "");
    a.close();
    markStale(dir.path() / "folder.cdx");
    Engine third(dir.path().string());
    {
        DataSet alone(third, "folder");
        alone.open({.exclusive = true, .withIndex = true}); // held exclusively: rebuilt at once
        EXPECT_FALSE(alone.indexStale());
    }
    EXPECT_EQ(namesInTagOrder(third), (std::vector<std::string>{"a-edited", "a-new", "b-new", "b0", "b2", "b3", "b4"}));
}

// Every file operation of a rebuild failing in turn: the index left behind is the old one, still
// known to be stale, or the new one; the next rebuild always repairs it.
TEST(Staleness, AnInterruptedRebuildLeavesTheOldIndexOrTheNewOne) {
    TempDir pristine;
    {
        Engine engine(pristine.path().string());
        enginetest::createFolder(engine);
        DataSet ds(engine, "folder");
        ds.open();
        for (int i = 0; i < 300; ++i)
            addFolder(ds, "name " + std::to_string(i * 7 % 300), "C:\\BASE\\" + std::to_string(i));
    }
    markStale(pristine.path() / "folder.cdx");
    for (std::uint64_t failAt = 1;; ++failAt) {
        SCOPED_TRACE("failing operation " + std::to_string(failAt));
        ASSERT_LT(failAt, 10000u);
        TempDir dir;
        for (const char* f : {"folder.dbf", "folder.cdx"})
            std::filesystem::copy_file(pristine.path() / f, dir.path() / f);
        auto plan = std::make_shared<engine::FaultPlan>();
        bool completed = false;
        {
            Engine engine(dir.path().string());
            engine.setFileFactory([plan](const std::string& path, bool create) {
                return std::make_unique<engine::FaultFile>(engine::PosixFile::open(path, create), plan);
            });
            engine.setFileRenamer(engine::faultyRenamer(plan, &engine::PosixFile::rename));
            engine.setFileRemover(engine::faultyRemover(plan, &engine::PosixFile::remove));
            DataSet ds(engine, "folder");
            ds.open(); // before the plan counts: the rebuild alone is interrupted
            plan->failAt = plan->operations + failAt;
            plan->sticky = true;
            try {
                ds.reindex();
                completed = !plan->failed();
            } catch (const EngineError&) {
                ASSERT_TRUE(plan->failed()) << "an error that was not injected";
            }
        }
        Engine engine(dir.path().string());
        DataSet ds(engine, "folder");
        ds.open();
        const std::string problem = ds.checkIndex();
        EXPECT_TRUE(problem.empty() || problem.find("stale") != std::string::npos) << problem;
        EXPECT_EQ(problem.empty(), !ds.indexStale());
        ds.reindex();
        EXPECT_EQ(ds.checkIndex(), "");
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "folder.cdx.new"));
        if (completed) {
            EXPECT_TRUE(problem.empty());
            EXPECT_GT(failAt, 3u);
            break;
        }
    }
}
