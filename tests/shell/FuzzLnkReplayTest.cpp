// The fuzz target over its seed corpus, in the ordinary suite.
#include <gtest/gtest.h>

#include "support/FuzzReplay.h"

TEST(FuzzLnkReplay, CorpusRunsClean) {
    EXPECT_GE(testsupport::replayFuzzInputs(LLVMFuzzerTestOneInput, {TARVESK_LNK_CORPUS}), 5u);
}
