#include "main/DataModuleCommands.h"

#include "data/DMU.h"
#include "launch/Class1C.h"
#include "launch/StartEnterprise.h"
#include "main/ClassificationDataModule.h"
#include "platform/Shell.h"
#include "widgets/DataSetListModel.h"

namespace mainwin {

void DataModuleCommands::reloadLists() {
    // A failed post (an import, another process killed) may have left an index stale.
    if (m_parts.dm)
        m_parts.dm->RepairStaleIndexes();
    if (m_parts.programs)
        m_parts.programs->reload();
    if (m_parts.folders)
        m_parts.folders->reload();
}

void DataModuleCommands::recordCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (...) {
        reloadLists();
        throw;
    }
    reloadLists();
}

void DataModuleCommands::addExecutable() {
    recordCommand([this] { m_parts.dm->AddExecutable(); });
}
void DataModuleCommands::editExecutable() {
    recordCommand([this] { m_parts.dm->EditExecutable(); });
}
void DataModuleCommands::deleteExecutable() {
    recordCommand([this] { m_parts.dm->DeleteExecutable(); });
}
void DataModuleCommands::addInfobase() {
    recordCommand([this] { m_parts.dm->AddInfobase(); });
}
void DataModuleCommands::editInfobase() {
    recordCommand([this] { m_parts.dm->EditInfobase(); });
}
void DataModuleCommands::deleteInfobase() {
    recordCommand([this] { m_parts.dm->DeleteInfobase(); });
}
void DataModuleCommands::clearClassification(int kind) {
    recordCommand([this, kind] { m_parts.dm->ClearClassification(kind); });
}

void DataModuleCommands::startEnterprise(app::LaunchSource source) {
    const settings::SettingsView* view = m_parts.settings ? m_parts.settings() : nullptr;
    if (!view || !m_parts.launcher || !m_parts.application)
        return;
    launch::StartEnterprise(*m_parts.launcher, source, *view, *m_parts.application);
    // An explorer launch may have registered an infobase or moved the list.
    reloadLists();
}

std::string DataModuleCommands::executablePath() {
    return m_parts.dm->dbfProgram.isOpen() ? m_parts.dm->ExecutablePath() : std::string();
}
std::string DataModuleCommands::infobasePath() {
    return m_parts.dm->dbfFolder.isOpen() ? m_parts.dm->InfobasePath() : std::string();
}
std::string DataModuleCommands::infobaseUser() {
    return m_parts.dm->dbfFolder.isOpen() ? m_parts.dm->InfobaseUserName(m_parts.dm->dbfFolder) : std::string();
}

void DataModuleCommands::openInfobaseDirectory(bool explore) {
    if (m_parts.shell)
        m_parts.shell->openDirectory(infobasePath(), explore);
}

int DataModuleCommands::executableRow() {
    return m_parts.programs ? m_parts.programs->currentRow() : -1;
}
void DataModuleCommands::setExecutableRow(int row) {
    if (m_parts.programs)
        m_parts.programs->setCurrentRow(row);
}
int DataModuleCommands::infobaseRow() {
    return m_parts.folders ? m_parts.folders->currentRow() : -1;
}
void DataModuleCommands::setInfobaseRow(int row) {
    if (m_parts.folders)
        m_parts.folders->setCurrentRow(row);
}

// The bars' commands are the data module's own (ClassificationDataModule), followed by a reread of
// the lists.
void DataModuleCommands::applyFilter(app::FilterMode mode) {
    recordCommand([this, mode] { ClassificationDataModule(*m_parts.dm).applyFilter(mode); });
}

void DataModuleCommands::assignClassification(int categoryId, int divisionId) {
    recordCommand([this, categoryId, divisionId] {
        ClassificationDataModule(*m_parts.dm).assignClassification(categoryId, divisionId);
    });
}

bool DataModuleCommands::isItemUsed(BarKind kind, std::int32_t id) {
    return m_parts.dm->dbfSearch.isOpen() && ClassificationDataModule(*m_parts.dm).isItemUsed(kind, id);
}

} // namespace mainwin
