#pragma once
#include "settings/SettingsView.h"

#include <string>

namespace testsupport {

// Live settings as plain fields: a test sets what the settings window's controls would show.
struct FakeSettingsView : settings::SettingsView {
    bool sysTrayOn = false;
    bool animateOn = false;
    bool clearRegistry = false;
    bool rememberFilterOn = false;
    int shortcutMode = 0;
    bool prmFileGroup = false;
    std::string prmFile;
    bool prmFileAbsent = false;
    bool prmFilePresent = false;
    bool locate = false;
    bool minimize = false;
    bool close = false;
    bool escapeMinimizes = false;

    bool sysTray() const override { return sysTrayOn; }
    bool animate() const override { return animateOn; }
    bool clearRegistryOnDelete() const override { return clearRegistry; }
    bool rememberFilter() const override { return rememberFilterOn; }
    int shortcutMatchMode() const override { return shortcutMode; }
    bool defaultBatchFileOn() const override { return prmFileGroup; }
    std::string defaultBatchFile() const override { return prmFile; }
    bool batchFileIfAbsent() const override { return prmFileAbsent; }
    bool batchFileIfPresent() const override { return prmFilePresent; }
    bool locateInExplorer() const override { return locate; }
    bool minimizeAfterLaunch() const override { return minimize; }
    bool closeAfterLaunch() const override { return close; }
    bool minimizeOnEscape() const override { return escapeMinimizes; }
};

} // namespace testsupport
