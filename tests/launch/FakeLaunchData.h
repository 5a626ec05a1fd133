#pragma once
#include "launch/LaunchData.h"
#include "launch/UserSwitches.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// Table folder as a vector, with the current rows of the infobase list and of the look-up set.
class FakeLaunchData : public launch::LaunchData {
public:
    struct Row {
        std::string name, path, userName, password, userPath, prmFile; // password plain
    };

    std::string executable;
    std::vector<Row> rows;
    std::optional<std::size_t> folderRow; // current row of the infobase list
    std::optional<std::size_t> searchRow; // current row of the look-up data set
    // What the registration dialog does: store a row (and answer true) or be cancelled.
    std::function<bool(FakeLaunchData&)> onRegister = [](FakeLaunchData&) { return false; };
    int registerCalls = 0;

    std::string ExecutablePath() override { return executable; }
    std::string InfobasePath() override { return current(launch::FolderSet::dbfFolder).path; }
    std::string InfobaseName() override { return current(launch::FolderSet::dbfFolder).name; }
    std::string InfobasePrmFile(launch::FolderSet set) override { return current(set).prmFile; }
    std::string UserSwitches(bool withPassword, launch::FolderSet set) override {
        const Row row = current(set);
        return launch::ComposeUserSwitches(row.userName, row.password, row.userPath, withPassword);
    }
    std::string InfobasePassword(launch::FolderSet set) override { return current(set).password; }
    bool LocateInfobase(launch::FolderSet set, const std::string& path) override {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (upper(rows[i].path) == upper(path)) {
                slot(set) = i;
                return true;
            }
        }
        return false;
    }
    bool RegisterExplorerInfobase() override {
        ++registerCalls;
        return onRegister(*this);
    }

private:
    static std::string upper(std::string s) {
        for (char& c : s)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return s;
    }
    std::optional<std::size_t>& slot(launch::FolderSet set) {
        return set == launch::FolderSet::dbfFolder ? folderRow : searchRow;
    }
    Row current(launch::FolderSet set) {
        const auto index = slot(set);
        return index && *index < rows.size() ? rows[*index] : Row{};
    }
};

} // namespace testsupport
