#pragma once
#include "engine/CodePage.h"
#include "engine/EngineError.h"
#include "registry/FolderStore.h"

#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace registrytest {

// Table folder as a list of (PATH, NAME) rows. Seeks compare the upper-cased PATH by prefix as
// the UPPER(PATH) tag does; posts of the titles in failingNames raise an engine error.
class FakeFolderStore : public registry::FolderStore {
public:
    struct Row {
        std::string path;
        std::string name;
        bool operator==(const Row&) const = default;
    };

    void prepareSeeks() override { ++prepared; }
    bool seekPath(std::string_view upperKey) override {
        sought.emplace_back(upperKey);
        for (const auto& row : rows)
            if (engine::upperUtf8(row.path).starts_with(upperKey))
                return true;
        return false;
    }
    void insert() override {
        if (failInsert)
            throw engine::EngineError("insert failed");
        pending = Row{};
    }
    void setField(std::string_view field, std::string_view text) override {
        if (!pending)
            throw std::logic_error("no pending row");
        (field == "PATH" ? pending->path : pending->name) = std::string(text);
    }
    void post() override {
        if (!pending)
            throw std::logic_error("no pending row");
        if (failingNames.count(pending->name))
            throw engine::EngineError("Could not lock record");
        rows.push_back(*pending);
        pending.reset();
    }
    void cancel() override {
        if (pending)
            ++cancelled;
        pending.reset();
    }

    std::vector<Row> rows;
    std::set<std::string> failingNames;
    bool failInsert = false;
    std::optional<Row> pending;
    std::vector<std::string> sought;
    int prepared = 0;
    int cancelled = 0;
};

} // namespace registrytest
