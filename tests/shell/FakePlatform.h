#pragma once
#include <filesystem>
#include <map>
#include <string>

#include "platform/PathMapper.h"
#include "platform/ShellFolders.h"

namespace shelltest {

// Drive C: is a directory of the test; an absolute host path passes unchanged; nothing else maps.
class FakePathMapper : public platform::PathMapper {
public:
    explicit FakePathMapper(std::filesystem::path driveC) : m_driveC(std::move(driveC)) {}

    std::string toHost(const std::string& windowsPath) const override {
        if (!windowsPath.empty() && windowsPath.front() == '/')
            return windowsPath;
        if (windowsPath.size() < 2 || (windowsPath[0] != 'C' && windowsPath[0] != 'c') || windowsPath[1] != ':')
            return {};
        std::string rest = windowsPath.substr(2);
        for (char& c : rest) {
            if (c == '\\')
                c = '/';
        }
        return m_driveC.string() + rest;
    }
    std::string toWindows(const std::string& hostPath) const override {
        const auto root = m_driveC.string();
        if (hostPath.rfind(root, 0) != 0)
            return {};
        std::string rest = hostPath.substr(root.size());
        for (char& c : rest) {
            if (c == '/')
                c = '\\';
        }
        return "C:" + rest;
    }
    std::vector<std::pair<char, std::string>> drives() const override { return {{'C', m_driveC.string()}}; }

private:
    std::filesystem::path m_driveC;
};

// Folders by id; an id not set has no folder.
class FakeShellFolders : public platform::ShellFolders {
public:
    std::map<int, std::string> folders;

    std::string specialFolderPath(int csidl, bool) override {
        const auto it = folders.find(csidl);
        return it == folders.end() ? std::string() : it->second;
    }
};

} // namespace shelltest
