// The engine on the workload used to compare it with other FoxPro-compatible engines: an empty
// table folder with tags NAME on UPPER(NAME) and PATH on UPPER(PATH), opened shared; N appends in a
// shuffled order of k = 1..N (fixed seed), NAME "Base k", PATH "C:\BASES\B" + k in 7 digits + "\",
// each committed and unlocked before the next; then N seeks of random full PATH keys on tag PATH;
// then a reindex. Prints seconds per phase and the index size after the appends and after the
// reindex, for N = 10,000 and 100,000.
//
//   build/bench/bench_workload [--dir DIRECTORY] [N ...]
#include "engine/DataSet.h"
#include "engine/Engine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

std::string pathOf(std::uint32_t k) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%07u", k);
    return std::string("C:\\BASES\\B") + digits + "\\";
}

void run(const std::filesystem::path& dir, std::uint32_t n) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    engine::Engine engine(dir.string());
    engine.createTable("folder", {{"NAME", engine::FieldType::Character, 40, 0},
                                  {"PATH", engine::FieldType::Character, 240, 0},
                                  {"USERNAME", engine::FieldType::Character, 24, 0},
                                  {"PASSWORD", engine::FieldType::Character, 10, 0},
                                  {"USERPATH", engine::FieldType::Character, 240, 0},
                                  {"PRMFILE", engine::FieldType::Character, 240, 0},
                                  {"CATEGORY", engine::FieldType::Numeric, 6, 0},
                                  {"DIVISION", engine::FieldType::Numeric, 6, 0}});
    {
        engine::DataSet create(engine, "folder");
        create.open({.exclusive = true, .withIndex = false});
        create.createIndex({{"NAME", "UPPER(NAME)"}, {"PATH", "UPPER(PATH)"}});
    }
    engine::DataSet ds(engine, "folder");
    ds.open({.exclusive = false, .withIndex = true});

    std::vector<std::uint32_t> order(n);
    std::iota(order.begin(), order.end(), 1u);
    std::mt19937 random(20261211);
    std::shuffle(order.begin(), order.end(), random);

    auto start = Clock::now();
    for (const std::uint32_t k : order) {
        ds.insert();
        ds.setFieldText("NAME", "Base " + std::to_string(k));
        ds.setFieldText("PATH", pathOf(k));
        ds.post();
    }
    const double appends = seconds(start);
    const auto afterAppends = std::filesystem::file_size(dir / "folder.cdx");

    ds.selectTag("PATH");
    std::uint32_t found = 0;
    start = Clock::now();
    for (std::uint32_t i = 0; i < n; ++i)
        found += ds.seek(pathOf(1 + static_cast<std::uint32_t>(random() % n))) ? 1 : 0;
    const double seeks = seconds(start);

    start = Clock::now();
    ds.reindex();
    const double reindex = seconds(start);
    const auto afterReindex = std::filesystem::file_size(dir / "folder.cdx");

    std::printf("%7u rows: appends %.2f s, seeks %.2f s (%u found), reindex %.3f s; folder.cdx %ju bytes after "
                "the appends, %ju after the reindex\n",
                n, appends, seeks, found, reindex, static_cast<std::uintmax_t>(afterAppends),
                static_cast<std::uintmax_t>(afterReindex));
}

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path base = std::filesystem::temp_directory_path() / "tarvesk-bench-workload";
    std::vector<std::uint32_t> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--dir" && i + 1 < argc)
            base = argv[++i];
        else
            sizes.push_back(static_cast<std::uint32_t>(std::stoul(a)));
    }
    if (sizes.empty())
        sizes = {10000, 100000};
    try {
        for (std::uint32_t n : sizes)
            run(base / std::to_string(n), n);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_workload: %s\n", e.what());
        return 1;
    }
    std::filesystem::remove_all(base);
    return 0;
}
