#pragma once
#include "app/FilterMode.h"

#include <string>

namespace data {

// The filter of the infobase list for a filter mode and the ids of the category and division
// items chosen last: the expression, and whether filtering is on.
struct FolderFilter {
    std::string expression;
    bool on = false;
    bool operator==(const FolderFilter&) const = default;
};

FolderFilter folderFilterFor(app::FilterMode mode, int categoryId, int divisionId);

} // namespace data
