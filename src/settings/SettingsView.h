#pragma once
#include <string>

namespace settings {

// Read-only view of the live settings. The settings window's controls are the settings: every
// reader asks at the moment it needs a value and never reads the file. The settings window
// implements this; tests fake it.
class SettingsView {
public:
    virtual ~SettingsView() = default;

    // "Общие"
    virtual bool sysTray() const = 0;               // cbxSysTray
    virtual bool animate() const = 0;               // cbxAnimate
    virtual bool clearRegistryOnDelete() const = 0; // cbxReestr
    virtual bool rememberFilter() const = 0;        // cbxFilter
    virtual int shortcutMatchMode() const = 0;      // cmbShortCut: 0, 1, 2, or -1 when nothing is selected

    // "Запуск 1С"
    virtual bool defaultBatchFileOn() const = 0;      // cgbPrmFile
    virtual std::string defaultBatchFile() const = 0; // edtPrmFile
    virtual bool batchFileIfAbsent() const = 0;       // cbxPrmFileAbsent
    virtual bool batchFileIfPresent() const = 0;      // cbxPrmFilePresent
    virtual bool locateInExplorer() const = 0;        // cbxLocate
    virtual bool minimizeAfterLaunch() const = 0;     // rbnMinimize
    virtual bool closeAfterLaunch() const = 0;        // rbnClose

    // "Управление"
    virtual bool minimizeOnEscape() const = 0; // cbxMinimize
};

} // namespace settings
