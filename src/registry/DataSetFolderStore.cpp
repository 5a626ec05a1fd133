#include "registry/DataSetFolderStore.h"

#include "engine/DataSet.h"

namespace registry {

DataSetFolderStore::DataSetFolderStore(engine::DataSet& dbfSeek, engine::DataSet& dbfFolder)
    : m_seek(dbfSeek), m_folder(dbfFolder) {}

// dbfSeek keeps its own view of the file; rows posted through dbfFolder (an import just before)
// become visible to it only after a refresh.
void DataSetFolderStore::prepareSeeks() {
    m_seek.refresh();
}

bool DataSetFolderStore::seekPath(std::string_view upperKey) {
    return m_seek.seek(upperKey);
}

void DataSetFolderStore::insert() {
    m_folder.insert();
}

void DataSetFolderStore::setField(std::string_view field, std::string_view text) {
    m_folder.setFieldText(field, text);
}

void DataSetFolderStore::post() {
    m_folder.post();
}

void DataSetFolderStore::cancel() {
    const auto state = m_folder.state();
    if (state == engine::DataSetState::Insert || state == engine::DataSetState::Edit)
        m_folder.cancel();
}

} // namespace registry
