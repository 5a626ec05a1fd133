#include "engine/KeyExpression.h"
#include "EngineTestUtil.h"
#include "engine/Dbf.h"
#include "engine/EngineError.h"
#include "engine/MemoryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using engine::FieldType;
using engine::KeyExpression;

namespace {

std::string hex(const std::string& bytes) {
    std::string out;
    char buffer[4];
    for (unsigned char c : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X ", c);
        out += buffer;
    }
    out.pop_back();
    return out;
}

TEST(KeyExpression, NumericKeysAreSortableDoubles) {
    struct Case {
        double value;
        const char* bytes;
    } cases[] = {
        {0, "80 00 00 00 00 00 00 00"},    {-0.0, "80 00 00 00 00 00 00 00"}, {1.0, "BF F0 00 00 00 00 00 00"},
        {12.5, "C0 29 00 00 00 00 00 00"}, {-1.0, "40 0F FF FF FF FF FF FF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hex(KeyExpression::numericKey(c.value)), c.bytes) << c.value;
}

TEST(KeyExpression, FormsAndRefusals) {
    engine::MemoryFile file;
    engine::Dbf::create(file, {{"NAME", FieldType::Character, 12, 0}, {"QTY", FieldType::Numeric, 8, 2}}, {2026, 1, 1});
    engine::Dbf dbf(file);
    KeyExpression upper(" upper( name ) ", dbf);
    EXPECT_TRUE(upper.upper());
    EXPECT_EQ(upper.keyLength(), 12);
    std::string record = dbf.blankRecord();
    record.replace(1, 12, "ab\xa0\xe0\xf1z      "); // "абрё" in 866 among Latin letters
    EXPECT_EQ(upper.key(record), "AB\x80\x90\xf0Z      ");
    KeyExpression bare("NAME", dbf);
    EXPECT_EQ(bare.key(record), record.substr(1, 12));
    KeyExpression qty("qty", dbf);
    EXPECT_TRUE(qty.numeric());
    EXPECT_EQ(qty.keyLength(), 8);
    EXPECT_EQ(qty.pad(), '\0');
    for (const char* bad : {"UPPER(QTY)", "NOSUCH", "UPPER(NAME", "NAME+QTY", "LOWER(NAME)", ""})
        EXPECT_THROW(KeyExpression(bad, dbf), engine::EngineError) << bad;
}

TEST(KeyExpression, NumericTagOrdersRowsByValue) {
    testsupport::TempDir dir;
    engine::Engine engine(dir.path().string());
    engine.createTable("t", {{"NAME", FieldType::Character, 10, 0}, {"QTY", FieldType::Numeric, 8, 2}});
    engine::DataSet ds(engine, "t");
    ds.open({.exclusive = true});
    for (const char* q : {"123.25", "-12", "1.5", "", "-0.5"}) {
        ds.insert();
        ds.setFieldText("NAME", q);
        ds.setFieldText("QTY", q);
        ds.post();
    }
    ds.createIndex({{"QTY", "QTY"}});
    ds.selectTag("QTY");
    EXPECT_EQ(enginetest::column(ds, "QTY"), (std::vector<std::string>{"-12.00", "-0.50", "", "1.50", "123.25"}));
    EXPECT_TRUE(ds.seek("1.5"));
    EXPECT_EQ(ds.fieldText("NAME"), "1.5");
    EXPECT_FALSE(ds.seek("2"));
    EXPECT_FALSE(ds.seek("x"));
    ds.gotoRecord(1);
    ds.edit();
    ds.setFieldInt("QTY", -100);
    ds.post();
    EXPECT_EQ(enginetest::column(ds, "QTY").front(), "-100.00");
    EXPECT_EQ(ds.checkIndex(), "");
}

} // namespace
