#include "launch/StartEnterprise.h"

#include "launch/Class1C.h"
#include "launch/LaunchViews.h"
#include "settings/SettingsView.h"

namespace launch {

void ApplyAfterLaunchRule(const settings::SettingsView& settings, Application& application) {
    if (settings.minimizeAfterLaunch())
        application.minimizeApplication();
    else if (settings.closeAfterLaunch())
        application.terminateApplication();
}

void StartEnterprise(TC1C& launcher, app::LaunchSource source, const settings::SettingsView& settings,
                     Application& application) {
    launcher.Launch(source);
    ApplyAfterLaunchRule(settings, application);
}

} // namespace launch
