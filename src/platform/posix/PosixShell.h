#pragma once
#include "platform/PathMapper.h"
#include "platform/Shell.h"

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

class WineBridge;

// Starting programs on Linux, without a shell and detached. A ".exe" is started through Wine's
// helper (WineBridge) by its Windows path, so the Windows process receives the quoted program
// name, one blank and the argument string byte for byte, as a Windows shell would give it, with
// the password blanked wherever Unix shows the process's command line. Anything else starts
// directly with the argument string split as 1C:Enterprise splits it. Directories open with
// xdg-open. Every failure to start is silent.
class PosixShell : public Shell {
public:
    // True when the system has the ru_RU.UTF-8 locale.
    using LocaleProbe = std::function<bool()>;
    // Shows the user a message (Russian text).
    using Notice = std::function<void(const std::string&)>;

    PosixShell(const PathMapper& paths, const WineBridge& bridge, LocaleProbe hasRussianLocale = {});

    void runProgram(const std::string& program, const std::string& arguments, const std::string& password) override;
    void openDirectory(const std::string& directory, bool explore) override;

    // Told once, at the first start through Wine, that the system lacks a Russian locale.
    void setNotice(Notice notice) { m_notice = std::move(notice); }

    // As runProgram, returning the started pid (-1 when nothing started), for tests.
    pid_t start(const std::string& program, const std::string& arguments, const std::string& password = {});

    // The command line with the value of every " /p" + password blanked, one blank per UTF-16
    // unit, so it keeps its length in the Windows process.
    static std::string blankPassword(const std::string& commandLine, const std::string& password);
    // True when the locale variables already give Wine the Windows-1251 ANSI code page
    // (LC_ALL, else LC_CTYPE, else LANG starting with ru_RU, uk_UA or be_BY).
    static bool localeGivesCp1251();
    // Whether ru_RU.UTF-8 can be loaded, asked once per process.
    static bool systemHasRussianLocale();

    // What the user is told when Wine would give 1C:Enterprise a code page without Cyrillic.
    static const char* const noRussianLocaleNotice;

private:
    pid_t startThroughWine(const std::string& program, const std::string& arguments, const std::string& password);

    const PathMapper& m_paths;
    const WineBridge& m_bridge;
    LocaleProbe m_hasRussianLocale;
    Notice m_notice;
    bool m_noticeGiven = false;
};

} // namespace platform
