#include "EngineTestUtil.h"
#include "engine/CdxIndex.h"
#include "engine/CodePage.h"
#include "engine/DataSet.h"
#include "engine/EngineError.h"
#include "engine/PosixFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using engine::DataSet;
using engine::EngineError;
using enginetest::addFolder;
using enginetest::column;

namespace {

using Names = std::vector<std::string>;

class Index : public enginetest::EngineInTempDir<> {
protected:
    void SetUp() override { enginetest::createFolder(engine); }

    // The index file opened beside the engine, as another program would.
    void withRawIndex(const std::function<void(engine::CdxIndex&)>& use) {
        engine::PosixFile file(engine.indexPath("folder"), false);
        engine::CdxIndex index(file);
        use(index);
    }
};

TEST_F(Index, CreatingNeedsExclusiveUseAndMarksTheTable) {
    std::string b = testsupport::readFile(dir.path() / "folder.dbf");
    EXPECT_EQ(static_cast<std::uint8_t>(b[28]), 0x01);
    EXPECT_TRUE(engine.indexExists("FOLDER"));
    DataSet ds(engine, "folder");
    ds.open();
    EXPECT_TRUE(ds.hasIndex());
    EXPECT_THROW(ds.createIndex(enginetest::folderTags()), EngineError);
    withRawIndex([](engine::CdxIndex& index) {
        ASSERT_EQ(index.tags().size(), 2u);
        EXPECT_EQ(index.tags()[index.findTag("NAME")].expression, "UPPER(NAME)");
        EXPECT_EQ(index.tags()[index.findTag("PATH")].keyLength, 240);
    });
}

TEST_F(Index, TagOrderIsUpperCasedKeyOrder) {
    DataSet ds(engine, "folder");
    ds.open();
    for (const char* n : {"бухгалтерия", "Склад", "apple", "Zebra", "Ёлка", "Аптека"})
        addFolder(ds, n, n);
    ds.selectTag("name");
    EXPECT_EQ(ds.selectedTag(), "NAME");
    // Byte order of upper-cased 866 text: Latin, then А..Я, then Ё (0xF0).
    EXPECT_EQ(column(ds, "NAME"), (Names{"apple", "Zebra", "Аптека", "бухгалтерия", "Склад", "Ёлка"}));
    Names backwards;
    for (ds.last(); !ds.bof(); ds.prior())
        backwards.push_back(ds.fieldText("NAME"));
    std::reverse(backwards.begin(), backwards.end());
    EXPECT_EQ(backwards, column(ds, "NAME"));
    ds.selectTag("");
    EXPECT_EQ(column(ds, "NAME").front(), "бухгалтерия");
    EXPECT_THROW(ds.selectTag("NOSUCH"), EngineError);
}

TEST_F(Index, SeekMatchesAPrefixAndTakesTheFirstInKeyOrder) {
    DataSet ds(engine, "folder");
    ds.open();
    addFolder(ds, "trade", "C:\\1C\\TRADE\\");
    addFolder(ds, "base", "C:\\1C\\");
    addFolder(ds, "cyr", "C:\\БАЗЫ\\ЗАРПЛАТА\\");
    addFolder(ds, "later", "C:\\1C\\TRADE\\");
    ds.selectTag("PATH");
    EXPECT_THROW(DataSet(engine, "folder").seek("x"), EngineError); // not open
    struct Case {
        const char* key;
        std::uint32_t recno; // 0: not found
    } cases[] = {
        {"C:\\1C\\", 2}, {"C:\\1C\\T", 1}, {"C:\\1C\\TRADE\\", 1},  {"C:\\БАЗЫ\\З", 3}, {"c:\\1c\\", 0},
        {"C:\\2", 0},    {"", 2},          {"C:\\1C\\TRADE\\X", 0}, {"日本", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        ds.first();
        EXPECT_EQ(ds.seek(c.key), c.recno != 0);
        if (c.recno) {
            EXPECT_EQ(ds.recno(), c.recno);
        }
    }
    // A deleted row is passed over; the next key with the prefix is found.
    ASSERT_TRUE(ds.seek("C:\\1C\\TRADE"));
    ds.remove();
    ASSERT_TRUE(ds.seek("C:\\1C\\TRADE"));
    EXPECT_EQ(ds.recno(), 4u);
    ds.remove();
    EXPECT_FALSE(ds.seek("C:\\1C\\TRADE"));
    ds.selectTag("");
    EXPECT_THROW(ds.seek("C:"), EngineError);
}

TEST_F(Index, RowsWrittenWithoutTheIndexShowInTagOrderAfterRefresh) {
    DataSet seek(engine, "FOLDER");
    seek.open();
    seek.selectTag("PATH");
    DataSet search(engine, "folder");
    search.open({.withIndex = false});
    EXPECT_FALSE(search.hasIndex());
    EXPECT_THROW(search.selectTag("PATH"), EngineError);
    addFolder(search, "b", "B:\\");
    addFolder(search, "a", "A:\\");
    seek.refresh();
    EXPECT_EQ(column(seek, "PATH"), (Names{"A:\\", "B:\\"}));
    ASSERT_TRUE(search.locate("PATH", "B:\\", false));
    search.edit();
    search.setFieldText("PATH", "0:\\");
    search.post();
    seek.refresh();
    EXPECT_EQ(column(seek, "PATH"), (Names{"0:\\", "A:\\"}));
    EXPECT_EQ(seek.checkIndex(), "");
}

TEST_F(Index, RefreshKeepsTheCurrentRowAndTagPosition) {
    DataSet a(engine, "folder"), b(engine, "folder");
    a.open();
    b.open();
    a.selectTag("NAME");
    for (const char* n : {"a", "c", "e"})
        addFolder(a, n, n);
    ASSERT_TRUE(a.seek("C"));
    addFolder(b, "d", "d");
    a.refresh();
    EXPECT_EQ(a.fieldText("NAME"), "c");
    a.next();
    EXPECT_EQ(a.fieldText("NAME"), "d");
    // The current row deleted elsewhere: the next one in tag order becomes current.
    b.gotoRecord(a.recno());
    b.remove();
    a.refresh();
    EXPECT_EQ(a.fieldText("NAME"), "e");
}

TEST_F(Index, StaleAndDamagedIndexesAreDetectedAndRebuilt) {
    DataSet ds(engine, "folder");
    ds.open();
    for (int i = 0; i < 50; ++i)
        addFolder(ds, "name " + std::to_string(i), "path " + std::to_string(i % 7));
    ds.remove(); // deleted rows keep their keys
    EXPECT_EQ(ds.checkIndex(), "");

    withRawIndex([](engine::CdxIndex& index) { index.setUpdateInProgress(true); });
    EXPECT_NE(ds.checkIndex().find("stale"), std::string::npos);
    ds.reindex();
    EXPECT_EQ(ds.checkIndex(), "");

    withRawIndex([](engine::CdxIndex& index) { index.removeRecord(index.findTag("PATH"), 17); });
    EXPECT_NE(ds.checkIndex().find("record 17 has no key"), std::string::npos) << ds.checkIndex();
    ds.reindex();
    EXPECT_EQ(ds.checkIndex(), "");

    withRawIndex([](engine::CdxIndex& index) { index.insert(index.findTag("NAME"), "EXTRA", 51); });
    EXPECT_NE(ds.checkIndex().find("record 51"), std::string::npos) << ds.checkIndex();
    ds.reindex();

    withRawIndex([](engine::CdxIndex& index) {
        int tag = index.findTag("NAME");
        index.removeRecord(tag, 3);
        index.insert(tag, "WRONG", 3);
    });
    EXPECT_NE(ds.checkIndex().find("record 3 has the key \"WRONG\""), std::string::npos) << ds.checkIndex();
}

TEST_F(Index, AnUnusableIndexFileIsReportedAndCanBeMadeAgain) {
    {
        DataSet ds(engine, "folder");
        ds.open();
        addFolder(ds, "kept", "p");
    }
    for (const char* broken : {"garbage-header.cdx", "truncated-inside-header.cdx", "root-pointer-past-end.cdx"}) {
        SCOPED_TRACE(broken);
        std::filesystem::copy_file(testsupport::testFixture(std::string("cdx/") + broken), dir.path() / "folder.cdx",
                                   std::filesystem::copy_options::overwrite_existing);
        DataSet ds(engine, "folder");
        try {
            ds.open();
            ds.selectTag("NAME");
            ds.first();
            FAIL() << "used a broken index";
        } catch (const EngineError& e) {
            EXPECT_NE(std::string(e.what()).find("folder.cdx"), std::string::npos) << e.what();
        }
        ds.close();
        ds.open({.exclusive = true, .withIndex = false});
        EXPECT_EQ(ds.fieldText("NAME"), "kept");
        EXPECT_NE(ds.checkIndex(), "");
        ds.createIndex(enginetest::folderTags());
        EXPECT_EQ(ds.checkIndex(), "");
        ds.close();
        ds.open();
        ds.selectTag("PATH");
        EXPECT_TRUE(ds.seek("P"));
    }
}

TEST_F(Index, AnUpdateRemovesAKeyAnotherEngineComputedDifferently) {
    DataSet ds(engine, "folder");
    ds.open();
    addFolder(ds, "ёлка", "p");
    addFolder(ds, "other", "q");
    // Another engine's upper-casing leaves "ё" as it is.
    std::string theirs = engine::cp866FromUtf8("ёЛКА").value();
    withRawIndex([&](engine::CdxIndex& index) {
        int tag = index.findTag("NAME");
        index.removeRecord(tag, 1);
        index.insert(tag, theirs, 1);
    });
    EXPECT_EQ(ds.checkIndex(), ""); // the same key up to case
    ds.selectTag("NAME");
    ds.gotoRecord(1); // positioned by our key, which sorts before the stored one
    ds.next();
    EXPECT_TRUE(ds.eof());
    ds.gotoRecord(1);
    ds.prior();
    EXPECT_EQ(ds.recno(), 2u);
    ds.selectTag("");
    ds.gotoRecord(1);
    ds.edit();
    ds.setFieldText("NAME", "Берёза");
    ds.post();
    EXPECT_EQ(ds.checkIndex(), "");
    ds.selectTag("NAME");
    EXPECT_EQ(column(ds, "NAME"), (Names{"other", "Берёза"}));
}

// Thousands of random changes through several data sets, the tags walked against a sort of all
// rows after each round.
TEST_F(Index, TagsMatchASortOfAllRowsAfterRandomChanges) {
    std::mt19937 random(20260310);
    DataSet indexed(engine, "folder"), plain(engine, "folder"), byName(engine, "folder");
    indexed.open();
    indexed.selectTag("PATH");
    plain.open({.withIndex = false});
    byName.open();
    byName.selectTag("NAME");
    auto word = [&](int length) {
        static const char* letters[] = {"a", "B", "я", "Ж", "1", "\\", "ё", "z", " "};
        std::string w;
        for (int i = 0; i < length; ++i)
            w += letters[random() % 9];
        return w;
    };
    std::uint32_t rows = 0;
    for (int round = 0; round < 4; ++round) {
        for (int step = 0; step < 700; ++step) {
            DataSet& ds = step % 2 ? indexed : plain;
            ds.refresh();
            unsigned action = random() % 10;
            if (action < 5 || rows == 0) {
                addFolder(ds, word(1 + random() % 12), word(1 + random() % 60));
                ++rows;
            } else if (ds.gotoRecord(1 + random() % rows)) {
                if (action < 8) {
                    ds.edit();
                    ds.setFieldText(action % 2 ? "NAME" : "PATH", word(random() % 30));
                    ds.post();
                } else {
                    ds.remove();
                }
            }
        }
        for (auto [ds, field] : {std::pair{&indexed, "PATH"}, std::pair{&byName, "NAME"}}) {
            ds->refresh();
            std::vector<std::pair<std::string, std::uint32_t>> expected;
            plain.selectTag("");
            for (plain.first(); !plain.eof(); plain.next())
                expected.emplace_back(engine::upperUtf8(plain.fieldText(field)), plain.recno());
            // Upper-cased 866 bytes collate like this UTF-8 only within one script, so sort the
            // stored form.
            std::sort(expected.begin(), expected.end(), [](const auto& x, const auto& y) {
                std::string a = engine::cp866FromUtf8(x.first).value(), b = engine::cp866FromUtf8(y.first).value();
                return a != b ? a < b : x.second < y.second;
            });
            std::vector<std::pair<std::string, std::uint32_t>> walked;
            for (ds->first(); !ds->eof(); ds->next())
                walked.emplace_back(engine::upperUtf8(ds->fieldText(field)), ds->recno());
            ASSERT_EQ(walked, expected) << "round " << round << " tag " << field;
        }
        ASSERT_EQ(indexed.checkIndex(), "");
    }
}

} // namespace
