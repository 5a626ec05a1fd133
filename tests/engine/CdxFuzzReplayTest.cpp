#include "support/FuzzReplay.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// Runs the index fuzz target over its seed corpus and the broken-file fixtures, as the fuzzer
// would: every input must return normally.
TEST(CdxFuzzReplay, SeedCorpusAndFixturesRunCleanly) {
    const std::size_t inputs = testsupport::replayFuzzInputs(
        LLVMFuzzerTestOneInput, {std::filesystem::path(TARVESK_FUZZ_CORPUS) / "cdx", testsupport::testFixture("cdx")});
    EXPECT_GE(inputs, 5u);
}

} // namespace
