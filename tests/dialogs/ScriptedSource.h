#pragma once
#include "dialogs/InfobaseFill.h"

namespace dialogtest {

using widgets::SectionBarData;

// What the infobase dialog reads, as plain fields.
struct ScriptedSource : dialogs::InfobaseSource {
    dialogs::InfobaseRecord row;
    std::string explorer = "C:\\Explorer\\Base\\";
    SectionBarData categories;
    SectionBarData divisions;
    int rowReads = 0;

    dialogs::InfobaseRecord currentInfobase() override {
        ++rowReads;
        return row;
    }
    std::string explorerDirectory() override { return explorer; }
    SectionBarData categoryBar() override { return categories; }
    SectionBarData divisionBar() override { return divisions; }
    // The user list's answer: the chosen user, or nothing for a cancelled list.
    std::optional<dialogs::UserChoice> chosenUser;
    int userListRuns = 0;
    std::optional<dialogs::UserChoice> chooseUser(QWidget*) override {
        ++userListRuns;
        return chosenUser;
    }
};

} // namespace dialogtest
