#include "support/FakeWine.h"

#include "support/TempDir.h"

#include <sstream>
#include <thread>

namespace testsupport {

void writeFakeWine(const std::filesystem::path& script, const std::filesystem::path& log) {
    writeFile(script,
              "#!/bin/sh\n"
              "line=\n"
              "for a in \"$@\"; do line=\"$line[${a##*/}]\"; done\n"
              "request=$(tr '\\000' '\\n' | while IFS= read -r f; do printf '{%s}' \"$f\"; done)\n"
              "printf '%s%s WINEPREFIX=%s LC_ALL=%s\\n' \"$line\" \"$request\" \"$WINEPREFIX\" \"$LC_ALL\" >> '" +
                  log.string() + "'\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
}

std::vector<std::string> fakeWineStarts(const std::filesystem::path& log, std::size_t count,
                                        std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::vector<std::string> lines;
    for (;;) {
        lines.clear();
        std::istringstream in(readFile(log));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        if (lines.size() >= count || std::chrono::steady_clock::now() >= deadline)
            return lines;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string bridgeDirectory() {
    return TARVESK_BRIDGE_DIR;
}

} // namespace testsupport
