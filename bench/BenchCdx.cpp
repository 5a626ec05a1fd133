// Figures of the compound index: bulk rebuild, single insertions and seeks on a tag with 240-byte
// keys (paths, as the programs' PATH tag holds them), over an in-memory file.
#include "CdxMemoryFile.h"
#include "engine/CdxIndex.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

std::vector<engine::CdxEntry> pathEntries(std::size_t n) {
    static const char* const parts[] = {"БАЗЫ", "Торговля", "Склад", "Зарплата", "Филиал", "Архив", "2023", "Demo"};
    std::mt19937 rng(42);
    std::vector<engine::CdxEntry> entries;
    entries.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::string key = "C:\\";
        for (int depth = 0; depth < 3; ++depth)
            key += std::string(parts[rng() % 8]) + "\\";
        key += "B" + std::to_string(rng() % 1000000) + "\\";
        key.resize(240, ' ');
        entries.push_back({key, static_cast<std::uint32_t>(i + 1)});
    }
    return entries;
}

void BM_Rebuild(benchmark::State& state) {
    std::vector<engine::CdxEntry> entries = pathEntries(static_cast<std::size_t>(state.range(0)));
    enginetest::CdxMemoryFile file;
    engine::CdxIndex::create(file, {{"PATH", "UPPER(PATH)", 240, ' '}});
    engine::CdxIndex index(file);
    for (auto _ : state)
        index.rebuild(0, entries);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["file_MB"] = static_cast<double>(file.bytes().size()) / 1e6;
    state.counters["depth"] = static_cast<double>(index.depth(0));
}
BENCHMARK(BM_Rebuild)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_Insert(benchmark::State& state) {
    std::vector<engine::CdxEntry> entries = pathEntries(static_cast<std::size_t>(state.range(0)));
    enginetest::CdxMemoryFile file;
    engine::CdxIndex::create(file, {{"PATH", "UPPER(PATH)", 240, ' '}});
    engine::CdxIndex index(file);
    std::size_t i = 0;
    for (auto _ : state) {
        const engine::CdxEntry& e = entries[i++ % entries.size()];
        index.insert(0, e.key, e.recno + static_cast<std::uint32_t>(i / entries.size()) * 0x100000);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["depth"] = static_cast<double>(index.depth(0));
}
BENCHMARK(BM_Insert)->Arg(100000)->Iterations(100000)->Unit(benchmark::kMicrosecond);

void BM_Seek(benchmark::State& state) {
    std::vector<engine::CdxEntry> entries = pathEntries(static_cast<std::size_t>(state.range(0)));
    enginetest::CdxMemoryFile file;
    engine::CdxIndex::create(file, {{"PATH", "UPPER(PATH)", 240, ' '}});
    engine::CdxIndex index(file);
    index.rebuild(0, entries);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(index.seek(0, entries[(i++ * 7919) % entries.size()].key.substr(0, 20)));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Seek)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
