#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// Runs the table fuzz target over its seed corpus as the fuzzer would: every input must return
// normally.
TEST(DbfFuzzReplay, SeedCorpusRunsCleanly) {
    std::size_t inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(TARVESK_FUZZ_CORPUS) / "dbf")) {
        std::string bytes = testsupport::readFile(entry.path());
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
        ++inputs;
    }
    EXPECT_GE(inputs, 5u);
}

} // namespace
