#include "support/FuzzReplay.h"

#include <gtest/gtest.h>

namespace {

// Runs the table fuzz target over its seed corpus as the fuzzer would: every input must return
// normally.
TEST(DbfFuzzReplay, SeedCorpusRunsCleanly) {
    const std::size_t inputs =
        testsupport::replayFuzzInputs(LLVMFuzzerTestOneInput, {std::filesystem::path(TARVESK_FUZZ_CORPUS) / "dbf"});
    EXPECT_GE(inputs, 5u);
}

} // namespace
