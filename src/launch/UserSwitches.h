#pragma once
#include <string>

namespace launch {

// The user part of a 1C:Enterprise argument string: " /n" and the user name, " /p" and the plain
// password (only when withPassword), " /u" and the user directory, each only when its value is
// not empty. Values are never quoted.
std::string ComposeUserSwitches(const std::string& userName, const std::string& plainPassword,
                                const std::string& userPath, bool withPassword);

} // namespace launch
