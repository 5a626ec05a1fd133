#pragma once
#include "app/LaunchSource.h"

#include <string>

// What the main window's commands do. The window only decides which command runs; the program
// carries them out on the data module and the launcher, tests record them.
namespace mainwin {

class MainCommands {
public:
    virtual ~MainCommands() = default;

    // Record operations on the current rows (confirmations and dialogs included).
    virtual void addExecutable() = 0;
    virtual void editExecutable() = 0;
    virtual void deleteExecutable() = 0;
    virtual void addInfobase() = 0;
    virtual void editInfobase() = 0;
    virtual void deleteInfobase() = 0;
    // "Отключить принадлежность": 1 category, 2 division, 3 both.
    virtual void clearClassification(int kind) = 0;

    // The launch and the after-launch rule.
    virtual void startEnterprise(app::LaunchSource source) = 0;

    // Fields of the current rows for the text lines under the lists.
    virtual std::string executablePath() = 0; // PATH of the current executable
    virtual std::string infobasePath() = 0;   // PATH of the current infobase
    virtual std::string infobaseUser() = 0;   // USERNAME of the current infobase

    // "Открыть каталог базы": the directory of the current infobase in a file manager.
    virtual void openInfobaseDirectory(bool explore) = 0;

    // The current rows as rows of the list models (-1: none), and moving them with the
    // selection of the lists.
    virtual int executableRow() = 0;
    virtual void setExecutableRow(int row) = 0;
    virtual int infobaseRow() = 0;
    virtual void setInfobaseRow(int row) = 0;
};

} // namespace mainwin
