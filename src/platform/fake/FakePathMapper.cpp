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
    std::string host = it->second == "/" ? std::string() : it->second;
    if (rest.empty() || rest.front() != '/')
        host += '/';
    host += rest;
    return host;
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
    std::string windows{best->first, ':'};
    for (const char c : hostPath.substr(best->second == "/" ? 0 : best->second.size()))
        windows.push_back(c == '/' ? '\\' : c);
    if (windows.size() == 2)
        windows.push_back('\\');
    return windows;
}

std::vector<std::pair<char, std::string>> FakePathMapper::drives() const {
    if (m_drives.empty())
        return {{'Z', "/"}};
    return {m_drives.begin(), m_drives.end()};
}

} // namespace platform
