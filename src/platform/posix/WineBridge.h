#pragma once
#include "platform/posix/ProcessLauncher.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace platform {

// Starts the Windows-side helper (tarvesk-bridge32.exe, tarvesk-bridge64.exe, built from
// src/platform/bridge) through "wine" from $PATH in a prefix. The helper does what a Linux process
// cannot: it hands a Windows program its command line exactly, and reads and writes the registry
// of the running Wine server. Requests go to its standard input, never into its argv or
// environment, where other users could read them.
class WineBridge {
public:
    using Variables = std::vector<std::pair<std::string, std::string>>;

    // directory: where the two helper files are.
    WineBridge(std::string prefix, std::string directory);

    // Where an installed or built program keeps the helpers: beside the running executable, else
    // in ../lib/tarvesk from it.
    static std::string defaultDirectory();

    // Path of the helper of that word size; empty when it is missing.
    std::string file(bool sixtyFour) const;
    // Starts the helper detached with the request and the given variables added to the
    // environment; its pid, or -1 when nothing started (no wine, no helper).
    pid_t start(const std::string& request, bool sixtyFour, const Variables& variables) const;
    // Runs a helper with the request and returns its answer; std::nullopt when it could not run,
    // failed or took too long. The 32-bit helper is tried first (Debian's "wine" starts it without
    // a second exec, three times faster), the 64-bit one when that fails (no 32-bit Wine); the
    // one that worked is kept. Requests must therefore be safe to repeat.
    std::optional<std::string> exchange(const std::string& request) const;

    const std::string& prefix() const { return m_prefix; }

private:
    std::vector<std::string> argv(bool sixtyFour) const;
    ProcessLauncher::Environment environment(Variables variables) const;

    std::string m_prefix;
    std::string m_directory;
    mutable int m_exchangeBits = 0; // 32 or 64 once one has worked
};

} // namespace platform
