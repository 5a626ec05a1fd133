#pragma once
#include "registry/FolderStore.h"

namespace engine {
class DataSet;
}

namespace registry {

// Table folder through the data module: seeks on dbfSeek (tag PATH selected), inserts through
// dbfFolder, whose new-row handler gives the row the current category and division.
class DataSetFolderStore : public FolderStore {
public:
    DataSetFolderStore(engine::DataSet& dbfSeek, engine::DataSet& dbfFolder);

    void prepareSeeks() override;
    bool seekPath(std::string_view upperKey) override;
    void insert() override;
    void setField(std::string_view field, std::string_view text) override;
    void post() override;
    void cancel() override;

private:
    engine::DataSet& m_seek;
    engine::DataSet& m_folder;
};

} // namespace registry
