#include "platform/posix/CommandLineSplitter.h"

#include <gtest/gtest.h>

TEST(CommandLineSplitter, SplitsLikeTheProgramReadsItsCommandLine) {
    using Args = std::vector<std::string>;
    const struct {
        std::string line;
        Args argv;
    } cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"enterprise", {"enterprise"}},
        {R"(/d"C:\Bases\Trade 2")", {R"(/dC:\Bases\Trade 2)"}},
        // The backslash before the closing quote is a plain character: the switches after it stay.
        {R"(enterprise /d"C:\My Bases\Trade\" /m /nUser)", {"enterprise", R"(/dC:\My Bases\Trade\)", "/m", "/nUser"}},
        {R"("")", {""}},
        {R"(a "" b)", {"a", "", "b"}},
        {"a b   ", {"a", "b"}},
        {"  a  b", {"a", "b"}},
        {"a\tb\t\"c\td\"", {"a", "b", "c\td"}},
        {R"(a"b c"d)", {"ab cd"}},
        {R"(\\server\share \"x)", {R"(\\server\share)", R"(\x)"}},
        {R"(/d"C:\Open end)", {R"(/dC:\Open end)"}},
        {"config /p\"pass word\" /n\"Иванов\"", {"config", "/ppass word", "/nИванов"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::splitCommandLine(c.line), c.argv) << "line: [" << c.line << "]";
}
