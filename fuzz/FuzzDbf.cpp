// Fuzz target of the table engine: the input is a table and its index, as a little-endian 32-bit
// length of the table's bytes, those bytes, then the index file's bytes (none: no index). The
// pair is opened through a data set, every tag and the record order are walked both ways, sought,
// located, filtered, checked, changed a little and checked again; damage must surface as
// EngineError.
#include "engine/DataSet.h"
#include "engine/EngineError.h"
#include "engine/EngineImpl.h"
#include "engine/MemoryFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Walks stop after this many steps: a damaged index may hold more keys than rows.
constexpr int kMaxSteps = 20000;

void walk(engine::DataSet& ds) {
    int steps = 0;
    for (ds.first(); !ds.eof() && steps < kMaxSteps; ds.next(), ++steps)
        for (const engine::FieldDef& f : ds.fields()) {
            ds.fieldText(f.name);
            ds.fieldInt(f.name);
        }
    steps = 0;
    for (ds.last(); !ds.bof() && steps < kMaxSteps; ds.prior(), ++steps)
        ds.recno();
}

template <class F> void attempt(F&& f) {
    try {
        f();
    } catch (const engine::EngineError&) {
    }
}

void exercise(engine::DataSet& ds) {
    std::vector<engine::FieldDef> fields = ds.fields();
    attempt([&] { walk(ds); });
    attempt([&] { ds.locate(fields.front().name, "A", true); });
    attempt([&] {
        ds.setFilter(fields.back().name + ">0 .OR. " + fields.front().name + "=1");
        ds.setFiltered(true);
        walk(ds);
        ds.setFiltered(false);
    });
    attempt([&] { ds.checkIndex(); });
    attempt([&] {
        ds.first();
        ds.edit();
        ds.setFieldText(fields.front().name, "Изменено");
        ds.post();
    });
    attempt([&] {
        ds.cancel();
        ds.insert();
        ds.setFieldText(fields.front().name, "Новая");
        ds.post();
        ds.remove();
    });
    attempt([&] { ds.checkIndex(); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t tableLength = input.size();
    std::size_t start = 0;
    if (input.size() >= 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i)
            n = (n << 8) | static_cast<std::uint8_t>(input[static_cast<std::size_t>(i)]);
        start = 4;
        tableLength = std::min<std::size_t>(n, input.size() - 4);
    }
    engine::MemoryFileSystem files;
    files.data("fuzz/folder.dbf") = std::make_shared<engine::MemoryFileData>();
    files.data("fuzz/folder.dbf")->bytes = input.substr(start, tableLength);
    if (start + tableLength < input.size()) {
        files.data("fuzz/folder.cdx") = std::make_shared<engine::MemoryFileData>();
        files.data("fuzz/folder.cdx")->bytes = input.substr(start + tableLength);
    }
    engine::Engine engine("fuzz");
    engine.setFileFactory([&files](const std::string& path, bool create) { return files.open(path, create); });
    engine.impl().exists = [&files](const std::string& path) { return files.exists(path); };
    engine.setLockRetry(1, std::chrono::milliseconds(0));
    engine::DataSet ds(engine, "FOLDER");
    try {
        try {
            ds.open();
        } catch (const engine::EngineError&) {
            ds.open({.exclusive = false, .withIndex = false});
        }
        exercise(ds);
        if (ds.hasIndex()) {
            engine::DataSet byTag(engine, "folder");
            byTag.open();
            for (const std::string& tag : byTag.tags()) {
                attempt([&] {
                    byTag.selectTag(tag);
                    walk(byTag);
                    byTag.seek("C:\\");
                    byTag.seek("");
                });
            }
            attempt([&] { byTag.reindex(); });
            attempt([&] { byTag.checkIndex(); });
        }
    } catch (const engine::EngineError&) {
    }
    return 0;
}
