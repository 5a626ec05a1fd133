#pragma once
#include <filesystem>
#include <memory>

namespace app {

class TarveskApplication;

// The running instance: the settings-file object MainIni, the platform of the Wine prefix, the
// data module and the windows, created in the fixed start-up order and alive until the end.
class Program {
public:
    // directory: the program's directory (tables, .cfg files, "Tarvesk.ini").
    Program(TarveskApplication& application, std::filesystem::path directory);
    ~Program();

    // Creates the data module and the windows, in order; errors are reported and skipped.
    void create();
    // Shows the main window (the message loop then runs).
    void show();
    // A second start posted the activation message.
    void activate();

private:
    struct Parts;
    TarveskApplication& m_application;
    std::filesystem::path m_directory;
    std::unique_ptr<Parts> m_parts;
};

} // namespace app
