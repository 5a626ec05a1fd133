#pragma once
#include <optional>
#include <string>

namespace data {

// What the infobase dialog hands back (mode 0 new, 1 edit of the current row, 2 new row for the
// explorer window's directory).
struct InfobaseDialogResult {
    bool confirmed = false;
    std::string name;
    std::string path;
    std::string userName;
    std::string password; // typed, not scrambled
    std::string userPath;
    std::string prmFile;
};

// What the executable dialog hands back (mode 0 new, 1 edit); both empty when cancelled.
struct ExecutableDialogResult {
    std::string name;
    std::string path;
};

// The windows the data module runs. The program plugs in the real dialogs; tests script answers.
class DataModuleUi {
public:
    virtual ~DataModuleUi() = default;
    // The dialog is created, run and destroyed inside the call.
    virtual InfobaseDialogResult runInfobaseDialog(int mode) = 0;
    virtual ExecutableDialogResult runExecutableDialog(int mode) = 0;
    // A question with the buttons Yes and No; true for Yes.
    virtual bool askYesNo(const std::string& question) = 0;
    // The text of the user list dialog's password edit when the user changed it since the row
    // was shown; std::nullopt when unchanged (the stored, scrambled value stays).
    virtual std::optional<std::string> editedUserPassword() = 0;
};

} // namespace data
