#include "CdxMemoryFile.h"
#include "CdxTestUtil.h"
#include "engine/CdxIndex.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using engine::CdxEntry;
using engine::CdxIndex;
using enginetest::CdxMemoryFile;

namespace {

struct EntryOrder {
    bool operator()(const CdxEntry& a, const CdxEntry& b) const {
        return a.key != b.key ? a.key < b.key : a.recno < b.recno;
    }
};
using Model = std::multiset<CdxEntry, EntryOrder>;

struct Shape {
    const char* name;
    std::uint16_t keyLength;
    char pad;
    std::size_t maxText;  // longest random text of a key
    std::string alphabet; // few letters: many shared prefixes and repeated keys
    int operations;
    std::size_t minDepth; // the tree must have reached this depth at its largest
};

class CdxProperty : public ::testing::TestWithParam<Shape> {
protected:
    std::string randomKey() {
        const Shape& s = GetParam();
        std::string key = m_rng() % 4 == 0 ? std::string() : std::string("C:\\BASES\\");
        std::size_t length = m_rng() % (s.maxText + 1);
        for (std::size_t i = 0; i < length && key.size() < s.keyLength; ++i)
            key += s.alphabet[m_rng() % s.alphabet.size()];
        key.resize(s.keyLength, s.pad);
        return key;
    }

    void expectSame(CdxIndex& index, const Model& model) {
        std::vector<CdxEntry> expected(model.begin(), model.end());
        ASSERT_EQ(index.check(), "");
        ASSERT_EQ(index.count(0), expected.size());
        ASSERT_EQ(enginetest::walkForward(index, 0), expected);
        ASSERT_EQ(enginetest::walkBackward(index, 0), expected);
        for (int i = 0; i < 5; ++i) {
            std::string prefix = randomKey().substr(0, 1 + m_rng() % 12);
            auto it = std::find_if(model.begin(), model.end(),
                                   [&](const CdxEntry& e) { return e.key.compare(0, prefix.size(), prefix) == 0; });
            auto found = index.seek(0, prefix);
            ASSERT_EQ(found.has_value(), it != model.end()) << prefix;
            if (found) {
                ASSERT_EQ(*found, *it);
            }
        }
    }

    std::mt19937 m_rng{20240611};
};

TEST_P(CdxProperty, RandomChangesMatchAMultiset) {
    const Shape& s = GetParam();
    CdxMemoryFile file;
    CdxIndex::create(file, {{"T", "T", s.keyLength, s.pad}});
    CdxIndex index(file);
    index.setPad(0, s.pad);
    Model model;
    std::uint32_t nextRecno = 1;
    std::size_t deepest = 0;
    for (int op = 1; op <= s.operations; ++op) {
        // Grow for the first half, shrink for the second, so both splits and merges happen.
        bool growing = op < s.operations / 2;
        unsigned roll = m_rng() % 10;
        if (model.empty() || roll < (growing ? 7u : 3u)) {
            CdxEntry e{randomKey(), nextRecno++};
            if (!model.empty() && m_rng() % 5 == 0)
                e.key = std::next(model.begin(), static_cast<long>(m_rng() % model.size()))->key; // repeated key
            index.insert(0, e.key, e.recno);
            model.insert(e);
        } else if (roll == 9) {
            CdxEntry missing{randomKey(), nextRecno + 1000};
            ASSERT_FALSE(index.remove(0, missing.key, missing.recno));
        } else {
            auto victim = std::next(model.begin(), static_cast<long>(m_rng() % model.size()));
            if (roll % 2 == 0)
                ASSERT_TRUE(index.removeRecord(0, victim->recno));
            else
                ASSERT_TRUE(index.remove(0, victim->key, victim->recno));
            model.erase(victim);
        }
        deepest = std::max(deepest, index.depth(0));
        if (op % 97 == 0 || op == s.operations) {
            ASSERT_NO_FATAL_FAILURE(expectSame(index, model)) << "after operation " << op;
        }
    }
    EXPECT_GE(deepest, s.minDepth);
}

TEST_P(CdxProperty, RebuildGivesTheSameWalkAsInserts) {
    const Shape& s = GetParam();
    CdxMemoryFile inserted, rebuilt;
    for (CdxMemoryFile* f : {&inserted, &rebuilt})
        CdxIndex::create(*f, {{"T", "T", s.keyLength, s.pad}});
    CdxIndex a(inserted), b(rebuilt);
    a.setPad(0, s.pad);
    b.setPad(0, s.pad);
    std::vector<CdxEntry> entries;
    for (std::uint32_t r = 1; r <= static_cast<std::uint32_t>(s.operations / 2); ++r) {
        entries.push_back({randomKey(), r});
        a.insert(0, entries.back().key, r);
    }
    b.insert(0, randomKey(), 999999); // replaced by the rebuild
    b.rebuild(0, entries);
    EXPECT_EQ(b.check(), "");
    EXPECT_EQ(enginetest::walkForward(b, 0), enginetest::walkForward(a, 0));
    EXPECT_EQ(enginetest::walkBackward(b, 0), enginetest::walkForward(a, 0));
}

INSTANTIATE_TEST_SUITE_P(Shapes, CdxProperty,
                         ::testing::Values(Shape{"long_keys", 240, ' ', 230, "AB ", 3000, 6},
                                           Shape{"short_keys", 10, ' ', 10, "AAB", 4000, 2},
                                           Shape{"binary_keys", 8, '\0', 8, std::string("\0\x01\xFF", 3), 4000, 2},
                                           Shape{"mid_keys", 40, ' ', 40, "ABCDEFGH", 3000, 3}),
                         [](const auto& shape) { return std::string(shape.param.name); });

} // namespace
