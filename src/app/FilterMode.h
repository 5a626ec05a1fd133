#pragma once

namespace app {

// How the infobase list is filtered by the category and division bars.
enum class FilterMode {
    fmNone = 0,         // every infobase
    fmCategory = 1,     // the chosen category
    fmDivision = 2,     // the chosen division
    fmBoth = 3,         // the chosen category and the chosen division
    fmUnclassified = 4, // infobases that lack a category or a division
};

} // namespace app
