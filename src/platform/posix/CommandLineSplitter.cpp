#include "platform/posix/CommandLineSplitter.h"

namespace platform {

std::vector<std::string> splitCommandLine(const std::string& arguments) {
    std::vector<std::string> argv;
    std::string current;
    bool inArgument = false; // also true for an argument made only of quotes
    bool quoted = false;
    for (const char c : arguments) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument)
                argv.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else {
            current.push_back(c);
            inArgument = true;
        }
    }
    if (inArgument)
        argv.push_back(std::move(current));
    return argv;
}

} // namespace platform
