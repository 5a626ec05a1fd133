#include "main/MainActions.h"

#include "settings/ControlMap.h"

namespace mainwin {

bool isMappedFocus(MainFocus focus) {
    switch (focus) {
    case MainFocus::StartMode:
    case MainFocus::ProgramList:
    case MainFocus::FolderList:
    case MainFocus::CategoryFilter:
    case MainFocus::DivisionFilter:
    case MainFocus::NonParent:
        return true;
    case MainFocus::Other:
    case MainFocus::StartRegime:
        return false;
    }
    return false;
}

MainCommand keyCommand(MainKey key, MainFocus focus, bool startModeEnabled, bool minimizeOnEscape) {
    const bool onList = focus == MainFocus::ProgramList || focus == MainFocus::FolderList;
    switch (key) {
    case MainKey::Enter:
        return isMappedFocus(focus) ? MainCommand::MappedAction : MainCommand::None;
    case MainKey::Escape:
        return minimizeOnEscape && (isMappedFocus(focus) || focus == MainFocus::StartRegime) ? MainCommand::Minimize
                                                                                             : MainCommand::None;
    case MainKey::Space:
        return onList ? MainCommand::EditProgram : MainCommand::None;
    case MainKey::Insert:
        if (focus == MainFocus::ProgramList)
            return MainCommand::AddProgram;
        return focus == MainFocus::FolderList ? MainCommand::AddFolder : MainCommand::None;
    case MainKey::Delete:
        if (focus == MainFocus::ProgramList)
            return MainCommand::DeleteProgram;
        return focus == MainFocus::FolderList ? MainCommand::DeleteFolder : MainCommand::None;
    case MainKey::M:
        return startModeEnabled ? MainCommand::ToggleStartMode : MainCommand::None;
    case MainKey::Other:
        break;
    }
    return MainCommand::None;
}

MappedAction mappedAction(std::string_view map, int mask) {
    const int row = settings::mappedRow(map, mask);
    if (row == 0)
        return {};
    if (row == 1)
        return {MappedAction::Kind::EditFolder, -1};
    return {MappedAction::Kind::Launch, row - 2};
}

int startButtonRegime(std::string_view map, int mask) {
    if ((mask & 7) == 0)
        return -1;
    const MappedAction action = mappedAction(map, mask);
    return action.kind == MappedAction::Kind::Launch ? action.regime : -1;
}

} // namespace mainwin
