// The fuzz target of the Wine registry files over its seed corpus, in the ordinary suite.
#include <gtest/gtest.h>

#include "support/FuzzReplay.h"

TEST(FuzzHiveReplay, CorpusRunsClean) {
    EXPECT_GE(testsupport::replayFuzzInputs(LLVMFuzzerTestOneInput, {TARVESK_HIVE_CORPUS}), 12u);
}
