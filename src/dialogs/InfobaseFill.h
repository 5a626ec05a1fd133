#pragma once
#include "widgets/SectionBarData.h"

#include <optional>
#include <string>

class QWidget;

namespace dialogs {

// The six texts of an infobase as the infobase dialog sees them (the password plain).
struct InfobaseTexts {
    std::string name;
    std::string path;
    std::string userName;
    std::string password;
    std::string userPath;
    std::string prmFile;
};

// One infobase row: its texts and the ids of its category and division (0 when blank).
struct InfobaseRecord : InfobaseTexts {
    long long category = 0;
    long long division = 0;
};

// A user picked in the user list: the name and the plain password.
struct UserChoice {
    std::string userName;
    std::string password;
};

// What the infobase dialog reads beyond its own fields. The program answers from the data
// module, the main window's bars and the explorer window; tests answer from a script.
class InfobaseSource {
public:
    virtual ~InfobaseSource() = default;
    virtual InfobaseRecord currentInfobase() = 0; // the current row of dbfFolder
    virtual std::string explorerDirectory() = 0;  // SelectedDirectory of the explorer, ends with "\"
    virtual widgets::SectionBarData categoryBar() = 0;
    virtual widgets::SectionBarData divisionBar() = 0;
    // Runs the user list with this owner; the user chosen, or nothing when it was cancelled.
    virtual std::optional<UserChoice> chooseUser(QWidget* owner) = 0;
};

// The texts the infobase dialog opens with.
struct InfobaseFill : InfobaseTexts {
    std::string category; // "section, item", or empty
    std::string division;
};

// Mode 0 (new: the next default name), 1 (the current row with its classification) or 2 (new,
// in the explorer's directory). Modes 0 and 2 advance the default-name counter on every call.
InfobaseFill fillInfobaseDialog(int mode, InfobaseSource& source);

// "Section, item" of the bar item with this id, walking the sections and their items in order:
// the last match wins; empty when no item has the id (0 and negative ids never match).
std::string classificationCaption(const widgets::SectionBarData& bar, long long id);

// A chosen directory as the path fields hold it: with one trailing "\" (a drive root such as
// "C:\" already has it).
std::string withTrailingBackslash(const std::string& directory);

} // namespace dialogs
