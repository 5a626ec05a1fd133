#include "CdxMemoryFile.h"
#include "CdxTestUtil.h"
#include "engine/CdxIndex.h"
#include "engine/CodePage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

using engine::CdxEntry;
using engine::CdxIndex;
using enginetest::CdxMemoryFile;

namespace {

struct Folder {
    const char* dir;
    std::size_t rows;
    const char* pathPrefix; // UTF-8; the index holds cp866
    std::uint32_t prefixRecord;
};

// PATH column of rows.tsv, in record order.
std::vector<std::string> paths(const std::string& dir) {
    std::ifstream in(testsupport::sharedFixture("xbase/" + dir + "/rows.tsv"));
    std::vector<std::string> out;
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with("#"))
            continue; // column names
        std::size_t tab = line.find('\t');
        out.push_back(line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1));
    }
    return out;
}

class CdxForeignFile : public ::testing::TestWithParam<Folder> {
protected:
    // The index read through a temporary copy, so the shared fixture is never touched.
    CdxMemoryFile copy() {
        testsupport::TempDir dir;
        std::filesystem::path target = dir.path() / "folder.cdx";
        std::filesystem::copy_file(testsupport::sharedFixture(std::string("xbase/") + GetParam().dir + "/folder.cdx"),
                                   target);
        return CdxMemoryFile(testsupport::readFile(target), target.string());
    }
};

TEST_P(CdxForeignFile, BothTagsWalkInOrderAndCheckClean) {
    CdxMemoryFile file = copy();
    CdxIndex index(file);
    ASSERT_EQ(index.tags().size(), 2u);
    EXPECT_EQ(index.tags()[0].name, "NAME");
    EXPECT_EQ(index.tags()[0].expression, "UPPER(NAME)");
    EXPECT_EQ(index.tags()[0].keyLength, 40);
    EXPECT_EQ(index.tags()[1].name, "PATH");
    EXPECT_EQ(index.tags()[1].keyLength, 240);
    EXPECT_EQ(index.check(), "");
    for (int tag : {0, 1}) {
        std::vector<CdxEntry> forward = enginetest::walkForward(index, tag);
        EXPECT_EQ(forward.size(), GetParam().rows);
        EXPECT_EQ(index.count(tag), GetParam().rows);
        EXPECT_TRUE(std::is_sorted(forward.begin(), forward.end(), [](const CdxEntry& a, const CdxEntry& b) {
            return a.key != b.key ? a.key < b.key : a.recno < b.recno;
        }));
        EXPECT_EQ(enginetest::walkBackward(index, tag), forward);
        std::set<std::uint32_t> records;
        for (const CdxEntry& e : forward)
            records.insert(e.recno);
        EXPECT_EQ(records.size(), GetParam().rows);
        EXPECT_EQ(*records.rbegin(), GetParam().rows);
    }
}

TEST_P(CdxForeignFile, PathKeysAreTheUpperCasedPaths) {
    CdxMemoryFile file = copy();
    CdxIndex index(file);
    std::vector<std::string> rows = paths(GetParam().dir);
    ASSERT_EQ(rows.size(), GetParam().rows);
    for (const CdxEntry& e : enginetest::walkForward(index, 1)) {
        std::string path = rows[e.recno - 1];
        if (path.find("ё") != std::string::npos)
            continue; // the other writer leaves this letter in lower case
        EXPECT_EQ(e.key, enginetest::padded(engine::upperOem(*engine::cp866FromUtf8(path)), 240)) << e.recno;
    }
}

TEST_P(CdxForeignFile, PrefixSeekFindsTheKnownRecord) {
    CdxMemoryFile file = copy();
    CdxIndex index(file);
    auto found = index.seek(1, *engine::cp866FromUtf8(GetParam().pathPrefix));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->recno, GetParam().prefixRecord);
}

TEST_P(CdxForeignFile, ChangesKeepTheFileSound) {
    CdxMemoryFile file = copy();
    CdxIndex index(file);
    std::uint32_t rows = static_cast<std::uint32_t>(GetParam().rows);
    for (std::uint32_t r = rows + 1; r <= rows + 120; ++r) {
        index.insert(0, "NEW NAME " + std::to_string(r % 17), r);
        index.insert(1, "C:\\BASES\\NEW\\" + std::string(r % 50, 'X') + std::to_string(r), r);
    }
    ASSERT_EQ(index.check(), "");
    for (std::uint32_t r = 1; r <= rows; r += 2) {
        ASSERT_TRUE(index.removeRecord(0, r)) << r;
        ASSERT_TRUE(index.removeRecord(1, r)) << r;
    }
    ASSERT_EQ(index.check(), "");
    std::uint64_t left = rows / 2 + 120;
    EXPECT_EQ(index.count(0), left);
    EXPECT_EQ(index.count(1), left);
    EXPECT_EQ(enginetest::walkForward(index, 1).size(), left);
    CdxIndex reopened(file);
    EXPECT_EQ(reopened.check(), "");
}

INSTANTIATE_TEST_SUITE_P(Folders, CdxForeignFile,
                         ::testing::Values(Folder{"small", 7, "C:\\БАЗЫ\\З", 2},
                                           Folder{"large", 1000, "C:\\БАЗЫ\\ОПТ", 435}),
                         [](const auto& folder) { return std::string(folder.param.dir); });

} // namespace
