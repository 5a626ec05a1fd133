#include "platform/posix/PosixShell.h"

#include "platform/posix/CommandLineSplitter.h"
#include "platform/posix/ProcessLauncher.h"

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace platform {

namespace {

bool endsWithExe(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".exe";
}

} // namespace

PosixShell::PosixShell(const PathMapper& paths, std::string prefix, LocaleProbe hasRussianLocale)
    : m_paths(paths), m_prefix(std::move(prefix)),
      m_hasRussianLocale(hasRussianLocale ? std::move(hasRussianLocale) : LocaleProbe(systemHasRussianLocale)) {}

bool PosixShell::localeGivesCp1251() {
    const char* value = nullptr;
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        value = std::getenv(name);
        if (value && *value)
            break;
        value = nullptr;
    }
    const std::string locale = value ? value : "";
    for (const char* prefix : {"ru_RU", "uk_UA", "be_BY"})
        if (locale.rfind(prefix, 0) == 0)
            return true;
    return false;
}

bool PosixShell::systemHasRussianLocale() {
    static const bool available = [] {
        const locale_t locale = newlocale(LC_CTYPE_MASK, "ru_RU.UTF-8", static_cast<locale_t>(nullptr));
        if (!locale)
            return false;
        freelocale(locale);
        return true;
    }();
    return available;
}

pid_t PosixShell::start(const std::string& program, const std::string& arguments) {
    const std::string host = m_paths.toHost(program);
    if (host.empty())
        return -1;
    std::vector<std::string> argv;
    std::vector<std::pair<std::string, std::string>> overrides;
    if (endsWithExe(host)) {
        const std::string wine = ProcessLauncher::findOnPath("wine");
        if (wine.empty())
            return -1;
        argv = {wine, host};
        if (!m_prefix.empty())
            overrides.emplace_back("WINEPREFIX", m_prefix);
        // Wine takes the ANSI code page from the locale; 1C:Enterprise needs Windows-1251.
        if (!localeGivesCp1251() && m_hasRussianLocale())
            overrides.emplace_back("LC_ALL", "ru_RU.UTF-8");
    } else {
        argv = {host};
    }
    for (auto& argument : splitCommandLine(arguments))
        argv.push_back(std::move(argument));
    return ProcessLauncher::spawnDetached(argv, ProcessLauncher::currentEnvironment(overrides));
}

void PosixShell::runProgram(const std::string& program, const std::string& arguments) {
    start(program, arguments);
}

void PosixShell::openDirectory(const std::string& directory, bool /*explore: file managers show their own tree*/) {
    const std::string host = m_paths.toHost(directory);
    const std::string opener = ProcessLauncher::findOnPath("xdg-open");
    if (host.empty() || opener.empty())
        return;
    ProcessLauncher::spawnDetached({opener, host}, ProcessLauncher::currentEnvironment());
}

} // namespace platform
