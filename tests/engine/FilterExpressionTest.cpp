#include "engine/FilterExpression.h"
#include "engine/Dbf.h"
#include "engine/EngineError.h"
#include "engine/FieldCodec.h"
#include "engine/MemoryFile.h"

#include <gtest/gtest.h>

using engine::Dbf;
using engine::FieldType;
using engine::FilterExpression;

namespace {

class Filter : public ::testing::Test {
protected:
    engine::MemoryFile file;
    std::unique_ptr<Dbf> dbf;

    void SetUp() override {
        Dbf::create(file,
                    {{"NAME", FieldType::Character, 10, 0},
                     {"CATEGORY", FieldType::Numeric, 6, 0},
                     {"DIVISION", FieldType::Numeric, 6, 0}},
                    {2026, 1, 1});
        dbf = std::make_unique<Dbf>(file);
    }
    // A record with these field texts ("" leaves the field blank).
    std::string row(const std::string& category, const std::string& division) {
        std::string r = dbf->blankRecord();
        engine::field::setText(dbf->fields()[1], r, category);
        engine::field::setText(dbf->fields()[2], r, division);
        return r;
    }
};

TEST_F(Filter, ExpressionsOfTheFilterModes) {
    struct Case {
        const char* expression;
        const char* category;
        const char* division;
        bool shown;
    } cases[] = {
        {"CATEGORY=4 .AND. CATEGORY>0", "4", "", true},
        {"CATEGORY=4 .AND. CATEGORY>0", "5", "", false},
        {"CATEGORY=0 .AND. CATEGORY>0", "", "", false}, // mode 1 with no category chosen
        {"DIVISION=12 .AND. DIVISION>0", "1", "12", true},
        {"CATEGORY=4 .AND. DIVISION=12 .AND. CATEGORY>0 .AND. DIVISION>0", "4", "12", true},
        {"CATEGORY=4 .AND. DIVISION=12 .AND. CATEGORY>0 .AND. DIVISION>0", "4", "11", false},
        {"CATEGORY=0 .OR. DIVISION=0", "", "3", true}, // blank counts as 0
        {"CATEGORY=0 .OR. DIVISION=0", "2", "3", false},
        {"CATEGORY=0 .OR. DIVISION=0", "2", "0", true},
        {"category=4 .and. division=12", "4", "12", true},
        {"CATEGORY=4.AND.DIVISION=12", "4", "12", true},
        {"(CATEGORY=1 .OR. CATEGORY=2) .AND. DIVISION=3", "2", "3", true},
        {"CATEGORY=1 .OR. CATEGORY=2 .AND. DIVISION=3", "1", "9", true}, // .AND. binds tighter
        {"(CATEGORY=1 .OR. CATEGORY=2) .AND. DIVISION=3", "1", "9", false},
        {" ( ( CATEGORY = 7 ) ) ", "7", "", true},
        {".NOT. CATEGORY=7", "7", "", false},
        {"CATEGORY>DIVISION", "8", "7", true},
        {"CATEGORY<>7 .AND. CATEGORY#8 .AND. CATEGORY>=9 .AND. CATEGORY<=9 .AND. CATEGORY<10", "9", "", true},
        {"CATEGORY>-1", "", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        FilterExpression f(c.expression, dbf->fields());
        EXPECT_EQ(f.matches(row(c.category, c.division)), c.shown);
    }
}

TEST_F(Filter, ParseErrorsCarryTheExpression) {
    const char* bad[] = {
        "",
        "CATEGORY",
        "CATEGORY=",
        "=4",
        "CATEGORY=4 .AND.",
        "CATEGORY=4 .AND DIVISION=1",
        "CATEGORY=4 AND DIVISION=1",
        "(CATEGORY=4",
        "CATEGORY=4)",
        "NOSUCH=1",
        "NAME=1", // character fields are not compared with numbers
        "CATEGORY==4",
        "CATEGORY=4 DIVISION=1",
        "CATEGORY=\"4\"",
        "CATEGORY=4 .XOR. DIVISION=1",
    };
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        try {
            FilterExpression f(text, dbf->fields());
            FAIL() << "parsed";
        } catch (const engine::EngineError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Could not parse filter expression: ") + text);
        }
    }
}

TEST_F(Filter, DeepNestingIsRefusedNotOverflowed) {
    std::string deep = std::string(100000, '(') + "CATEGORY=1" + std::string(100000, ')');
    EXPECT_THROW(FilterExpression(deep, dbf->fields()), engine::EngineError);
    std::string fine = std::string(50, '(') + "CATEGORY=1" + std::string(50, ')');
    EXPECT_TRUE(FilterExpression(fine, dbf->fields()).matches(row("1", "")));
}

} // namespace
