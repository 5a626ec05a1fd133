#include "launch/UserSwitches.h"

namespace launch {

std::string ComposeUserSwitches(const std::string& userName, const std::string& plainPassword,
                                const std::string& userPath, bool withPassword) {
    std::string result;
    if (!userName.empty())
        result += " /n" + userName;
    if (withPassword && !plainPassword.empty())
        result += " /p" + plainPassword;
    if (!userPath.empty())
        result += " /u" + userPath;
    return result;
}

} // namespace launch
