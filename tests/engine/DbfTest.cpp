#include "engine/Dbf.h"
#include "EngineTestUtil.h"
#include "engine/CodePage.h"
#include "engine/EngineError.h"
#include "engine/MemoryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using engine::DataSet;
using engine::Dbf;
using engine::EngineError;
using engine::FieldDef;
using engine::FieldType;

namespace {

std::uint8_t byteAt(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes.at(at));
}

unsigned le16(const std::string& b, std::size_t at) {
    return byteAt(b, at) | (byteAt(b, at + 1) << 8);
}

TEST(Dbf, NewTableHasFoxProHeaderAndEndOfFileByte) {
    engine::MemoryFile file;
    Dbf::create(file, {{"name", FieldType::Character, 40, 0}, {"qty", FieldType::Numeric, 6, 2}}, {2026, 3, 9});
    const std::string& b = file.bytes();
    ASSERT_EQ(b.size(), 32u + 2 * 32 + 1 + 1);
    EXPECT_EQ(byteAt(b, 0), 0x03);
    EXPECT_EQ(byteAt(b, 1), 126); // 2026 - 1900
    EXPECT_EQ(byteAt(b, 2), 3);
    EXPECT_EQ(byteAt(b, 3), 9);
    EXPECT_EQ(le16(b, 4), 0u);
    EXPECT_EQ(le16(b, 8), 97u);     // 32 + 2 * 32 + 1
    EXPECT_EQ(le16(b, 10), 47u);    // flag + 40 + 6
    EXPECT_EQ(byteAt(b, 28), 0x00); // no index yet
    EXPECT_EQ(byteAt(b, 29), 0x65); // MS-DOS Russian
    EXPECT_EQ(b.substr(32, 11), std::string("NAME\0\0\0\0\0\0\0", 11));
    EXPECT_EQ(b[32 + 11], 'C');
    EXPECT_EQ(byteAt(b, 32 + 16), 40);
    EXPECT_EQ(b[64 + 11], 'N');
    EXPECT_EQ(byteAt(b, 64 + 16), 6);
    EXPECT_EQ(byteAt(b, 64 + 17), 2);
    EXPECT_EQ(byteAt(b, 96), 0x0D);
    EXPECT_EQ(byteAt(b, 97), 0x1A);
}

TEST(Dbf, AppendWritesRowThenEndByteAndCount) {
    engine::MemoryFile file;
    Dbf::create(file, {{"A", FieldType::Character, 3, 0}}, {2026, 1, 1});
    Dbf dbf(file);
    std::string record = dbf.blankRecord();
    record.replace(1, 3, "xyz");
    EXPECT_EQ(dbf.appendRecord(record, {2027, 12, 31}), 1u);
    EXPECT_EQ(dbf.appendRecord(record, {2027, 12, 31}), 2u);
    const std::string& b = file.bytes();
    EXPECT_EQ(b.substr(65, 8), " xyz xyz"); // header of 32 + 32 + 1 bytes
    EXPECT_EQ(byteAt(b, 73), 0x1A);
    EXPECT_EQ(b.size(), 74u);
    EXPECT_EQ(byteAt(b, 4), 2);
    EXPECT_EQ(byteAt(b, 1), 127);
    EXPECT_EQ(byteAt(b, 2), 12);
    Dbf again(file);
    EXPECT_EQ(again.recordCount(), 2u);
}

// Another program appends a row while the table is being opened: between any two of the
// opener's reads. The row lands before the header counts it, so the opener never sees a count
// the file does not hold.
TEST(Dbf, ARowAppendedWhileTheTableOpensDoesNotMakeItLookDamaged) {
    class AppendingFile : public engine::MemoryFile {
    public:
        using MemoryFile::MemoryFile;
        int appendAtCall = 0;
        std::size_t read(std::uint64_t offset, void* buffer, std::size_t n) override {
            step();
            return MemoryFile::read(offset, buffer, n);
        }
        std::uint64_t size() override {
            step();
            return MemoryFile::size();
        }

    private:
        int m_calls = 0;
        void step() {
            if (++m_calls != appendAtCall)
                return;
            engine::MemoryFile other(data());
            Dbf writer(other);
            writer.appendRecord(writer.blankRecord(), {2026, 1, 1});
        }
    };
    auto data = std::make_shared<engine::MemoryFileData>();
    {
        engine::MemoryFile file(data);
        Dbf::create(file, {{"A", FieldType::Character, 3, 0}}, {2026, 1, 1});
    }
    for (int at = 1; at <= 4; ++at) {
        AppendingFile file(data);
        file.appendAtCall = at;
        EXPECT_NO_THROW(Dbf{file}) << "appended at call " << at;
    }
}

TEST(Dbf, FieldDefinitionsAreChecked) {
    struct Case {
        FieldDef field;
        bool valid;
    } cases[] = {
        {{"NAME", FieldType::Character, 254, 0}, true},  {{"N_1", FieldType::Numeric, 20, 2}, true},
        {{"", FieldType::Character, 10, 0}, false},      {{"ELEVENCHARS", FieldType::Character, 10, 0}, false},
        {{"1ST", FieldType::Character, 10, 0}, false},   {{"A B", FieldType::Character, 10, 0}, false},
        {{"WIDE", FieldType::Character, 255, 0}, false}, {{"ZERO", FieldType::Character, 0, 0}, false},
        {{"DEC", FieldType::Character, 10, 1}, false},   {{"NUM", FieldType::Numeric, 21, 0}, false},
        {{"NUM", FieldType::Numeric, 4, 3}, false},      {{"ODD", static_cast<FieldType>('M'), 10, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field.name + " " + std::to_string(c.field.width));
        if (c.valid)
            EXPECT_NO_THROW(Dbf::checkFields({c.field}));
        else
            EXPECT_THROW(Dbf::checkFields({c.field}), EngineError);
    }
    EXPECT_THROW(Dbf::checkFields({{"A", FieldType::Character, 1, 0}, {"a", FieldType::Character, 1, 0}}), EngineError);
    EXPECT_THROW(Dbf::checkFields({}), EngineError);
}

class DbfTable : public enginetest::EngineInTempDir<> {
protected:
    void SetUp() override {
        engine.createTable("T", {{"TEXT", FieldType::Character, 254, 0},
                                 {"SHORT", FieldType::Character, 5, 0},
                                 {"INT", FieldType::Numeric, 6, 0},
                                 {"MONEY", FieldType::Numeric, 10, 2}});
    }
    std::string bytes() { return testsupport::readFile(dir.path() / "t.dbf"); }
};

TEST_F(DbfTable, CreateRefusesAnExistingFileWhateverItsCase) {
    EXPECT_THROW(engine.createTable("t", {{"A", FieldType::Character, 1, 0}}), EngineError);
    EXPECT_THROW(engine.createTable("T", {{"A", FieldType::Character, 1, 0}}), EngineError);
    EXPECT_TRUE(engine.tableExists("t"));
    EXPECT_EQ(engine.tablePath("T"), (dir.path() / "t.dbf").string());
}

TEST_F(DbfTable, TextAndNumbersRoundTripThroughTheirStoredForm) {
    DataSet ds(engine, "t");
    ds.open();
    ds.insert();
    ds.setFieldText("TEXT", "Торговля и склад ёЁ  ");
    ds.setFieldText("SHORT", "abcdefgh"); // cut to the width
    ds.setFieldInt("INT", -12345);
    ds.setFieldText("MONEY", "-12.5");
    ds.post();
    ds.insert();
    ds.post(); // a blank row: numbers read as 0
    ds.close();

    std::string b = bytes();
    std::size_t row = 32 + 4 * 32 + 1;
    EXPECT_EQ(b[row], ' ');
    EXPECT_EQ(b.substr(row + 1, 8), engine::cp866FromUtf8("Торговля").value());
    EXPECT_EQ(b.substr(row + 255, 5), "abcde");
    EXPECT_EQ(b.substr(row + 260, 6), "-12345");
    EXPECT_EQ(b.substr(row + 266, 10), "    -12.50");

    ds.open();
    EXPECT_EQ(ds.fieldText("TEXT"), "Торговля и склад ёЁ");
    EXPECT_EQ(ds.fieldText("short"), "abcde");
    EXPECT_EQ(ds.fieldInt("INT"), -12345);
    EXPECT_EQ(ds.fieldText("MONEY"), "-12.50");
    EXPECT_EQ(ds.fieldInt("MONEY"), -12);
    ds.next();
    EXPECT_EQ(ds.fieldText("TEXT"), "");
    EXPECT_EQ(ds.fieldInt("INT"), 0);
    EXPECT_EQ(ds.fieldText("INT"), "");
}

TEST_F(DbfTable, EveryByteValueSurvivesACharacterField) {
    std::string all;
    for (int i = 0; i < 256; ++i)
        if (i != ' ')
            all += static_cast<char>(i);
    DataSet ds(engine, "t");
    ds.open();
    ds.insert();
    ds.setFieldAnsi("TEXT", all.substr(0, 254));
    ds.post();
    ds.insert();
    ds.setFieldAnsi("TEXT", all.substr(254));
    ds.post();
    ds.close();
    ds.open();
    std::string back = ds.fieldAnsi("TEXT");
    ds.next();
    back += ds.fieldAnsi("TEXT");
    EXPECT_EQ(back, all);
}

TEST_F(DbfTable, TextOutsideWindows1251IsRefusedAndNothingIsStored) {
    DataSet ds(engine, "t");
    ds.open();
    ds.insert();
    try {
        ds.setFieldText("TEXT", "price 5€ and 日本");
        ds.setFieldText("TEXT", "日本");
        FAIL() << "no error";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("日"), std::string::npos) << e.what();
    }
    EXPECT_THROW(ds.setFieldText("TEXT", std::string("\xFF\xFE", 2)), EngineError); // not UTF-8
    EXPECT_THROW(ds.setFieldText("INT", "12a"), EngineError);
    EXPECT_THROW(ds.setFieldInt("INT", 1234567), EngineError); // wider than 6
    EXPECT_THROW(ds.setFieldText("NOSUCH", "x"), EngineError);
    ds.cancel();
    EXPECT_TRUE(ds.isEmpty());
}

TEST_F(DbfTable, ForeignCodePageMarksReadAs866) {
    DataSet ds(engine, "t");
    ds.open();
    ds.insert();
    ds.setFieldText("TEXT", "Ёлка");
    ds.post();
    ds.close();
    for (std::uint8_t mark : {0x00, 0x26, 0x65}) {
        std::string b = bytes();
        b[29] = static_cast<char>(mark);
        testsupport::writeFile(dir.path() / "t.dbf", b);
        ds.open();
        EXPECT_EQ(ds.fieldText("TEXT"), "Ёлка") << int(mark);
        ds.close();
    }
}

// Broken files named for what is wrong with them: each gives a clear error, never a crash.
TEST_F(DbfTable, DamagedFilesAreRefusedWithAMessage) {
    DataSet ds(engine, "t");
    ds.open();
    for (int i = 0; i < 3; ++i) {
        ds.insert();
        ds.setFieldText("SHORT", "row");
        ds.post();
    }
    ds.close();
    const std::string good = bytes();
    auto with = [&](std::size_t at, std::string patch) {
        std::string b = good;
        b.replace(at, patch.size(), patch);
        return b;
    };
    struct Case {
        const char* name;
        std::string bytes;
        const char* says;
    } cases[] = {
        {"empty", "", "shorter than a table header"},
        {"header-only-half", good.substr(0, 20), "shorter than a table header"},
        {"truncated-in-rows", good.substr(0, good.size() - 300), "header counts 3 records"},
        {"count-too-large", with(4, std::string("\xFF\xFF\x00\x00", 4)), "header counts"},
        {"header-length-past-end", with(8, std::string("\xFF\xFF", 2)), "header length"},
        {"header-length-tiny", with(8, std::string("\x10\x00", 2)), "header length"},
        {"record-length-wrong", with(10, std::string("\x05\x00", 2)), "record length"},
        {"no-field-end-mark", with(32 + 4 * 32, "X"), "field list"},
        {"memo-field", with(32 + 11, "M"), "not supported"},
        {"zero-width-field", with(32 + 16, std::string("\x00", 1)), "width 0"},
        {"unknown-version", with(0, "\x44"), "version"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::writeFile(dir.path() / "t.dbf", c.bytes);
        try {
            ds.open();
            FAIL() << "opened";
        } catch (const EngineError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
        EXPECT_FALSE(ds.isOpen());
    }
}

} // namespace
