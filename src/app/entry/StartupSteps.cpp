#include "app/entry/StartupSteps.h"

#include <exception>

namespace app {

int runStartupSteps(const std::vector<StartupStep>& steps, const std::function<void(const std::string&)>& report) {
    int failed = 0;
    for (const StartupStep& step : steps) {
        try {
            step.run();
        } catch (const std::exception& error) {
            ++failed;
            if (report)
                report(error.what());
        } catch (...) {
            ++failed;
            if (report)
                report("Unknown error");
        }
    }
    return failed;
}

} // namespace app
