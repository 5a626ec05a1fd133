#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

// The entry point of the fuzz target linked into a replay test.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace testsupport {

using FuzzTarget = int (*)(const std::uint8_t* data, std::size_t size);

// Runs the target over every file of the folders as the fuzzer would; a test failure names each
// input that does not return 0. Returns how many inputs ran, so a test can tell an empty corpus.
std::size_t replayFuzzInputs(FuzzTarget target, const std::vector<std::filesystem::path>& folders);

} // namespace testsupport
