#include "CdxMemoryFile.h"
#include "CdxTestUtil.h"
#include "engine/CdxIndex.h"
#include "engine/EngineError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using engine::CdxEntry;
using engine::CdxIndex;
using engine::EngineError;
using enginetest::CdxMemoryFile;

namespace {

enum class Stage { None, Open, Walk, Check };

// Opens the image, walks every tag both ways and checks it: the first stage that reports damage.
// Damage must come as EngineError with the damaged-file message, never as a crash or a hang.
Stage firstFailure(const std::string& bytes, std::string* message = nullptr) {
    CdxMemoryFile file(bytes, "broken.cdx");
    Stage stage = Stage::Open;
    try {
        CdxIndex index(file);
        stage = Stage::Walk;
        for (int tag = 0; tag < static_cast<int>(index.tags().size()); ++tag) {
            index.count(tag);
            enginetest::walkForward(index, tag);
            enginetest::walkBackward(index, tag);
        }
        std::string problem = index.check();
        if (message)
            *message = problem;
        return problem.empty() ? Stage::None : Stage::Check;
    } catch (const EngineError& e) {
        if (message)
            *message = e.what();
        return stage;
    }
}

std::string fixture(const std::string& name) {
    return testsupport::readFile(testsupport::testFixture("cdx/" + name));
}

TEST(CdxDamagedFile, EveryBrokenFixtureIsReportedAtTheRightStage) {
    struct Case {
        const char* file;
        Stage stage;
    };
    const Case cases[] = {
        {"truncated-inside-header.cdx", Stage::Open},
        {"garbage-header.cdx", Stage::Open},
        {"tag-key-length-zero.cdx", Stage::Open},
        {"tag-list-points-past-end.cdx", Stage::Open},
        {"truncated-before-last-leaves.cdx", Stage::Walk},
        {"root-pointer-past-end.cdx", Stage::Walk},
        {"child-pointer-past-end.cdx", Stage::Walk},
        {"child-pointer-unaligned.cdx", Stage::Walk},
        {"sibling-chain-cycle.cdx", Stage::Walk},
        {"interior-node-is-its-own-child.cdx", Stage::Walk},
        {"free-list-cycle.cdx", Stage::Check},
    };
    for (const Case& c : cases) {
        std::string bytes = fixture(c.file);
        ASSERT_FALSE(bytes.empty()) << c.file;
        std::string message;
        EXPECT_EQ(firstFailure(bytes, &message), c.stage) << c.file << ": " << message;
        EXPECT_EQ(message.rfind("Index file broken.cdx is damaged: ", 0), 0u) << c.file << ": " << message;
    }
}

TEST(CdxDamagedFile, TheSoundFileTheFixturesCameFromIsClean) {
    std::string bytes = fixture("sibling-chain-cycle.cdx");
    bytes.replace(0x1A00 + 8, 4, std::string(4, '\xFF')); // the link as it was
    EXPECT_EQ(firstFailure(bytes), Stage::None);
}

TEST(CdxDamagedFile, EveryTruncationIsNoticed) {
    CdxMemoryFile file;
    CdxIndex::create(file, {{"NAME", "NAME", 40, ' '}, {"PATH", "PATH", 240, ' '}});
    CdxIndex index(file);
    std::vector<CdxEntry> names, paths;
    for (std::uint32_t r = 1; r <= 300; ++r) {
        names.push_back({"NAME " + std::to_string(r * 7 % 300), r});
        paths.push_back({"C:\\BASES\\" + std::to_string(r * 13 % 300) + std::string(r % 90, 'P'), r});
    }
    index.rebuild(0, names);
    index.rebuild(1, paths);
    ASSERT_EQ(index.check(), "");
    const std::string& whole = file.bytes();
    for (std::size_t size = 0; size < whole.size(); size += size < 2048 ? 100 : 512)
        EXPECT_NE(firstFailure(whole.substr(0, size)), Stage::None) << "cut at " << size;
}

TEST(CdxDamagedFile, AFreeListLoopIsNotFollowedIntoLiveNodes) {
    CdxMemoryFile file(fixture("free-list-cycle.cdx"));
    CdxIndex index(file);
    std::vector<CdxEntry> before = enginetest::walkForward(index, 0);
    for (std::uint32_t r = 100; r < 140; ++r)
        index.insert(1, "C:\\NEW\\" + std::to_string(r) + std::string(150, 'N'), r);
    EXPECT_EQ(enginetest::walkForward(index, 0), before);
    EXPECT_EQ(index.count(1), 43u);
    EXPECT_EQ(enginetest::walkBackward(index, 1).size(), 43u);
    EXPECT_EQ(index.check(), ""); // the looping list was dropped
}

TEST(CdxDamagedFile, RandomByteDamageNeverCrashes) {
    std::string sound = fixture("sibling-chain-cycle.cdx");
    sound.replace(0x1A00 + 8, 4, std::string(4, '\xFF'));
    std::uint32_t seed = 12345;
    for (int round = 0; round < 300; ++round) {
        std::string bytes = sound;
        for (int i = 0; i < 4; ++i) {
            seed = seed * 1103515245 + 12345;
            std::size_t at = (seed >> 8) % bytes.size();
            bytes[at] = static_cast<char>(seed >> 24);
        }
        firstFailure(bytes); // any stage, as long as it returns
    }
}

} // namespace
