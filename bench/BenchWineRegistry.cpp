// The registry of a Wine prefix as the Titles helpers use it, with and without a running Wine
// server: the time of a read (TitleExists: open the Titles key, look for a value) and of a write
// (TitleWrite). Prints the median of several runs of each, in milliseconds.
//
//   bench_wine_registry              a fresh prefix made by wineboot in a temporary directory
//   bench_wine_registry --prefix DIR an existing prefix (its Titles key must exist)
#include "app/Common.h"
#include "platform/posix/ProcessLauncher.h"
#include "platform/posix/WineBridge.h"
#include "platform/posix/WinePrefix.h"
#include "platform/posix/WineRegistry.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using platform::ProcessLauncher;

namespace {

int run(std::vector<std::string> argv) {
    argv[0] = ProcessLauncher::findOnPath(argv[0]);
    return argv[0].empty() ? -1
                           : ProcessLauncher::runWithTimeout(argv, ProcessLauncher::currentEnvironment(),
                                                             std::chrono::seconds(300));
}

double medianMs(int runs, const std::function<void(int)>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work(i);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    std::string prefix;
    fs::path temporary;
    if (argc == 3 && std::string(argv[1]) == "--prefix") {
        prefix = argv[2];
    } else {
        temporary = fs::temp_directory_path() / ("bench-wine-" + std::to_string(getpid()));
        prefix = (temporary / "prefix").string();
        fs::create_directories(temporary);
    }
    setenv("WINEPREFIX", prefix.c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
    if (!temporary.empty()) {
        std::printf("making a prefix with wineboot...\n");
        if (run({"wineboot", "-i"}) != 0)
            return 1;
        run({"wine", "reg", "add", "HKCU\\Software\\1C\\1Cv7\\7.7\\Titles", "/f"});
    }
    run({"wineserver", "-k"});
    run({"wineserver", "-w"});

    platform::WineBridge bridge(prefix, TARVESK_BRIDGE_DIR);
    platform::WineRegistry registry(prefix, bridge);
    const int runs = 15;
    for (const bool server : {false, true}) {
        if (server) {
            run({"wineserver", "-p"});
            while (!platform::WinePrefix::serverRunning(prefix))
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        const double read = medianMs(runs, [&](int) { app::TitleExists(registry, "C:\\Bases\\Bench\\"); });
        const double write = medianMs(
            runs, [&](int i) { app::TitleWrite(registry, "C:\\Bases\\Bench" + std::to_string(i) + "\\", "Bench"); });
        std::printf("%-22s read (TitleExists) %7.2f ms   write (TitleWrite) %7.2f ms   (median of %d)\n",
                    server ? "with a Wine server:" : "without a server:", read, write, runs);
    }
    run({"wineserver", "-k"});
    run({"wineserver", "-w"});
    if (!temporary.empty())
        fs::remove_all(temporary);
    return 0;
}
