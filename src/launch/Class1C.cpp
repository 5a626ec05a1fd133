#include "launch/Class1C.h"

#include "app/Common.h"
#include "launch/LaunchData.h"
#include "launch/LaunchViews.h"
#include "settings/SettingsView.h"

namespace launch {

namespace {

bool fromExplorer(app::LaunchSource source) {
    return source == app::LaunchSource::lsExplorer;
}

} // namespace

TC1C::TC1C(platform::Registry& registry, platform::Shell& shell) : m_registry(registry), m_shell(shell) {
    SetRegime(0);
}

void TC1C::SetRegime(int index) {
    if (index < 0 || index >= static_cast<int>(app::RegimeKeywords.size()))
        index = 0;
    Regime = index;
    RegimeKeyword = std::string(app::RegimeKeywords[static_cast<std::size_t>(index)]);
}

void TC1C::SetExclusive(bool flag) {
    Exclusive = flag;
    ExclusiveArg = Regime == 0 ? std::string(app::ExclusiveArgs[flag ? 1 : 0]) : std::string();
}

void TC1C::SetBatchFile(const std::string& own) {
    const bool defaultOn = m_settings && m_settings->defaultBatchFileOn();
    if (!defaultOn)
        BatchFile = own;
    else if (!own.empty())
        BatchFile = m_settings->batchFileIfPresent() ? m_settings->defaultBatchFile() : own;
    else
        BatchFile = m_settings->batchFileIfAbsent() ? m_settings->defaultBatchFile() : std::string();
    BatchArg = BatchFile.empty() ? std::string() : " /@" + BatchFile;
}

void TC1C::Prepare(app::LaunchSource source) {
    Source = source;
    const bool explorer = fromExplorer(source);
    if (explorer) {
        SetRegime(m_explorer ? m_explorer->explorerRegime() : 0);
        SetExclusive(m_explorer && m_explorer->explorerExclusive());
        Path = m_explorer ? m_explorer->SelectedDirectory() : std::string();
    } else {
        SetRegime(m_main ? m_main->startRegime() : 0);
        SetExclusive(m_main && m_main->exclusiveChecked());
        Path = m_data ? m_data->InfobasePath() : std::string();
    }

    // The explorer's directory may move the infobase list to its row; nothing of it is used here.
    if (explorer && m_data && m_settings && m_settings->locateInExplorer())
        m_data->LocateInfobase(FolderSet::dbfFolder, Path);

    std::string ownBatchFile;
    UserArgs.clear();
    m_password.clear();
    if (m_data) {
        if (explorer) {
            if (m_data->LocateInfobase(FolderSet::dbfSearch, Path)) {
                UserArgs = m_data->UserSwitches(true, FolderSet::dbfSearch);
                m_password = m_data->InfobasePassword(FolderSet::dbfSearch);
                ownBatchFile = m_data->InfobasePrmFile(FolderSet::dbfSearch);
            }
        } else {
            const bool withPassword = source == app::LaunchSource::lsMainWindow;
            UserArgs = m_data->UserSwitches(withPassword, FolderSet::dbfFolder);
            if (withPassword)
                m_password = m_data->InfobasePassword(FolderSet::dbfFolder);
            ownBatchFile = m_data->InfobasePrmFile(FolderSet::dbfFolder);
        }
    }
    if (Regime == 4) {
        SetBatchFile(ownBatchFile);
    } else {
        // Only the batch regime takes a batch file: the settings' default ("if absent") would
        // otherwise turn every other regime into a batch run.
        BatchFile.clear();
        BatchArg.clear();
    }
}

std::string TC1C::BuildCommandLine(app::LaunchSource source) {
    Prepare(source);
    const bool quote = Path.find(' ') != std::string::npos;
    PathArg = " /d" + (quote ? "\"" + Path + "\"" : Path);
    return RegimeKeyword + PathArg + ExclusiveArg + UserArgs + BatchArg;
}

void TC1C::Launch(app::LaunchSource source) {
    Prepare(source);
    switch (source) {
    case app::LaunchSource::lsMainWindow:
        // An empty directory (no infobase row) is never written: the Titles helpers skip it.
        app::TitleWriteIfAbsent(m_registry, Path, m_data ? m_data->InfobaseName() : std::string());
        start(source);
        break;
    case app::LaunchSource::lsExplorer:
        if (app::TitleExists(m_registry, Path) || (m_data && m_data->RegisterExplorerInfobase()))
            start(source);
        break;
    case app::LaunchSource::lsShortcut:
        break;
    }
}

void TC1C::start(app::LaunchSource source) {
    const std::string arguments = BuildCommandLine(source); // fills m_password
    app::RunProgram(m_shell, GetProgramPath(), arguments, m_password);
}

std::string TC1C::GetProgramPath() {
    return m_data ? m_data->ExecutablePath() : std::string();
}

} // namespace launch
