#include "engine/tool/DbfTool.h"
#include "EngineTestUtil.h"
#include "engine/CdxIndex.h"
#include "engine/PosixFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

using engine::tool::runDbfTool;

namespace {

class DbfTool : public enginetest::EngineInTempDir<> {
protected:
    std::string out, err;

    void SetUp() override {
        enginetest::createFolder(engine);
        engine::DataSet ds(engine, "folder");
        ds.open();
        enginetest::addFolder(ds, "Склад", "C:\\Базы\\Склад\\", 3);
        enginetest::addFolder(ds, "apple", "A:\\");
        enginetest::addFolder(ds, "gone", "G:\\");
        ds.remove();
    }
    int run(std::vector<std::string> args) {
        std::ostringstream o, e;
        int code = runDbfTool(args, o, e);
        out = o.str();
        err = e.str();
        return code;
    }
};

TEST_F(DbfTool, InfoShowsHeaderFieldsAndTags) {
    ASSERT_EQ(run({"info", dir.file("FOLDER.DBF")}), 0) << err;
    for (const char* part : {"Version:       0x03", "Records:       3", "Code page:     0x65 (866)", "production index",
                             "  7  CATEGORY    N    6  0", "Tag NAME: UPPER(NAME), key length 40, 3 keys"})
        EXPECT_NE(out.find(part), std::string::npos) << part << "\n" << out;
}

TEST_F(DbfTool, DumpsRowsInRecordOrTagOrder) {
    ASSERT_EQ(run({"dump", dir.file("folder")}), 0) << err;
    EXPECT_EQ(out.substr(out.find('\n') + 1), "1\tСклад\tC:\\Базы\\Склад\\\t\t\t\t\t3\t0\n"
                                              "2\tapple\tA:\\\t\t\t\t\t0\t0\n");
    ASSERT_EQ(run({"dump", dir.file("folder.dbf"), "name"}), 0) << err;
    EXPECT_EQ(out.substr(out.find('\n') + 1, 2), "2\t");
    ASSERT_EQ(run({"dump", dir.file("folder.dbf"), "--deleted"}), 0) << err;
    EXPECT_NE(out.find("3*\tgone"), std::string::npos) << out;
}

TEST_F(DbfTool, CheckReportsTheFirstDifferenceAndReindexRepairsIt) {
    ASSERT_EQ(run({"check", dir.file("folder.dbf")}), 0) << out << err;
    {
        engine::PosixFile file(engine.indexPath("folder"), false);
        engine::CdxIndex index(file);
        index.removeRecord(index.findTag("PATH"), 2);
    }
    EXPECT_EQ(run({"check", dir.file("folder.dbf")}), 1);
    EXPECT_NE(out.find("tag PATH: record 2 has no key"), std::string::npos) << out;
    ASSERT_EQ(run({"reindex", dir.file("folder.dbf")}), 0) << err;
    EXPECT_EQ(run({"check", dir.file("folder.dbf")}), 0) << out;
}

TEST_F(DbfTool, UsageAndFailuresExitWithTwo) {
    EXPECT_EQ(run({}), 2);
    EXPECT_NE(err.find("usage"), std::string::npos);
    EXPECT_EQ(run({"frobnicate", dir.file("folder.dbf")}), 2);
    EXPECT_EQ(run({"info", dir.file("missing.dbf")}), 2);
    EXPECT_NE(err.find("does not exist"), std::string::npos) << err;
    testsupport::writeFile(dir.path() / "folder.dbf", "short");
    EXPECT_EQ(run({"info", dir.file("folder.dbf")}), 2);
    EXPECT_NE(err.find("shorter than a table header"), std::string::npos) << err;
}

} // namespace
