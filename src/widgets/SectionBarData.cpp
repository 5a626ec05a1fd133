#include "widgets/SectionBarData.h"

#include <algorithm>

namespace widgets {

std::size_t SectionBarData::itemCount() const {
    std::size_t count = 0;
    for (const auto& section : sections)
        count += section.items.size();
    return count;
}

std::int32_t SectionBarData::maxItemId() const {
    std::int32_t result = 0;
    for (const auto& section : sections)
        for (const auto& item : section.items)
            result = std::max(result, item.id);
    return result;
}

} // namespace widgets
