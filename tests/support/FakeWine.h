#pragma once
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// A "wine" for the tests of our own logic. Each start appends one line to the log: the file name
// of each argument in brackets, then each field of the helper request it read from its standard
// input in braces, e.g.
//   [tarvesk-bridge32.exe]{run}{C:\1C\1cv7.exe}{"C:\1C\1cv7.exe" enterprise /p1}{"C:\1C\1cv7.exe" enterprise /p }
// followed by " WINEPREFIX=..." and " LC_ALL=...". One write per start, so starts that overlap
// never mix their lines.
void writeFakeWine(const std::filesystem::path& script, const std::filesystem::path& log);
// The log's lines once it has at least count of them (or what is there after a generous wait).
std::vector<std::string> fakeWineStarts(const std::filesystem::path& log, std::size_t count,
                                        std::chrono::seconds limit = std::chrono::seconds(30));

// Where the build put the Wine helpers (tarvesk-bridge32.exe, tarvesk-bridge64.exe).
std::string bridgeDirectory();

} // namespace testsupport
