#include "support/FuzzReplay.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

std::size_t replayFuzzInputs(FuzzTarget target, const std::vector<std::filesystem::path>& folders) {
    std::size_t inputs = 0;
    for (const auto& folder : folders) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string bytes = readFile(entry.path());
            SCOPED_TRACE(entry.path().string());
            EXPECT_EQ(target(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
            ++inputs;
        }
    }
    return inputs;
}

} // namespace testsupport
