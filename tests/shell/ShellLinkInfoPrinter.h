#pragma once
#include <ostream>

#include "shell/ShellLinkInfo.h"

namespace shell {

// Readable test output for a shortcut's fields.
inline void PrintTo(const TShellLinkInfo& info, std::ostream* os) {
    *os << "{target \"" << info.TargetPath << "\", arguments \"" << info.Arguments << "\", description \""
        << info.Description << "\", directory \"" << info.WorkingDirectory << "\", icon \"" << info.IconPath << "\" "
        << info.IconIndex << ", show " << info.ShowCommand << ", hot key " << info.HotKey << "}";
}

} // namespace shell
