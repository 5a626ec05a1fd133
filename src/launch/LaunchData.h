#pragma once
#include <string>

namespace launch {

// The two folder data sets a launch reads rows from: the infobase list, or the look-up data set
// that ignores the list's filter.
enum class FolderSet { dbfFolder, dbfSearch };

// What the launcher needs of the data module. The data module implements it; tests fake it.
// Every getter answers for the current row and gives "" when there is none.
class LaunchData {
public:
    virtual ~LaunchData() = default;

    virtual std::string ExecutablePath() = 0; // PATH of the current executable row
    virtual std::string InfobasePath() = 0;   // PATH of the current infobase list row
    virtual std::string InfobaseName() = 0;   // NAME of the current infobase list row
    virtual std::string InfobasePrmFile(FolderSet set) = 0;
    // " /n" user, " /p" plain password (only withPassword), " /u" user directory, each when not empty.
    virtual std::string UserSwitches(bool withPassword, FolderSet set) = 0;
    // The plain (unscrambled) password of the current row.
    virtual std::string InfobasePassword(FolderSet set) = 0;
    // Makes the row whose PATH equals path (without regard to case) current in the data set; the
    // current row stays when none matches. The look-up data set first takes in rows stored since.
    virtual bool LocateInfobase(FolderSet set, const std::string& path) = 0;
    // Runs the infobase dialog for the explorer window's directory; true when a row was stored.
    virtual bool RegisterExplorerInfobase() = 0;
};

} // namespace launch
