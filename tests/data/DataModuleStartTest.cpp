#include "data/DataModuleFixture.h"

#include "engine/EngineError.h"
#include "support/TempDir.h"

#include <cctype>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using testsupport::DataModuleTest;

TEST_F(DataModuleTest, FirstStartCreatesTheFiveFilesWithoutRowsAndNoProgramIndex) {
    for (const char* name : {"program.dbf", "folder.dbf", "folder.cdx", "user.dbf", "user.cdx"})
        EXPECT_TRUE(fs::exists(file(name))) << name;
    EXPECT_FALSE(fs::exists(file("program.cdx")));
    for (engine::DataSet* set :
         {&m_dm->dbfProgram, &m_dm->dbfFolder, &m_dm->dbfSearch, &m_dm->dbfSeek, &m_dm->dbfUser}) {
        EXPECT_TRUE(set->isOpen());
        EXPECT_TRUE(set->isEmpty());
    }
    EXPECT_FALSE(m_dm->dbfProgram.hasIndex());
    EXPECT_FALSE(m_dm->dbfSearch.hasIndex());
    EXPECT_EQ(m_dm->dbfFolder.selectedTag(), "NAME");
    EXPECT_EQ(m_dm->dbfSeek.selectedTag(), "PATH");
    EXPECT_EQ(m_dm->dbfUser.selectedTag(), "USERNAME");
    EXPECT_EQ(m_dm->dbfSearch.selectedTag(), "");
    EXPECT_EQ(m_dm->dbfProgram.selectedTag(), "");
}

TEST_F(DataModuleTest, TablesHaveTheirFieldsInOrder) {
    using engine::FieldType;
    const std::vector<engine::FieldDef> folder = {
        {"NAME", FieldType::Character, 40, 0},      {"PATH", FieldType::Character, 240, 0},
        {"USERNAME", FieldType::Character, 24, 0},  {"PASSWORD", FieldType::Character, 10, 0},
        {"USERPATH", FieldType::Character, 240, 0}, {"PRMFILE", FieldType::Character, 240, 0},
        {"CATEGORY", FieldType::Numeric, 6, 0},     {"DIVISION", FieldType::Numeric, 6, 0}};
    EXPECT_EQ(m_dm->dbfFolder.fields(), folder);
    EXPECT_EQ(m_dm->dbfProgram.fields(), (std::vector<engine::FieldDef>{{"NAME", FieldType::Character, 40, 0},
                                                                        {"PATH", FieldType::Character, 240, 0}}));
    EXPECT_EQ(m_dm->dbfUser.fields(), (std::vector<engine::FieldDef>{{"USERNAME", FieldType::Character, 24, 0},
                                                                     {"PASSWORD", FieldType::Character, 10, 0}}));
}

TEST_F(DataModuleTest, ASecondStartKeepsTheFiles) {
    addInfobase(infobase("Торговля", R"(C:\Bases\Trade)"));
    const auto before = testsupport::readFile(file("folder.dbf"));
    restart();
    EXPECT_EQ(testsupport::readFile(file("folder.dbf")), before);
    EXPECT_EQ(column(m_dm->dbfFolder, "NAME"), std::vector<std::string>{"Торговля"});
}

// folder.cdx missing, or replaced by a damaged file: rebuilt from the rows, which stay as they are.
class IndexRebuildTest : public DataModuleTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(IndexRebuildTest, FolderIndexIsRebuiltAndRowsStay) {
    addInfobase(infobase("gamma", R"(C:\G)"));
    addInfobase(infobase("Alpha", R"(C:\A)"));
    addInfobase(infobase("beta", R"(C:\B)"));
    m_dm->DataModuleDestroy();
    m_dm.reset();
    const auto rows = testsupport::readFile(file("folder.dbf"));
    const std::string broken = GetParam();
    if (broken.empty())
        fs::remove(file("folder.cdx"));
    else
        fs::copy_file(testsupport::testFixture("cdx/" + broken), file("folder.cdx"),
                      fs::copy_options::overwrite_existing);

    start();
    EXPECT_EQ(testsupport::readFile(file("folder.dbf")), rows);
    EXPECT_EQ(column(m_dm->dbfFolder, "NAME"), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_TRUE(m_dm->dbfSeek.seek(R"(C:\B)"));
    EXPECT_EQ(m_dm->dbfSeek.fieldText("NAME"), "beta");
    EXPECT_EQ(m_dm->dbfFolder.checkIndex(), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, IndexRebuildTest,
                         ::testing::Values("", "garbage-header.cdx", "truncated-inside-header.cdx",
                                           "root-pointer-past-end.cdx", "sibling-chain-cycle.cdx",
                                           "tag-list-points-past-end.cdx"),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string name = param.param.empty() ? "missing" : param.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST_F(DataModuleTest, AStaleFolderIndexIsRebuilt) {
    addInfobase(infobase("beta", R"(C:\B)"));
    m_dm->DataModuleDestroy();
    m_dm.reset();
    const auto oldIndex = testsupport::readFile(file("folder.cdx"));
    start();
    addInfobase(infobase("Alpha", R"(C:\A)"));
    m_dm->DataModuleDestroy();
    m_dm.reset();
    // The index of the earlier run no longer matches its table: it lacks a row.
    testsupport::writeFile(file("folder.cdx"), oldIndex);
    start();
    EXPECT_EQ(column(m_dm->dbfFolder, "NAME"), (std::vector<std::string>{"Alpha", "beta"}));
    EXPECT_EQ(m_dm->dbfFolder.checkIndex(), "");
}

TEST_F(DataModuleTest, AMissingUserIndexIsRebuilt) {
    for (const char* name : {"Петров", "Иванов"}) {
        m_dm->dbfUser.insert();
        m_dm->dbfUser.setFieldText("USERNAME", name);
        m_dm->dbfUser.post();
    }
    m_dm->DataModuleDestroy();
    m_dm.reset();
    fs::remove(file("user.cdx"));
    start();
    EXPECT_TRUE(fs::exists(file("user.cdx")));
    EXPECT_EQ(column(m_dm->dbfUser, "USERNAME"), (std::vector<std::string>{"Иванов", "Петров"}));
}

TEST_F(DataModuleTest, ABrokenTableReachesTheCallerAndStopsStartUp) {
    m_dm->DataModuleDestroy();
    m_dm.reset();
    testsupport::writeFile(file("folder.dbf"), "not a table");
    m_dm = std::make_unique<data::TDM>(m_dir.path().string() + "/", m_registry);
    EXPECT_THROW(m_dm->DataModuleCreate(), engine::EngineError);
    EXPECT_TRUE(m_dm->dbfProgram.isOpen()); // the steps before the failure stay done
    EXPECT_FALSE(m_dm->dbfSeek.isOpen());
    EXPECT_EQ(testsupport::readFile(file("folder.dbf")), "not a table");
}

} // namespace
