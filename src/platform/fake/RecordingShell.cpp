#include "platform/fake/RecordingShell.h"

namespace platform {

void RecordingShell::runProgram(const std::string& program, const std::string& arguments, const std::string& password) {
    m_runs.push_back({program, arguments, password});
}

void RecordingShell::openDirectory(const std::string& directory, bool explore) {
    m_opens.push_back({directory, explore});
}

void RecordingShell::clear() {
    m_runs.clear();
    m_opens.clear();
}

} // namespace platform
