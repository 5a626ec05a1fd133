#pragma once
#include <functional>
#include <string>
#include <vector>

// The start-up of the running instance as an ordered list of steps. A step whose error escapes
// is reported through the general error report and start-up goes on with the next step, so a
// table that cannot be opened never stops the program.
namespace app {

struct StartupStep {
    std::string name; // for tests and for reading the order
    std::function<void()> run;
};

// Runs every step in order; each escaping error's text goes to report. Returns the number of
// steps that failed.
int runStartupSteps(const std::vector<StartupStep>& steps, const std::function<void(const std::string&)>& report);

} // namespace app
