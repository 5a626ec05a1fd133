#include "platform/posix/PosixShell.h"

#include "platform/posix/BridgeFields.h"
#include "platform/posix/CommandLineSplitter.h"
#include "platform/posix/PeHeader.h"
#include "platform/posix/ProcessLauncher.h"
#include "platform/posix/WineBridge.h"

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

bool isUncPath(const std::string& path) {
    return path.size() > 2 && path[0] == '\\' && path[1] == '\\';
}

bool hasDrive(const std::string& path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

// UTF-16 units of UTF-8 text: one per character, two for one outside the Basic Multilingual Plane.
std::size_t utf16Units(const std::string& text) {
    std::size_t units = 0;
    for (const unsigned char c : text) {
        if ((c & 0xC0) != 0x80)
            ++units;
        if (c >= 0xF0)
            ++units;
    }
    return units;
}

} // namespace

const char* const PosixShell::noRussianLocaleNotice =
    "В системе нет русской локали ru_RU.UTF-8, поэтому 1С:Предприятие получит русские буквы командной "
    "строки (каталог базы, имя пользователя, пароль) как «?». Чтобы добавить локаль, выполните с правами "
    "root: раскомментируйте строку «ru_RU.UTF-8 UTF-8» в файле /etc/locale.gen и запустите locale-gen "
    "(или выберите её в dpkg-reconfigure locales). Запуск продолжается.";

PosixShell::PosixShell(const PathMapper& paths, const WineBridge& bridge, LocaleProbe hasRussianLocale)
    : m_paths(paths), m_bridge(bridge),
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

std::string PosixShell::blankPassword(const std::string& commandLine, const std::string& password) {
    if (password.empty())
        return commandLine;
    const std::string switchText = " /p" + password;
    const std::string blanked = " /p" + std::string(utf16Units(password), ' ');
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = commandLine.find(switchText); at != std::string::npos;
         at = commandLine.find(switchText, from)) {
        out.append(commandLine, from, at - from);
        out += blanked;
        from = at + switchText.size();
    }
    out.append(commandLine, from, std::string::npos);
    return out;
}

pid_t PosixShell::startThroughWine(const std::string& program, const std::string& arguments,
                                   const std::string& password) {
    // Wine starts a program by its Windows path: a drive it knows, or a UNC path.
    std::string windows;
    if (isUncPath(program))
        windows = program;
    else if (hasDrive(program) && !m_paths.toHost(program).empty())
        windows = program;
    else if (program.front() == '/')
        windows = m_paths.toWindows(program);
    if (windows.empty())
        return -1;

    WineBridge::Variables variables;
    // Wine takes the ANSI code page from the locale; 1C:Enterprise needs Windows-1251.
    if (!localeGivesCp1251()) {
        if (m_hasRussianLocale()) {
            variables.emplace_back("LC_ALL", "ru_RU.UTF-8");
        } else if (!m_noticeGiven && m_notice) {
            m_noticeGiven = true;
            m_notice(noRussianLocaleNotice);
        }
    }
    const std::string line = "\"" + windows + "\"" + (arguments.empty() ? "" : " " + arguments);
    BridgeWriter request;
    request.field("run").field(windows).field(line).field(blankPassword(line, password));
    // 1C:Enterprise 7.7 is a 32-bit program; a program known to be 64-bit gets the 64-bit helper.
    const bool sixtyFour = peKindOf(m_paths.toHost(windows)) == PeKind::sixtyFourBit;
    return m_bridge.start(request.bytes(), sixtyFour, variables);
}

pid_t PosixShell::start(const std::string& program, const std::string& arguments, const std::string& password) {
    if (program.empty())
        return -1;
    if (endsWithExe(program))
        return startThroughWine(program, arguments, password);
    const std::string host = m_paths.toHost(program);
    if (host.empty())
        return -1;
    std::vector<std::string> argv{host};
    for (auto& argument : splitCommandLine(arguments))
        argv.push_back(std::move(argument));
    return ProcessLauncher::spawnDetached(argv, ProcessLauncher::currentEnvironment());
}

void PosixShell::runProgram(const std::string& program, const std::string& arguments, const std::string& password) {
    start(program, arguments, password);
}

void PosixShell::openDirectory(const std::string& directory, bool /*explore: file managers show their own tree*/) {
    const std::string host = m_paths.toHost(directory);
    const std::string opener = ProcessLauncher::findOnPath("xdg-open");
    if (host.empty() || opener.empty())
        return;
    ProcessLauncher::spawnDetached({opener, host}, ProcessLauncher::currentEnvironment());
}

} // namespace platform
