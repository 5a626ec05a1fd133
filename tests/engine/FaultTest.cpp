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
