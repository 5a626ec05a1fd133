#pragma once
#include "app/FilterMode.h"
#include "main/ClassificationBar.h"

#include <cstdint>

namespace mainwin {

// What the bars need of the data module. The program plugs in the data module itself
// (ClassificationDataModule); tests record the calls.
class ClassificationData {
public:
    virtual ~ClassificationData() = default;

    // Filters the infobase list; the ids are read from CurrentCategoryId and CurrentDivisionId.
    virtual void applyFilter(app::FilterMode mode) = 0;
    // Classifies the current infobase of the list; an id of 0 leaves that axis as it is.
    virtual void assignClassification(int categoryId, int divisionId) = 0;
    // True when some infobase, whatever the list's filter, carries the id on that axis.
    virtual bool isItemUsed(BarKind kind, std::int32_t id) = 0;
};

} // namespace mainwin
