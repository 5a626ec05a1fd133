#pragma once
// The data module: the three tables, the five data sets and the record-level commands.
// This header fixes the names other layers use; the implementation may add members.
#include "app/FilterMode.h"
#include "data/DataModuleUi.h"
#include "engine/DataSet.h"
#include "engine/Engine.h"

#include <memory>
#include <string>

namespace platform { class Registry; }
namespace settings { class SettingsView; }

namespace data {

class TDM {
    // Declared first: the data sets below are built on it.
    engine::Engine m_engine;

public:
    // directory: the program's directory, where the tables lie.
    TDM(std::string directory, platform::Registry& registry);
    ~TDM();

    void setUi(DataModuleUi* ui);                       // dialogs and questions
    void setSettingsView(const settings::SettingsView* view); // cbxReestr, read live

    void DataModuleCreate();
    void DataModuleDestroy();

    void AddExecutable();
    void EditExecutable();
    void DeleteExecutable();
    void AddInfobase();
    void EditInfobase();
    bool RegisterExplorerInfobase();
    void DeleteInfobase();

    std::string ExecutablePath();
    std::string InfobasePath();
    std::string InfobaseName();
    std::string InfobaseUserName(engine::DataSet& folder);
    std::string InfobasePassword(engine::DataSet& folder);
    std::string InfobaseUserPath(engine::DataSet& folder);
    std::string InfobasePrmFile(engine::DataSet& folder);
    std::string UserSwitches(bool withPassword, engine::DataSet& folder);

    void ApplyFilter(app::FilterMode mode);
    void AssignClassification(int categoryId, int divisionId);
    void ClearClassification(int kind);

    engine::Engine& engine();

    // The five data sets (open between DataModuleCreate and DataModuleDestroy).
    engine::DataSet dbfProgram;
    engine::DataSet dbfFolder;
    engine::DataSet dbfSearch;
    engine::DataSet dbfSeek;
    engine::DataSet dbfUser;
};

} // namespace data
