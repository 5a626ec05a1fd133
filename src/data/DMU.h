#pragma once
// The data module: the three tables, the five data sets and the record-level commands.
#include "app/FilterMode.h"
#include "data/DataModuleUi.h"
#include "engine/DataSet.h"
#include "engine/Engine.h"
#include "launch/LaunchData.h"

#include <memory>
#include <string>

namespace platform {
class Registry;
}
namespace settings {
class SettingsView;
}

namespace data {

// Owns the tables program (executables), folder (infobases) and user (user list) in the
// program's directory and the data sets every other part reads and changes them through. Record
// commands report nothing when the engine fails to store a change: the change is cancelled and,
// for infobases, the list refreshed. Errors of starting an edit or insert, and of start-up, reach
// the caller (the general error report).
class TDM : public launch::LaunchData {
    // Declared first: the data sets below are built on it.
    engine::Engine m_engine;

public:
    // directory: the program's directory, where the tables lie.
    TDM(std::string directory, platform::Registry& registry);
    ~TDM() override;
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    void setUi(DataModuleUi* ui);                             // dialogs and questions
    void setSettingsView(const settings::SettingsView* view); // cbxReestr, read live

    // Creates the missing tables and index files (an index the engine finds unsound is rebuilt
    // from the rows like a missing one) and opens the five data sets. Stops at the first error.
    void DataModuleCreate();
    void DataModuleDestroy();
    void CreateTables(); // each missing table file, with its fields
    void OpenTables();   // missing or unsound index files first, then the five data sets
    void CloseTables();
    // Rebuilds an index of table folder or user that an interrupted change left stale, where no
    // other program has the table open (a failed post elsewhere, another process killed).
    void RepairStaleIndexes(); // dbfFolder and dbfProgram; the others close with the engine

    // Without a current row, the edit, delete and classification commands do nothing.
    void AddExecutable();
    void EditExecutable();
    void DeleteExecutable();
    void AddInfobase();
    void EditInfobase();
    bool RegisterExplorerInfobase() override;
    void DeleteInfobase();

    std::string ExecutablePath() override;
    std::string InfobasePath() override;
    std::string InfobaseName() override;
    std::string InfobaseUserName(engine::DataSet& folder);
    std::string InfobasePassword(engine::DataSet& folder); // plain
    std::string InfobaseUserPath(engine::DataSet& folder);
    std::string InfobasePrmFile(engine::DataSet& folder);
    std::string UserSwitches(bool withPassword, engine::DataSet& folder);

    // The same getters for the launcher, which names the data set.
    std::string InfobasePrmFile(launch::FolderSet set) override;
    std::string UserSwitches(bool withPassword, launch::FolderSet set) override;
    std::string InfobasePassword(launch::FolderSet set) override;
    bool LocateInfobase(launch::FolderSet set, const std::string& path) override;

    void ApplyFilter(app::FilterMode mode);
    void AssignClassification(int categoryId, int divisionId);
    void ClearClassification(int kind);

    // New rows of dbfFolder and dbfSearch take the ids of the bar items chosen last.
    void dbfFolderNewRecord(engine::DataSet& dataSet);
    // Stores the user list's password edit scrambled when it was changed.
    void dbfUserBeforePost(engine::DataSet& dataSet);

    engine::Engine& engine();

    // The five data sets (open between DataModuleCreate and DataModuleDestroy).
    engine::DataSet dbfProgram;
    engine::DataSet dbfFolder;
    engine::DataSet dbfSearch;
    engine::DataSet dbfSeek;
    engine::DataSet dbfUser;

private:
    // Builds the production index of a closed data set's table when it is missing, unsound or
    // lacks one of the tags.
    void ensureIndex(engine::DataSet& dataSet, const std::vector<engine::TagDef>& tags);
    void storeExecutable(int mode);
    bool storeInfobase(int mode);
    engine::DataSet& folderSet(launch::FolderSet set);

    platform::Registry& m_registry;
    DataModuleUi* m_ui = nullptr;
    const settings::SettingsView* m_settings = nullptr;
};

} // namespace data
