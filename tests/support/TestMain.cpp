#include <cstdlib>
#include <gtest/gtest.h>

// Shared entry of every test binary. Window tests need a platform plugin that works without a
// display; set it before any Qt object exists, also when CTest runs the binary for discovery.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
