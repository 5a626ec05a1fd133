#include "main/ClassificationDataModule.h"

#include "data/DMU.h"

#include <string>

namespace mainwin {

void ClassificationDataModule::applyFilter(app::FilterMode mode) {
    m_dm.ApplyFilter(mode);
}

void ClassificationDataModule::assignClassification(int categoryId, int divisionId) {
    m_dm.AssignClassification(categoryId, divisionId);
}

bool ClassificationDataModule::isItemUsed(BarKind kind, std::int32_t id) {
    engine::DataSet& search = m_dm.dbfSearch;
    search.refresh();
    return search.locate(kind == BarKind::Category ? "CATEGORY" : "DIVISION", std::to_string(id), false);
}

} // namespace mainwin
