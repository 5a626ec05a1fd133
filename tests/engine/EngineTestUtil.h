#pragma once
#include "engine/DataSet.h"
#include "engine/Engine.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace enginetest {

// Fixture base: an engine over a fresh temporary directory. Base is ::testing::Test or a
// ::testing::TestWithParam.
template <typename Base = ::testing::Test> class EngineInTempDir : public Base {
protected:
    testsupport::TempDir dir;
    engine::Engine engine{dir.path().string()};
};

// The fields of the program's infobase table.
inline std::vector<engine::FieldDef> folderFields() {
    using engine::FieldType;
    return {{"NAME", FieldType::Character, 40, 0},      {"PATH", FieldType::Character, 240, 0},
            {"USERNAME", FieldType::Character, 24, 0},  {"PASSWORD", FieldType::Character, 10, 0},
            {"USERPATH", FieldType::Character, 240, 0}, {"PRMFILE", FieldType::Character, 240, 0},
            {"CATEGORY", FieldType::Numeric, 6, 0},     {"DIVISION", FieldType::Numeric, 6, 0}};
}

inline std::vector<engine::TagDef> folderTags() {
    return {{"NAME", "UPPER(NAME)"}, {"PATH", "UPPER(PATH)"}};
}

// Creates table folder with its index in the engine's directory.
inline void createFolder(engine::Engine& engine) {
    engine.createTable("folder", folderFields());
    engine::DataSet ds(engine, "folder");
    ds.open({.exclusive = true, .withIndex = false});
    ds.createIndex(folderTags());
}

inline void addFolder(engine::DataSet& ds, const std::string& name, const std::string& path, long long category = 0,
                      long long division = 0) {
    ds.insert();
    ds.setFieldText("NAME", name);
    ds.setFieldText("PATH", path);
    ds.setFieldInt("CATEGORY", category);
    ds.setFieldInt("DIVISION", division);
    ds.post();
}

// A field of every visible row in the data set's order.
inline std::vector<std::string> column(engine::DataSet& ds, const std::string& field) {
    std::vector<std::string> out;
    for (ds.first(); !ds.eof(); ds.next())
        out.push_back(ds.fieldText(field));
    return out;
}

} // namespace enginetest
