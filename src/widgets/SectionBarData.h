#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Content of a section bar as plain data (UTF-8 captions), shared by the bar widget and the bar files.
namespace widgets {

struct SectionBarItem {
    std::string caption;
    std::int32_t id = 0;

    bool operator==(const SectionBarItem&) const = default;
};

struct SectionBarSection {
    std::string caption;
    std::vector<SectionBarItem> items;

    bool operator==(const SectionBarSection&) const = default;
};

struct SectionBarData {
    std::vector<SectionBarSection> sections;

    bool operator==(const SectionBarData&) const = default;

    // Number of items in all sections together.
    std::size_t itemCount() const;
    // Largest item id of the bar, 0 for a bar without items (so "max + 1" is a fresh positive id).
    std::int32_t maxItemId() const;
};

} // namespace widgets
