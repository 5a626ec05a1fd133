#pragma once
#include <chrono>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace platform {

// Starting processes without a shell (posix_spawn). Children get standard input from /dev/null
// or from a pipe that already holds all of their input, default signal handling, an empty signal
// mask and none of the parent's other descriptors.
class ProcessLauncher {
public:
    using Environment = std::vector<std::string>; // "NAME=value" entries

    // Starts argv[0] (a path) detached in its own session and returns its pid, or -1 when it could
    // not be started. A background thread reaps the child when it ends, so no zombie remains.
    // input goes to the child's standard input through a pipe, written before the child starts,
    // so nothing waits for the child to read it and it is never in a file; -1 when it does not fit
    // into a pipe (about a megabyte).
    static pid_t spawnDetached(const std::vector<std::string>& argv, const Environment& environment,
                               const std::string& input = {});
    // Runs argv[0] (a path) with output to /dev/null and waits at most timeout; a child still
    // running then is killed with its process group. The exit code, or -1 when it did not start,
    // was killed or died of a signal.
    static int runWithTimeout(const std::vector<std::string>& argv, const Environment& environment,
                              std::chrono::milliseconds timeout);

    struct Finished {
        int exitCode = -1;  // as runWithTimeout gives it
        std::string output; // what the child wrote to its standard output
    };
    // As runWithTimeout, with input on the child's standard input (as spawnDetached gives it) and
    // its standard output collected.
    static Finished runWithInput(const std::vector<std::string>& argv, const Environment& environment,
                                 const std::string& input, std::chrono::milliseconds timeout);

    // The process's environment with the given variables set or replaced.
    static Environment currentEnvironment(const std::vector<std::pair<std::string, std::string>>& overrides = {});
    // Full path of an executable file found through $PATH (a name containing "/" is checked as
    // given); empty when there is none.
    static std::string findOnPath(const std::string& name);
};

} // namespace platform
