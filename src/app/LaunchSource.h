#pragma once

namespace app {

// Who asks for an argument string: the main window, the explorer window, or a shortcut file (a
// shortcut never carries the password).
enum class LaunchSource { lsMainWindow = 0, lsExplorer = 1, lsShortcut = 2 };

} // namespace app
