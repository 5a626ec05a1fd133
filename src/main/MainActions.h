#pragma once
#include <string_view>

// What the main window does with a key or a mapped click: the decisions only, without a window,
// so they can be tested on their own. The window tells which control has the focus and what the
// settings say at that moment, then carries out the command it gets back.
namespace mainwin {

// The controls of the main window whose focus changes what a key does.
enum class MainFocus {
    Other,
    StartRegime,    // cmbStartRegime
    StartMode,      // cbxStartMode
    ProgramList,    // dbgProgram
    FolderList,     // dbgFolder
    CategoryFilter, // cbxCategoryFilter
    DivisionFilter, // cbxDivisionFilter
    NonParent,      // cbxNonParent
};

// The keys the main window looks at (Enter covers the main and the keypad key; M covers the
// physical keys M and V, whatever letters the layout puts on them).
enum class MainKey { Other, Enter, Escape, Space, Insert, Delete, M };

enum class MainCommand {
    None,
    MappedAction,    // DoMappedAction with the event's modifiers
    Minimize,        // minimise the program
    EditProgram,     // actEditProgram
    AddProgram,      // actAddProgram
    AddFolder,       // actAddFolder
    DeleteProgram,   // actDeleteProgram
    DeleteFolder,    // actDeleteFolder
    ToggleStartMode, // toggle cbxStartMode and run its click handling
};

// True for the six controls on which Enter runs the action map.
bool isMappedFocus(MainFocus focus);

// The command of a key press seen by the main window before the focused control.
// startModeEnabled: cbxStartMode is enabled; minimizeOnEscape: cbxMinimize is ticked.
MainCommand keyCommand(MainKey key, MainFocus focus, bool startModeEnabled, bool minimizeOnEscape);

// What DoMappedAction does for a modifier mask (1 Shift, 2 Alt, 4 Ctrl).
struct MappedAction {
    enum class Kind { None, EditFolder, Launch };
    Kind kind = Kind::None;
    int regime = -1; // start regime 0..4 for Launch
    bool operator==(const MappedAction&) const = default;
};
MappedAction mappedAction(std::string_view map, int mask);

// The start regime a click on "Старт" switches to before it launches: the regime of a matching
// launch row, or -1 to launch in the regime shown (no modifier held, the edit row, or no match).
int startButtonRegime(std::string_view map, int mask);

} // namespace mainwin
