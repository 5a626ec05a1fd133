#include "engine/CdxIndex.h"
#include "CdxMemoryFile.h"
#include "CdxTestUtil.h"
#include "engine/EngineError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using engine::CdxEntry;
using engine::CdxIndex;
using engine::EngineError;
using enginetest::CdxMemoryFile;
using enginetest::hexBytes;
using enginetest::padded;

namespace {

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

std::uint32_t be32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v = v << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

// The small index of three names of the worked example: one tag NAME, key length 10.
CdxMemoryFile threeNames() {
    CdxMemoryFile file;
    CdxIndex::create(file, {{"NAME", "NAME", 10, ' '}});
    CdxIndex index(file);
    index.insert(0, "IVANOVA", 1);
    index.insert(0, "PETROV", 2);
    index.insert(0, "IVANOV", 3);
    return file;
}

TEST(CdxWorkedExample, LeafPageIsByteForByteTheKnownOne) {
    CdxMemoryFile file = threeNames();
    const std::string& bytes = file.bytes();
    ASSERT_GE(bytes.size(), 0xC00u);
    std::string leaf = bytes.substr(0xA00, 512);
    std::string expected = hexBytes("03 00 03 00 FF FF FF FF FF FF FF FF"
                                    "D2 01"
                                    "FF FF 00 00 0F 0F 10 04 04 03"
                                    "03 00 40 01 00 36 02 00 40");
    expected.resize(0x1F3, '\0');
    expected += "PETROV"
                "A"
                "IVANOV";
    ASSERT_EQ(expected.size(), 512u);
    EXPECT_EQ(leaf, expected);
}

TEST(CdxWorkedExample, HeadersAndTagListAreTheKnownOnes) {
    CdxMemoryFile file = threeNames();
    const std::string& bytes = file.bytes();
    EXPECT_EQ(le32(bytes, 0), 0x400u);      // root of the tag list
    EXPECT_EQ(le32(bytes, 4), 0xFFFFFFFFu); // no free pages
    EXPECT_EQ(bytes.substr(12, 4), hexBytes("0A 00 E0 01"));
    // Tag list leaf: NAME -> 0x600, entry 00 06 60, text "NAME" at the page end.
    EXPECT_EQ(bytes.substr(0x400, 2), hexBytes("03 00"));
    EXPECT_EQ(bytes.substr(0x418, 3), hexBytes("00 06 60"));
    EXPECT_EQ(bytes.substr(0x5FC, 4), "NAME");
    // Tag header: root 0xA00, key length 10, options 0x60, pool "NAME\0\0".
    EXPECT_EQ(le32(bytes, 0x600), 0xA00u);
    EXPECT_EQ(bytes.substr(0x60C, 4), hexBytes("0A 00 60 01"));
    EXPECT_EQ(bytes.substr(0x7F6, 10), hexBytes("00 00 05 00 01 00 00 00 05 00"));
    EXPECT_EQ(bytes.substr(0x800, 6), std::string("NAME\0\0", 6));
    // Three insertions, three changes; the counter is big-endian.
    EXPECT_EQ(be32(bytes, 8), 3u);
}

TEST(CdxIndexApi, CreatedTagsAreListedInCreationOrder) {
    CdxMemoryFile file;
    CdxIndex::create(file, {{"path", "UPPER(PATH)", 240, ' '}, {"Name", "UPPER(NAME)", 40, ' '}});
    CdxIndex index(file);
    ASSERT_EQ(index.tags().size(), 2u);
    EXPECT_EQ(index.tags()[0].name, "PATH");
    EXPECT_EQ(index.tags()[0].expression, "UPPER(PATH)");
    EXPECT_EQ(index.tags()[0].keyLength, 240);
    EXPECT_EQ(index.tags()[1].name, "NAME");
    EXPECT_EQ(index.tags()[1].forExpression, "");
    EXPECT_FALSE(index.tags()[1].descending);
    EXPECT_EQ(index.findTag("name"), 1);
    EXPECT_EQ(index.findTag("other"), -1);
    EXPECT_EQ(index.count(0), 0u);
    EXPECT_FALSE(index.first(1));
    EXPECT_EQ(index.check(), "");
}

TEST(CdxIndexApi, BadDefinitionsAreRefused) {
    struct Case {
        const char* what;
        std::vector<engine::CdxTagDefinition> tags;
    };
    const Case cases[] = {
        {"name too long", {{"ELEVENCHARS", "NAME", 10, ' '}}},
        {"empty name", {{"", "NAME", 10, ' '}}},
        {"same name twice", {{"NAME", "NAME", 10, ' '}, {"name", "PATH", 10, ' '}}},
        {"key length 0", {{"NAME", "NAME", 0, ' '}}},
        {"key length 241", {{"NAME", "NAME", 241, ' '}}},
        {"no expression", {{"NAME", "", 10, ' '}}},
    };
    for (const Case& c : cases) {
        CdxMemoryFile file;
        EXPECT_THROW(CdxIndex::create(file, c.tags), EngineError) << c.what;
    }
}

TEST(CdxIndexApi, KeysArePaddedAndLongKeysRefused) {
    CdxMemoryFile file = threeNames();
    CdxIndex index(file);
    EXPECT_EQ(index.first(0), (CdxEntry{padded("IVANOV", 10), 3}));
    EXPECT_THROW(index.insert(0, "ABCDEFGHIJK", 4), EngineError);
    EXPECT_TRUE(index.remove(0, "PETROV", 2));
    EXPECT_FALSE(index.remove(0, "PETROV", 2));
    EXPECT_FALSE(index.remove(0, "IVANOV", 1));
    EXPECT_EQ(index.count(0), 2u);
    EXPECT_THROW(index.count(1), EngineError);
}

TEST(CdxIndexApi, NeighboursOfRemovedPositionsAndSeeks) {
    CdxMemoryFile file = threeNames();
    CdxIndex index(file);
    CdxEntry gone{padded("IVANOVA", 10), 1};
    ASSERT_TRUE(index.remove(0, gone.key, gone.recno));
    EXPECT_EQ(index.next(0, gone), (CdxEntry{padded("PETROV", 10), 2}));
    EXPECT_EQ(index.prior(0, gone), (CdxEntry{padded("IVANOV", 10), 3}));
    EXPECT_FALSE(index.next(0, {padded("PETROV", 10), 2}));
    EXPECT_FALSE(index.prior(0, {padded("IVANOV", 10), 3}));

    struct Seek {
        std::string prefix;
        std::optional<std::uint32_t> recno;
    };
    const Seek seeks[] = {{"IVAN", 3},
                          {"P", 2},
                          {"", 3},
                          {"IVANOVA", std::nullopt},
                          {"Z", std::nullopt},
                          {"PETROV    ", 2},
                          {"PETROV      ", 2},
                          {"PETROV    X", std::nullopt}};
    for (const Seek& s : seeks) {
        auto found = index.seek(0, s.prefix);
        EXPECT_EQ(found ? std::optional<std::uint32_t>(found->recno) : std::nullopt, s.recno) << s.prefix;
    }
}

TEST(CdxIndexApi, RemoveRecordFindsEntryWhateverItsKey) {
    CdxMemoryFile file = threeNames();
    CdxIndex index(file);
    EXPECT_TRUE(index.removeRecord(0, 1));
    EXPECT_FALSE(index.removeRecord(0, 1));
    EXPECT_EQ(enginetest::walkForward(index, 0),
              (std::vector<CdxEntry>{{padded("IVANOV", 10), 3}, {padded("PETROV", 10), 2}}));
}

TEST(CdxIndexApi, UpdateMarkerIsOneByteOfTheCompoundHeader) {
    CdxMemoryFile file = threeNames();
    CdxIndex index(file);
    EXPECT_FALSE(index.updateInProgress());
    index.setUpdateInProgress(true);
    EXPECT_EQ(file.bytes()[400], '\x01');
    CdxIndex again(file);
    EXPECT_TRUE(again.updateInProgress());
    EXPECT_EQ(again.check(), "");
    again.setUpdateInProgress(false);
    EXPECT_FALSE(index.updateInProgress());
}

TEST(CdxIndexApi, ChangesOfAnotherWriterAreSeenAtOnce) {
    CdxMemoryFile file = threeNames();
    CdxIndex reader(file);
    CdxIndex writer(file);
    EXPECT_EQ(reader.count(0), 3u);
    writer.insert(0, "ABRAMOV", 9);
    EXPECT_EQ(reader.first(0), (CdxEntry{padded("ABRAMOV", 10), 9}));
}

TEST(CdxIndexApi, ReadsNeverWrite) {
    CdxMemoryFile file = threeNames();
    std::size_t writes = file.writes();
    CdxIndex index(file);
    enginetest::walkForward(index, 0);
    enginetest::walkBackward(index, 0);
    index.seek(0, "P");
    index.count(0);
    EXPECT_EQ(index.check(), "");
    EXPECT_FALSE(index.remove(0, "NOBODY", 1));
    EXPECT_EQ(file.writes(), writes);
}

TEST(CdxIndexApi, AChangeThatMeetsDamageLeavesTheFileUntouched) {
    CdxMemoryFile file(testsupport::readFile(testsupport::testFixture("cdx/child-pointer-past-end.cdx")));
    CdxIndex index(file);
    std::string before = file.bytes();
    for (std::uint32_t r = 1; r <= 5; ++r) // keys that belong under the broken child
        EXPECT_THROW(index.insert(0, "A" + std::to_string(r), 100 + r), EngineError);
    EXPECT_THROW(index.rebuild(0, {{"A", 1}}), EngineError); // the old tree cannot be freed
    EXPECT_EQ(file.bytes(), before);
}

TEST(CdxIndexApi, FreedPagesAreReusedBeforeTheFileGrows) {
    CdxMemoryFile file;
    CdxIndex::create(file, {{"PATH", "PATH", 240, ' '}});
    CdxIndex index(file);
    for (std::uint32_t r = 1; r <= 60; ++r)
        index.insert(0, "KEY" + std::to_string(r * 7919 % 1000) + std::string(200, 'x'), r);
    std::size_t grown = file.bytes().size();
    for (std::uint32_t r = 1; r <= 60; ++r)
        ASSERT_TRUE(index.removeRecord(0, r));
    EXPECT_EQ(index.check(), "");
    EXPECT_NE(le32(file.bytes(), 4), 0xFFFFFFFFu); // the free list holds the emptied pages
    for (std::uint32_t r = 1; r <= 60; ++r)
        index.insert(0, "KEY" + std::to_string(r * 7919 % 1000) + std::string(200, 'x'), r);
    EXPECT_EQ(file.bytes().size(), grown);
    EXPECT_EQ(index.check(), "");
}

TEST(CdxIndexApi, RebuildSortsDropsRepeatsAndReusesPages) {
    CdxMemoryFile file;
    CdxIndex::create(file, {{"NAME", "NAME", 40, ' '}});
    CdxIndex index(file);
    std::vector<CdxEntry> entries;
    for (std::uint32_t r = 1; r <= 2000; ++r)
        entries.push_back({"N" + std::to_string(r * 31 % 2000), r});
    entries.push_back(entries.front());
    index.rebuild(0, entries);
    EXPECT_EQ(index.count(0), 2000u);
    EXPECT_EQ(index.check(), "");
    std::size_t size = file.bytes().size();
    index.rebuild(0, entries);
    EXPECT_EQ(file.bytes().size(), size);
    index.rebuild(0, {});
    EXPECT_EQ(index.count(0), 0u);
    EXPECT_EQ(index.check(), "");
}

TEST(CdxIndexApi, WideRecordNumbersWidenTheLeafEntries) {
    CdxMemoryFile file = threeNames();
    CdxIndex index(file);
    index.insert(0, "SIDOROV", 70000); // beyond the 16 record bits of a 10-byte key
    index.insert(0, "ZUEV", 0xFFFFFFFFu);
    EXPECT_EQ(file.bytes()[0xA00 + 23], '\x05');
    EXPECT_EQ(index.last(0), (CdxEntry{padded("ZUEV", 10), 0xFFFFFFFFu}));
    EXPECT_EQ(index.count(0), 5u);
    EXPECT_EQ(index.check(), "");
}

} // namespace
