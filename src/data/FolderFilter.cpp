#include "data/FolderFilter.h"

namespace data {

FolderFilter folderFilterFor(app::FilterMode mode, int categoryId, int divisionId) {
    const std::string c = std::to_string(categoryId);
    const std::string d = std::to_string(divisionId);
    switch (mode) {
    case app::FilterMode::fmNone:
        return {"", false};
    case app::FilterMode::fmCategory:
        return {"CATEGORY=" + c + " .AND. CATEGORY>0", true};
    case app::FilterMode::fmDivision:
        return {"DIVISION=" + d + " .AND. DIVISION>0", true};
    case app::FilterMode::fmBoth:
        return {"CATEGORY=" + c + " .AND. DIVISION=" + d + " .AND. CATEGORY>0 .AND. DIVISION>0", true};
    case app::FilterMode::fmUnclassified:
        return {"CATEGORY=0 .OR. DIVISION=0", true};
    }
    return {"", false};
}

} // namespace data
