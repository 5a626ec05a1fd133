#pragma once
#include "platform/Shell.h"

#include <string>
#include <utility>
#include <vector>

namespace platform {

// A shell that starts nothing and remembers every request, in order.
class RecordingShell : public Shell {
public:
    struct ProgramRun {
        ProgramRun(std::string program_, std::string arguments_, std::string password_ = {})
            : program(std::move(program_)), arguments(std::move(arguments_)), password(std::move(password_)) {}
        std::string program;
        std::string arguments;
        std::string password; // what the string carries after " /p"
        bool operator==(const ProgramRun&) const = default;
    };
    struct DirectoryOpen {
        std::string directory;
        bool explore = false;
        bool operator==(const DirectoryOpen&) const = default;
    };

    void runProgram(const std::string& program, const std::string& arguments, const std::string& password) override;
    void openDirectory(const std::string& directory, bool explore) override;

    const std::vector<ProgramRun>& programRuns() const { return m_runs; }
    const std::vector<DirectoryOpen>& directoryOpens() const { return m_opens; }
    void clear();

private:
    std::vector<ProgramRun> m_runs;
    std::vector<DirectoryOpen> m_opens;
};

} // namespace platform
