#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// Runs the index fuzz target over its seed corpus and the broken-file fixtures, as the fuzzer
// would: every input must return normally.
TEST(CdxFuzzReplay, SeedCorpusAndFixturesRunCleanly) {
    std::size_t inputs = 0;
    for (const std::filesystem::path& dir :
         {std::filesystem::path(TARVESK_FUZZ_CORPUS) / "cdx", testsupport::testFixture("cdx")}) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            std::string bytes = testsupport::readFile(entry.path());
            SCOPED_TRACE(entry.path().string());
            EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
            ++inputs;
        }
    }
    EXPECT_GE(inputs, 5u);
}

} // namespace
