// The argument-string helpers under arbitrary input: the value of a switch, the five values of a
// launch, the split into argv and the password blanked for the process list.
//
// Input: a two-character switch, a password ended by NUL, then the argument string.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/Common.h"
#include "engine/CodePage.h"
#include "platform/posix/CommandLineSplitter.h"
#include "platform/posix/PosixShell.h"

namespace {

// Windows counts a command line in UTF-16 units.
std::size_t utf16Length(std::string_view utf8) {
    return engine::utf16FromUtf8(utf8).size();
}

bool validUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size())
        if (!engine::decodeUtf8(text, pos))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string switchText(rest.substr(0, 2));
    rest.remove_prefix(2);
    const auto end = rest.find('\0');
    const std::string password(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    const std::string arguments(rest);

    // A switch's value is what follows its first occurrence, up to a blank before "/".
    const std::string value = app::ExtractSwitch(switchText, arguments);
    const auto at = arguments.find(switchText);
    if (at == std::string::npos ? !value.empty() : arguments.compare(at + 2, value.size(), value) != 0)
        std::abort();
    if (value.find(" /") != std::string::npos)
        std::abort();

    const app::LaunchArgs launch = app::ParseLaunchArgs(arguments);
    for (const std::string* part :
         {&launch.directory, &launch.userName, &launch.password, &launch.userDirectory, &launch.batchFile})
        if (part->find('"') != std::string::npos)
            std::abort();

    std::size_t kept = 0;
    for (const std::string& argument : platform::splitCommandLine(arguments)) {
        if (argument.find('"') != std::string::npos)
            std::abort();
        kept += argument.size();
    }
    if (kept > arguments.size())
        std::abort();

    // The command line the process list shows keeps its length, and the password after " /p" is
    // blanks there.
    if (validUtf8(arguments) && validUtf8(password)) {
        const std::string shown = platform::PosixShell::blankPassword(arguments, password);
        if (utf16Length(shown) != utf16Length(arguments))
            std::abort();
        const auto first = arguments.find(" /p" + password);
        if (!password.empty() && first != std::string::npos &&
            shown.compare(first, 3 + utf16Length(password), " /p" + std::string(utf16Length(password), ' ')) != 0)
            std::abort();
    }
    return 0;
}
