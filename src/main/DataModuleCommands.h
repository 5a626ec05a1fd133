#pragma once
#include "main/ClassificationData.h"
#include "main/MainCommands.h"

#include <functional>

namespace data {
class TDM;
}
namespace launch {
class Application;
class TC1C;
} // namespace launch
namespace platform {
class Shell;
}
namespace settings {
class SettingsView;
}
namespace widgets {
class DataSetListModel;
}

namespace mainwin {

// The main window's commands and the bars' needs carried out on the data module, the launcher
// and the shell. After every record command the two list models re-read their data sets.
class DataModuleCommands : public MainCommands, public ClassificationData {
public:
    struct Parts {
        data::TDM* dm = nullptr;
        launch::TC1C* launcher = nullptr;
        platform::Shell* shell = nullptr;
        launch::Application* application = nullptr;
        widgets::DataSetListModel* programs = nullptr;
        widgets::DataSetListModel* folders = nullptr;
        // The live settings (the settings window once it exists).
        std::function<const settings::SettingsView*()> settings;
    };

    explicit DataModuleCommands(Parts parts) : m_parts(std::move(parts)) {}
    // The application exists only with the main window, which is created after the commands.
    void setApplication(launch::Application* application) { m_parts.application = application; }

    // MainCommands
    void addExecutable() override;
    void editExecutable() override;
    void deleteExecutable() override;
    void addInfobase() override;
    void editInfobase() override;
    void deleteInfobase() override;
    void clearClassification(int kind) override;
    void startEnterprise(app::LaunchSource source) override;
    std::string executablePath() override;
    std::string infobasePath() override;
    std::string infobaseUser() override;
    void openInfobaseDirectory(bool explore) override;
    int executableRow() override;
    void setExecutableRow(int row) override;
    int infobaseRow() override;
    void setInfobaseRow(int row) override;

    // ClassificationData
    void applyFilter(app::FilterMode mode) override;
    void assignClassification(int categoryId, int divisionId) override;
    bool isItemUsed(BarKind kind, std::int32_t id) override;

    // Both list models re-read their data sets.
    void reloadLists();

private:
    // Runs a record command; whatever happens, the lists show the tables afterwards.
    void recordCommand(const std::function<void()>& command);

    Parts m_parts;
};

} // namespace mainwin
