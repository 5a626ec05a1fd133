#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace app {

class TarveskApplication;

// The running instance: the settings-file object MainIni, the platform of the Wine prefix, the
// data module and the windows, created in the fixed start-up order and alive until the end.
class Program {
public:
    // executable: the program's own file as the host names it; its directory is the program's
    // directory (tables, .cfg files, "Tarvesk.ini"), and the autostart entries start it.
    // bridgeDirectory: where the Wine helpers tarvesk-bridge32.exe and tarvesk-bridge64.exe are.
    Program(TarveskApplication& application, std::filesystem::path executable,
            const std::filesystem::path& bridgeDirectory);
    ~Program();

    // Creates the data module and the windows, in order; errors are reported and skipped.
    void create();
    // Shows the main window (the message loop then runs).
    void show();
    // A second start posted the activation message.
    void activate();

private:
    struct Parts;
    using Report = std::function<void(const std::string&)>;
    void createDataModule(const Report& report);
    void createMainWindow(const Report& report);

    TarveskApplication& m_application;
    std::filesystem::path m_executable;
    std::filesystem::path m_directory;
    std::unique_ptr<Parts> m_parts;
};

} // namespace app
