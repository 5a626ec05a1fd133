#include "data/DMU.h"

#include "app/Common.h"
#include "data/FieldWidths.h"
#include "data/FolderFilter.h"
#include "engine/EngineError.h"
#include "launch/UserSwitches.h"
#include "settings/SettingsView.h"

#include <utility>
#include <vector>

namespace data {

namespace {

using engine::FieldDef;
using engine::FieldType;

FieldDef text(const char* name, int width) {
    return {name, FieldType::Character, width, 0};
}
FieldDef number(const char* name, int width) {
    return {name, FieldType::Numeric, width, 0};
}

const std::vector<FieldDef>& programFields() {
    static const std::vector<FieldDef> fields = {text("NAME", width::Name), text("PATH", width::Path)};
    return fields;
}
const std::vector<FieldDef>& folderFields() {
    static const std::vector<FieldDef> fields = {text("NAME", width::Name),
                                                 text("PATH", width::Path),
                                                 text("USERNAME", width::UserName),
                                                 text("PASSWORD", width::Password),
                                                 text("USERPATH", width::Path),
                                                 text("PRMFILE", width::Path),
                                                 number("CATEGORY", 6),
                                                 number("DIVISION", 6)};
    return fields;
}
const std::vector<FieldDef>& userFields() {
    static const std::vector<FieldDef> fields = {text("USERNAME", width::UserName), text("PASSWORD", width::Password)};
    return fields;
}

const std::vector<engine::TagDef> kFolderTags = {{"NAME", "UPPER(NAME)"}, {"PATH", "UPPER(PATH)"}};
const std::vector<engine::TagDef> kUserTags = {{"USERNAME", "UPPER(USERNAME)"}};

// Undoing a failed change must not raise a second error over the first.
void cancelQuietly(engine::DataSet& dataSet) {
    try {
        dataSet.cancel();
    } catch (const engine::EngineError&) {
    }
}
void refreshQuietly(engine::DataSet& dataSet) {
    try {
        dataSet.refresh();
    } catch (const engine::EngineError&) {
    }
}

// A stale index (a change of it was interrupted) is rebuilt where no other program has the table
// open; otherwise it stays marked stale and the next start rebuilds it.
void repairIfStale(engine::DataSet& dataSet) {
    try {
        if (dataSet.isOpen() && dataSet.hasIndex() && dataSet.indexStale())
            dataSet.reindex();
    } catch (const engine::EngineError&) {
    }
}

// After a failed change of an infobase: cancel it, and when the failure left the index stale (a row
// written but not yet indexed), rebuild it, so the list shows what is stored.
void recoverFolder(engine::DataSet& folder) {
    cancelQuietly(folder);
    repairIfStale(folder);
    refreshQuietly(folder);
}

bool hasCurrentRow(engine::DataSet& dataSet) {
    return dataSet.isOpen() && !dataSet.isEmpty() && dataSet.recno() != 0;
}

std::string field(engine::DataSet& dataSet, const char* name) {
    return dataSet.isOpen() ? dataSet.fieldText(name) : std::string();
}

// True when the production index opens with the table, the engine finds no fault in it and it
// has every tag asked for. The data set is closed again.
bool indexIsSound(engine::DataSet& dataSet, const std::vector<engine::TagDef>& tags) {
    bool sound = false;
    try {
        dataSet.open({.exclusive = false, .withIndex = true});
        sound = dataSet.hasIndex() && dataSet.checkIndex().empty();
        for (const auto& tag : tags)
            if (sound)
                dataSet.selectTag(tag.name);
    } catch (const engine::EngineError&) {
        sound = false;
    }
    if (dataSet.isOpen())
        dataSet.close();
    return sound;
}

} // namespace

TDM::TDM(std::string directory, platform::Registry& registry)
    : m_engine(std::move(directory)), dbfProgram(m_engine, "program"), dbfFolder(m_engine, "folder"),
      dbfSearch(m_engine, "folder"), dbfSeek(m_engine, "FOLDER"), dbfUser(m_engine, "user"), m_registry(registry) {
    dbfFolder.onNewRecord = [this](engine::DataSet& dataSet) { dbfFolderNewRecord(dataSet); };
    dbfSearch.onNewRecord = [this](engine::DataSet& dataSet) { dbfFolderNewRecord(dataSet); };
    dbfUser.beforePost = [this](engine::DataSet& dataSet) { dbfUserBeforePost(dataSet); };
}

TDM::~TDM() = default;

void TDM::setUi(DataModuleUi* ui) {
    m_ui = ui;
}

void TDM::setSettingsView(const settings::SettingsView* view) {
    m_settings = view;
}

engine::Engine& TDM::engine() {
    return m_engine;
}

// ---- start-up and end

void TDM::DataModuleCreate() {
    // The engine is started with the module; the tables and data sets follow.
    CreateTables();
    OpenTables();
}

void TDM::DataModuleDestroy() {
    CloseTables();
}

void TDM::CreateTables() {
    const std::pair<const char*, const std::vector<FieldDef>*> tables[] = {
        {"program", &programFields()}, {"folder", &folderFields()}, {"user", &userFields()}};
    for (const auto& [alias, fields] : tables)
        if (!m_engine.tableExists(alias))
            m_engine.createTable(alias, *fields);
}

void TDM::ensureIndex(engine::DataSet& dataSet, const std::vector<engine::TagDef>& tags) {
    if (m_engine.indexExists(dataSet.alias()) && indexIsSound(dataSet, tags))
        return;
    // Missing, damaged or out of step with its table: built afresh from the rows present.
    dataSet.open({.exclusive = true, .withIndex = false});
    dataSet.createIndex(tags);
    dataSet.close();
}

void TDM::OpenTables() {
    dbfProgram.open({.exclusive = false, .withIndex = false});

    ensureIndex(dbfFolder, kFolderTags);
    dbfFolder.open();
    dbfFolder.selectTag("NAME");
    dbfFolder.first();

    ensureIndex(dbfUser, kUserTags);
    dbfUser.open();
    dbfUser.selectTag("USERNAME");
    dbfUser.first();

    dbfSearch.open({.exclusive = false, .withIndex = false});

    dbfSeek.open();
    dbfSeek.selectTag("PATH");
}

void TDM::RepairStaleIndexes() {
    repairIfStale(dbfFolder);
    repairIfStale(dbfUser);
}

void TDM::CloseTables() {
    dbfFolder.close();
    dbfProgram.close();
}

// ---- executables

void TDM::storeExecutable(int mode) {
    if (!m_ui)
        return;
    const ExecutableDialogResult result = m_ui->runExecutableDialog(mode);
    if (result.path.empty())
        return;
    if (mode == 0)
        dbfProgram.insert();
    else
        dbfProgram.edit();
    try {
        dbfProgram.setFieldText("NAME", result.name);
        dbfProgram.setFieldText("PATH", result.path);
        dbfProgram.post();
    } catch (const engine::EngineError&) {
        cancelQuietly(dbfProgram);
    }
}

void TDM::AddExecutable() {
    storeExecutable(0);
}

void TDM::EditExecutable() {
    if (hasCurrentRow(dbfProgram))
        storeExecutable(1);
}

void TDM::DeleteExecutable() {
    if (!m_ui || !hasCurrentRow(dbfProgram))
        return;
    if (!m_ui->askYesNo("Удалить выделенный исполняемый модуль?"))
        return;
    try {
        dbfProgram.remove();
    } catch (const engine::EngineError&) {
        cancelQuietly(dbfProgram);
    }
}

// ---- infobases

bool TDM::storeInfobase(int mode) {
    if (!m_ui)
        return false;
    const InfobaseDialogResult result = m_ui->runInfobaseDialog(mode);
    if (!result.confirmed || result.path.empty())
        return false;

    // The Titles entry comes first and stays even when storing the row fails.
    if (mode == 2)
        app::TitleRegister(m_registry, result.path, result.name);
    else
        app::TitleWrite(m_registry, result.path, result.name);

    if (mode == 1)
        dbfFolder.edit();
    else
        dbfFolder.insert();
    try {
        dbfFolder.setFieldText("NAME", result.name);
        dbfFolder.setFieldText("PATH", result.path);
        dbfFolder.setFieldText("USERNAME", result.userName);
        dbfFolder.setFieldText("PASSWORD", app::ScramblePassword(result.password));
        dbfFolder.setFieldText("USERPATH", result.userPath);
        dbfFolder.setFieldText("PRMFILE", result.prmFile);
        dbfFolder.post();
        dbfFolder.refresh();
        return true;
    } catch (const engine::EngineError&) {
        recoverFolder(dbfFolder);
        return false;
    }
}

void TDM::AddInfobase() {
    storeInfobase(0);
}

void TDM::EditInfobase() {
    if (hasCurrentRow(dbfFolder))
        storeInfobase(1);
}

bool TDM::RegisterExplorerInfobase() {
    return storeInfobase(2);
}

void TDM::DeleteInfobase() {
    if (!m_ui || !hasCurrentRow(dbfFolder))
        return;
    if (!m_ui->askYesNo("Удалить выделенную информационную базу?"))
        return;
    if (m_settings && m_settings->clearRegistryOnDelete())
        app::TitleDelete(m_registry, InfobasePath());
    try {
        dbfFolder.remove();
        dbfFolder.refresh();
    } catch (const engine::EngineError&) {
        recoverFolder(dbfFolder);
    }
}

// ---- getters

std::string TDM::ExecutablePath() {
    return field(dbfProgram, "PATH");
}

std::string TDM::InfobasePath() {
    return field(dbfFolder, "PATH");
}

std::string TDM::InfobaseName() {
    return field(dbfFolder, "NAME");
}

std::string TDM::InfobaseUserName(engine::DataSet& folder) {
    return field(folder, "USERNAME");
}

std::string TDM::InfobasePassword(engine::DataSet& folder) {
    return app::ScramblePassword(field(folder, "PASSWORD"));
}

std::string TDM::InfobaseUserPath(engine::DataSet& folder) {
    return field(folder, "USERPATH");
}

std::string TDM::InfobasePrmFile(engine::DataSet& folder) {
    return field(folder, "PRMFILE");
}

std::string TDM::UserSwitches(bool withPassword, engine::DataSet& folder) {
    return launch::ComposeUserSwitches(InfobaseUserName(folder), InfobasePassword(folder), InfobaseUserPath(folder),
                                       withPassword);
}

engine::DataSet& TDM::folderSet(launch::FolderSet set) {
    return set == launch::FolderSet::dbfFolder ? dbfFolder : dbfSearch;
}

std::string TDM::InfobasePrmFile(launch::FolderSet set) {
    return InfobasePrmFile(folderSet(set));
}

std::string TDM::UserSwitches(bool withPassword, launch::FolderSet set) {
    return UserSwitches(withPassword, folderSet(set));
}

std::string TDM::InfobasePassword(launch::FolderSet set) {
    return InfobasePassword(folderSet(set));
}

bool TDM::LocateInfobase(launch::FolderSet set, const std::string& path) {
    engine::DataSet& dataSet = folderSet(set);
    if (!dataSet.isOpen())
        return false;
    // The look-up data set has no list to follow: it must see rows stored through the others.
    if (set == launch::FolderSet::dbfSearch)
        dataSet.refresh();
    return dataSet.locate("PATH", path, true);
}

// ---- filter and classification

void TDM::ApplyFilter(app::FilterMode mode) {
    const FolderFilter filter = folderFilterFor(mode, app::CurrentCategoryId, app::CurrentDivisionId);
    dbfFolder.setFilter(filter.expression);
    dbfFolder.setFiltered(filter.on);
}

void TDM::AssignClassification(int categoryId, int divisionId) {
    if (!hasCurrentRow(dbfFolder))
        return;
    const std::pair<const char*, int> ids[] = {{"CATEGORY", categoryId}, {"DIVISION", divisionId}};
    for (const auto& [name, id] : ids) {
        if (id <= 0)
            continue;
        try {
            dbfFolder.edit();
            dbfFolder.setFieldInt(name, id);
        } catch (const engine::EngineError&) {
            cancelQuietly(dbfFolder);
            continue;
        }
        try {
            dbfFolder.post();
        } catch (const engine::EngineError&) {
            cancelQuietly(dbfFolder);
        }
    }
}

void TDM::ClearClassification(int kind) {
    if (!hasCurrentRow(dbfFolder))
        return;
    dbfFolder.edit();
    try {
        if (kind == 1 || kind == 3)
            dbfFolder.clearField("CATEGORY");
        if (kind == 2 || kind == 3)
            dbfFolder.clearField("DIVISION");
        dbfFolder.post();
        dbfFolder.refresh();
    } catch (const engine::EngineError&) {
        recoverFolder(dbfFolder);
    }
}

// ---- handlers

void TDM::dbfFolderNewRecord(engine::DataSet& dataSet) {
    dataSet.setFieldInt("CATEGORY", app::CurrentCategoryId);
    dataSet.setFieldInt("DIVISION", app::CurrentDivisionId);
}

void TDM::dbfUserBeforePost(engine::DataSet& dataSet) {
    if (!m_ui)
        return;
    if (const auto typed = m_ui->editedUserPassword())
        dataSet.setFieldText("PASSWORD", app::ScramblePassword(*typed));
}

} // namespace data
