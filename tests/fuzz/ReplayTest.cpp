// A fuzz target over its seed corpus, in the ordinary suite: the binary links one target, named
// with its corpus folder at build time.
#include <gtest/gtest.h>

#include "support/FuzzReplay.h"

TEST(FuzzReplay, TheSeedCorpusRunsClean) {
    EXPECT_GE(testsupport::replayFuzzInputs(LLVMFuzzerTestOneInput, {TARVESK_FUZZ_CORPUS}), 3u);
}
