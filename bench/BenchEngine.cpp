// Benchmark of the table engine on the program's infobase table with both tags: appends, random
// seeks on PATH, Locate by PATH without an index, a filter scan with the both-bars expression and
// a full reindex, at 10^4 and 10^5 rows (10^6 with --million). Prints rows per second and sizes.
//
//   build/bench/bench_engine [--million] [--dir DIRECTORY]
#include "engine/CodePage.h"
#include "engine/DataSet.h"
#include "engine/Engine.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::vector<engine::FieldDef> folderFields() {
    using engine::FieldType;
    return {{"NAME", FieldType::Character, 40, 0},      {"PATH", FieldType::Character, 240, 0},
            {"USERNAME", FieldType::Character, 24, 0},  {"PASSWORD", FieldType::Character, 10, 0},
            {"USERPATH", FieldType::Character, 240, 0}, {"PRMFILE", FieldType::Character, 240, 0},
            {"CATEGORY", FieldType::Numeric, 6, 0},     {"DIVISION", FieldType::Numeric, 6, 0}};
}

std::string pathOf(std::uint32_t i) {
    static const char* parts[] = {"Бухгалтерия", "Trade", "Склад", "Зарплата", "Demo", "Опт"};
    return "C:\\Базы\\" + std::string(parts[i % 6]) + "\\" + std::to_string(i * 2654435761u % 1000003u) + "\\";
}

double seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void report(const char* phase, double count, double elapsed, const char* unit = "rows") {
    std::printf("  %-34s %10.0f %s/s  (%.2f s)\n", phase, count / elapsed, unit, elapsed);
}

void run(const std::filesystem::path& dir, std::uint32_t rows) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    engine::Engine engine(dir.string());
    engine.createTable("folder", folderFields());
    engine::DataSet ds(engine, "folder");
    ds.open({.exclusive = true, .withIndex = false});
    ds.createIndex({{"NAME", "UPPER(NAME)"}, {"PATH", "UPPER(PATH)"}});
    ds.close();
    ds.open(); // shared, as the program uses it

    std::printf("%u rows\n", rows);
    std::mt19937 random(42);
    auto start = Clock::now();
    for (std::uint32_t i = 0; i < rows; ++i) {
        ds.insert();
        ds.setFieldText("NAME", "Информационная база " + std::to_string(random() % 1000000));
        ds.setFieldText("PATH", pathOf(i));
        ds.setFieldText("USERNAME", "Администратор");
        ds.setFieldInt("CATEGORY", 1 + i % 10);
        ds.setFieldInt("DIVISION", 1 + i % 7);
        ds.post();
    }
    report("append with both tags", rows, seconds(start));

    ds.selectTag("PATH");
    start = Clock::now();
    std::uint32_t found = 0;
    for (std::uint32_t i = 0; i < rows; ++i) {
        std::string path = engine::upperUtf8(pathOf(static_cast<std::uint32_t>(random() % rows)));
        found += ds.seek(path) ? 1 : 0;
    }
    report("random seeks on PATH", rows, seconds(start), "seeks");

    engine::DataSet search(engine, "folder");
    search.open({.withIndex = false});
    const std::uint32_t locates = 50;
    start = Clock::now();
    std::uint64_t scanned = 0;
    for (std::uint32_t i = 0; i < locates; ++i) {
        std::uint32_t target = static_cast<std::uint32_t>(random() % rows);
        if (search.locate("PATH", pathOf(target), true))
            scanned += search.recno();
    }
    double elapsed = seconds(start);
    report("Locate by PATH without index", static_cast<double>(scanned), elapsed, "rows scanned");
    report("", locates, elapsed, "locates");

    ds.selectTag("NAME");
    ds.setFilter("CATEGORY=4 .AND. DIVISION=5 .AND. CATEGORY>0 .AND. DIVISION>0");
    ds.setFiltered(true);
    start = Clock::now();
    std::uint32_t shown = 0;
    for (ds.first(); !ds.eof(); ds.next())
        ++shown;
    report("filter scan (both bars), tag order", rows, seconds(start));
    ds.setFiltered(false);
    search.setFilter("CATEGORY=4 .AND. DIVISION=5 .AND. CATEGORY>0 .AND. DIVISION>0");
    search.setFiltered(true);
    start = Clock::now();
    for (search.first(); !search.eof(); search.next())
        ;
    report("filter scan (both bars), record order", rows, seconds(start));

    start = Clock::now();
    ds.reindex();
    report("reindex", rows, seconds(start));

    std::printf("  seeks found %u of %u, filter shows %u rows\n", found, rows, shown);
    std::printf("  folder.dbf %ju bytes, folder.cdx %ju bytes\n",
                static_cast<std::uintmax_t>(std::filesystem::file_size(dir / "folder.dbf")),
                static_cast<std::uintmax_t>(std::filesystem::file_size(dir / "folder.cdx")));
}

} // namespace

int main(int argc, char** argv) {
    bool million = false;
    std::filesystem::path base = std::filesystem::temp_directory_path() / "tarvesk-bench-engine";
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--million")
            million = true;
        else if (a == "--dir" && i + 1 < argc)
            base = argv[++i];
        else {
            std::fprintf(stderr, "usage: bench_engine [--million] [--dir DIRECTORY]\n");
            return 2;
        }
    }
    try {
        std::vector<std::uint32_t> sizes{10000, 100000};
        if (million)
            sizes.push_back(1000000);
        for (std::uint32_t rows : sizes)
            run(base / std::to_string(rows), rows);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_engine: %s\n", e.what());
        return 1;
    }
    std::filesystem::remove_all(base);
    return 0;
}
