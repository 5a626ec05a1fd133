#pragma once
#include "main/ClassificationData.h"

namespace data {
class TDM;
}

namespace mainwin {

// The bars' view of the data module: the filter and classification commands of TDM, and the
// look-up of an item id in dbfSearch (table folder without the list's filter).
class ClassificationDataModule : public ClassificationData {
public:
    explicit ClassificationDataModule(data::TDM& dm) : m_dm(dm) {}

    void applyFilter(app::FilterMode mode) override;
    void assignClassification(int categoryId, int divisionId) override;
    // Rereads dbfSearch first, so rows classified through the list since the last look-up count.
    bool isItemUsed(BarKind kind, std::int32_t id) override;

private:
    data::TDM& m_dm;
};

} // namespace mainwin
