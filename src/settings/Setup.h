#pragma once
#include "settings/AutoStart.h"
#include "settings/SettingsView.h"
#include "settings/SetupServices.h"

#include <QDialog>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

class QPushButton;
class QTabWidget;

namespace settings {

class IniFile;
class KeyGrid;
class SetupControls;

// Unit Setup: the settings window. Created once at start-up and kept hidden; its controls are the
// live settings (SettingsView answers from them, never from the file). Every showing reloads the
// stored values; OK and Apply apply the appearance and the autostart choice, then save; Cancel
// and Escape reload and close; the title-bar close only hides, leaving the edits in effect.
class TfrmSetup : public QDialog, public SettingsView {
    Q_OBJECT
public:
    // Sets up the grid, opens its own accessor on iniPath and runs LoadSettings, UpdateEnabling
    // and ApplyAppearance. The window stays hidden.
    explicit TfrmSetup(const std::filesystem::path& iniPath, SetupServices services = {}, QWidget* parent = nullptr);
    ~TfrmSetup() override;

    // Every control from the file (missing keys: defaults); the action map last.
    void LoadSettings();
    // Every key from the controls. A key that cannot be written stops the save; the error goes to
    // the error report and false is returned.
    bool SaveSettings();
    // The enabling rules: cbxAnimate follows cbxSysTray, the check group boxes their tick, the
    // colour controls the colour rule.
    void UpdateEnabling();
    void ApplyAppearance();
    // Raises what the autostart step raises.
    void ApplyAutoStart();

    // SettingsView: the controls' state at the moment of the call.
    bool sysTray() const override;
    bool animate() const override;
    bool clearRegistryOnDelete() const override;
    bool rememberFilter() const override;
    int shortcutMatchMode() const override;
    bool defaultBatchFileOn() const override;
    std::string defaultBatchFile() const override;
    bool batchFileIfAbsent() const override;
    bool batchFileIfPresent() const override;
    bool locateInExplorer() const override;
    bool minimizeAfterLaunch() const override;
    bool closeAfterLaunch() const override;
    bool minimizeOnEscape() const override;

    // The "Оформление" page, read by the appearance step.
    bool standardForm() const;              // rbnStandardForm
    bool defaultForm() const;               // rbnDefaultForm
    bool colorForm() const;                 // rbnColorForm
    std::uint32_t defaultFormColor() const; // cbnDefaultForm, the selected colour
    std::uint32_t colorFormColor() const;   // cbnColorForm, the active colour
    bool standardBars() const;              // rbnStandard
    bool simpleBars() const;                // rbnSimple
    bool gradientBars() const;              // rbnGradient
    std::uint32_t simpleColor() const;      // cbnSimple
    std::uint32_t fromColor() const;        // cbnFrom
    std::uint32_t toColor() const;          // cbnTo
    bool standardButtons() const;           // rbnStandardButton
    bool colorButtons() const;              // rbnColorButton
    bool simpleButtons() const;             // rbnSimpleButton
    std::uint32_t buttonColor() const;      // cbnButtonColor, the selected colour

    // The five ticks the autostart step works from.
    AutoStart::Choice autoStartChoice() const;

public slots:
    // Cancel and Escape: the stored values come back, then the window closes.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    // The title-bar close: hides the window without reloading or saving.
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildButtons();
    void connectRules();
    // Appearance, autostart, save; false when an error stopped them before the save.
    bool applyAndSave();
    void onOk();
    void onApply();
    void onBrowsePrmFile();
    void onGridEdited(int row);
    void onControlToggled();
    void updateColorEnabling();
    void reportError(const std::string& message);
    bool isChecked(const char* control) const;
    std::uint32_t colorOf(const char* control) const;

    SetupServices m_services;
    std::string& m_map;
    std::unique_ptr<IniFile> m_ini;
    QTabWidget* m_pages = nullptr;
    KeyGrid* m_grid = nullptr;
    std::unique_ptr<SetupControls> m_controls;
};

} // namespace settings
