#include "platform/fake/FakePathMapper.h"

#include <cctype>

namespace platform {

namespace {

char upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

} // namespace

void FakePathMapper::addDrive(char letter, const std::string& root) {
    m_drives[upper(letter)] = root;
}

std::string FakePathMapper::toHost(const std::string& windowsPath) const {
    if (!windowsPath.empty() && windowsPath.front() == '/')
        return windowsPath;
    if (windowsPath.size() < 2 || windowsPath[1] != ':')
        return {};
    const auto drives = m_drives.empty() ? std::map<char, std::string>{{'Z', "/"}} : m_drives;
    const auto it = drives.find(upper(windowsPath[0]));
    if (it == drives.end())
        return {};
    std::string rest = windowsPath.substr(2);
    for (char& c : rest)
        if (c == '\\')
            c = '/';
    if (rest.empty() || rest.front() != '/')
        rest.insert(rest.begin(), '/');
    return it->second == "/" ? rest : it->second + rest;
}

std::string FakePathMapper::toWindows(const std::string& hostPath) const {
    const auto drives = m_drives.empty() ? std::map<char, std::string>{{'Z', "/"}} : m_drives;
    const std::pair<const char, std::string>* best = nullptr;
    for (const auto& drive : drives) {
        const std::string& root = drive.second;
        const bool holds = root == "/" ? hostPath.rfind('/', 0) == 0
                                       : hostPath.rfind(root, 0) == 0 &&
                                             (hostPath.size() == root.size() || hostPath[root.size()] == '/');
        if (holds && (!best || root.size() > best->second.size()))
            best = &drive;
    }
    if (!best)
        return {};
    std::string rest = hostPath.substr(best->second == "/" ? 0 : best->second.size());
    for (char& c : rest)
        if (c == '/')
            c = '\\';
    if (rest.empty())
        rest = "\\";
    return std::string(1, best->first) + ":" + rest;
}

} // namespace platform
