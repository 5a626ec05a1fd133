#pragma once
#include <string>

namespace platform {

// Starting programs and opening directories. Failures are silent: callers never learn whether
// anything started.
class Shell {
public:
    virtual ~Shell() = default;
    // Starts the program (a Windows path, or an absolute Unix path found in data written
    // elsewhere) with the argument string, detached, in the program's current directory.
    // password: the plain password the argument string carries after " /p" (empty: none); the
    // program receives it, but it is kept out of what other users can see of the process.
    virtual void runProgram(const std::string& program, const std::string& arguments, const std::string& password) = 0;
    // Opens a directory (a Windows path) in a file-manager window; explore = with a folder tree.
    virtual void openDirectory(const std::string& directory, bool explore) = 0;
};

} // namespace platform
