// Fuzz target of the compound index: the input is an index file image. It is opened, every tag is
// walked forwards and backwards, changed a little, and the file is checked; damage must surface
// as EngineError.
#include "CdxMemoryFile.h"
#include "engine/CdxIndex.h"
#include "engine/EngineError.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Walks stop after this many steps: a damaged tree may hold more entries than the walk needs.
constexpr int kMaxSteps = 100000;

void walk(engine::CdxIndex& index, int tag) {
    int steps = 0;
    for (auto e = index.first(tag); e && steps < kMaxSteps; e = index.next(tag, *e))
        ++steps;
    steps = 0;
    for (auto e = index.last(tag); e && steps < kMaxSteps; e = index.prior(tag, *e))
        ++steps;
    index.count(tag);
    index.seek(tag, "A");
}

void change(engine::CdxIndex& index, int tag) {
    index.insert(tag, "A", 7);
    index.insert(tag, "ZZ", 0x12345678);
    index.remove(tag, "A", 7);
    index.removeRecord(tag, 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    enginetest::CdxMemoryFile file(std::string(reinterpret_cast<const char*>(data), size), "fuzz.cdx");
    try {
        engine::CdxIndex index(file);
        for (int tag = 0; tag < static_cast<int>(index.tags().size()); ++tag) {
            try {
                walk(index, tag);
            } catch (const engine::EngineError&) {
            }
            try {
                change(index, tag);
            } catch (const engine::EngineError&) {
            }
        }
        index.check();
    } catch (const engine::EngineError&) {
    }
    return 0;
}
