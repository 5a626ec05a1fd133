#pragma once
#include <chrono>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace platform {

// Starting processes without a shell (posix_spawn). Children get standard input from /dev/null,
// default signal handling, an empty signal mask and none of the parent's other descriptors.
class ProcessLauncher {
public:
    using Environment = std::vector<std::string>; // "NAME=value" entries

    // Starts argv[0] (a path) detached in its own session and returns its pid, or -1 when it could
    // not be started. A background thread reaps the child when it ends, so no zombie remains.
    static pid_t spawnDetached(const std::vector<std::string>& argv, const Environment& environment);
    // Runs argv[0] (a path) with output to /dev/null and waits at most timeout; a child still
    // running then is killed with its process group. The exit code, or -1 when it did not start,
    // was killed or died of a signal.
    static int runWithTimeout(const std::vector<std::string>& argv, const Environment& environment,
                              std::chrono::milliseconds timeout);

    // The process's environment with the given variables set or replaced.
    static Environment currentEnvironment(const std::vector<std::pair<std::string, std::string>>& overrides = {});
    // Full path of an executable file found through $PATH (a name containing "/" is checked as
    // given); empty when there is none.
    static std::string findOnPath(const std::string& name);
};

} // namespace platform
