#pragma once
#include "data/DataModuleUi.h"
#include "dialogs/DialogServices.h"
#include "dialogs/InfobaseFill.h"

#include <functional>

class QWidget;

namespace data {
class TDM;
}

namespace dialogs {

class TfrmUser;

// The data module's windows: the infobase and executable dialogs, the Yes/No question in a box
// captioned "Tarvesk", and the user list's typed password for dbfUserBeforePost. Each dialog is
// created for one run, owned by the main window, and destroyed afterwards.
class DialogUi : public data::DataModuleUi, private InfobaseSource {
public:
    DialogUi(data::TDM& dm, DialogServices services);
    ~DialogUi() override;

    // The window the dialogs are centred on (the main window, created after the data module).
    void setOwner(QWidget* owner) { m_owner = owner; }
    // The main window's bars, read for the classification display of an edited infobase.
    void setBars(std::function<widgets::SectionBarData()> category, std::function<widgets::SectionBarData()> division);
    // SelectedDirectory of the explorer window.
    void setExplorerDirectory(std::function<std::string()> directory);

    data::InfobaseDialogResult runInfobaseDialog(int mode) override;
    data::ExecutableDialogResult runExecutableDialog(int mode) override;
    bool askYesNo(const std::string& question) override;
    std::optional<std::string> editedUserPassword() override;

private:
    InfobaseRecord currentInfobase() override;
    std::string explorerDirectory() override;
    widgets::SectionBarData categoryBar() override;
    widgets::SectionBarData divisionBar() override;
    std::optional<UserChoice> chooseUser(QWidget* owner) override;

    data::TDM& m_dm;
    DialogServices m_services;
    QWidget* m_owner = nullptr;
    std::function<widgets::SectionBarData()> m_categoryBar;
    std::function<widgets::SectionBarData()> m_divisionBar;
    std::function<std::string()> m_explorerDirectory;
    TfrmUser* m_userList = nullptr; // while the user list runs
};

} // namespace dialogs
