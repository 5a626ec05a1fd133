#include "settings/ErrorReport.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorReportTest, FullStopAfterALastCharacterSortingAfterIt) {
    struct Case {
        const char* message;
        const char* shown;
    };
    const Case cases[] = {
        {"Unable to write to /home/u/Tarvesk.ini", "Unable to write to /home/u/Tarvesk.ini."},
        {"Done.", "Done."},
        {"Stop!", "Stop!"},       // '!' sorts before '.'
        {"Why?", "Why?."},        // '?' sorts after it
        {"Путь (1)", "Путь (1)"}, // ')' sorts before '.'
        {"Ошибка", "Ошибка."},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(settings::errorReportText(c.message), QString::fromUtf8(c.shown)) << c.message;
}

} // namespace
