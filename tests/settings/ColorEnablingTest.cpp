#include "settings/ColorEnabling.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// The rule as a map control -> enabled; controls the rule leaves alone are absent.
std::map<std::string, bool> rule(int form, int bars, int button) {
    std::map<std::string, bool> result;
    for (const auto& e : settings::colorEnabling(form, bars, button))
        result[std::string(e.control)] = e.enabled;
    return result;
}

TEST(ColorEnablingTest, RuleTablePerGroup) {
    using M = std::map<std::string, bool>;
    struct Case {
        const char* name;
        int form, bars, button;
        M expected;
    };
    const Case cases[] = {
        {"StandardEverywhere", 0, 0, 0,
         M{{"cbnDefaultForm", false},
           {"cbnColorForm", false},
           {"cbnSimple", false},
           {"cbnFrom", false},
           {"cbnTo", false},
           {"cbnButtonColor", false}}},
        {"DefaultFormSimpleBarsColourButtons", 1, 1, 1,
         M{{"cbnDefaultForm", true},
           {"cbnColorForm", false},
           {"cbnSimple", true},
           {"cbnFrom", false},
           {"cbnTo", false},
           {"cbnButtonColor", false}}},
        {"ColorFormGradientSimpleButtons", 2, 2, 2,
         M{{"cbnDefaultForm", false},
           {"cbnColorForm", true},
           {"cbnSimple", false},
           {"cbnFrom", true},
           {"cbnTo", true},
           {"cbnButtonColor", true}}},
        // A form or bar group with no radio ticked leaves its controls; the button group disables.
        {"NoneTicked", -1, -1, -1, M{{"cbnButtonColor", false}}},
        {"OnlyBarsTicked", -1, 2, -1,
         M{{"cbnSimple", false}, {"cbnFrom", true}, {"cbnTo", true}, {"cbnButtonColor", false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rule(c.form, c.bars, c.button), c.expected);
    }
}

} // namespace
