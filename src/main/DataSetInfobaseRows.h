#pragma once
#include "engine/DataSet.h"
#include "main/ShortcutImport.h"

#include <string>
#include <string_view>

namespace mainwin {

// InfobaseRows on the data module's dbfSearch and dbfFolder.
class DataSetInfobaseRows : public InfobaseRows {
public:
    DataSetInfobaseRows(engine::DataSet& search, engine::DataSet& folder) : m_search(search), m_folder(folder) {}

    bool locatePath(const std::string& directory) override { return m_search.locate("PATH", directory, true); }
    void edit() override { m_search.edit(); }
    void insert() override { m_search.insert(); }
    void setField(std::string_view field, const std::string& value) override { m_search.setFieldText(field, value); }
    void post() override { m_search.post(); }
    void cancel() override { m_search.cancel(); }
    void refreshSearch() override { m_search.refresh(); }
    void refreshFolder() override { m_folder.refresh(); }

private:
    engine::DataSet& m_search;
    engine::DataSet& m_folder;
};

} // namespace mainwin
