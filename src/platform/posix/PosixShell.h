#pragma once
#include "platform/PathMapper.h"
#include "platform/Shell.h"

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

// Starting programs on Linux: the argument string is split like 1C:Enterprise splits it, the
// program path is mapped from Windows to Unix, and the process is started without a shell,
// detached: a ".exe" through "wine" from $PATH, anything else directly. Directories open with
// xdg-open. Every failure is silent.
class PosixShell : public Shell {
public:
    // True when the system has the ru_RU.UTF-8 locale.
    using LocaleProbe = std::function<bool()>;

    // prefix: set as WINEPREFIX for wine (empty: leave the environment as it is).
    PosixShell(const PathMapper& paths, std::string prefix = {}, LocaleProbe hasRussianLocale = {});

    void runProgram(const std::string& program, const std::string& arguments) override;
    void openDirectory(const std::string& directory, bool explore) override;

    // As runProgram, returning the started pid (-1 when nothing started), for tests.
    pid_t start(const std::string& program, const std::string& arguments);

    // True when the locale variables already give Wine the Windows-1251 ANSI code page
    // (LC_ALL, else LC_CTYPE, else LANG starting with ru_RU, uk_UA or be_BY).
    static bool localeGivesCp1251();
    // Whether ru_RU.UTF-8 can be loaded, asked once per process.
    static bool systemHasRussianLocale();

private:
    const PathMapper& m_paths;
    std::string m_prefix;
    LocaleProbe m_hasRussianLocale;
};

} // namespace platform
