// The fuzz target over its seed corpus, in the ordinary suite.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "support/TempDir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

TEST(FuzzLnkReplay, CorpusRunsClean) {
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TARVESK_LNK_CORPUS)) {
        const auto bytes = testsupport::readFile(entry.path());
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
        ++files;
    }
    EXPECT_GE(files, 5u);
}
