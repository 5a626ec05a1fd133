#pragma once
#include "app/LaunchSource.h"

namespace settings {
class SettingsView;
}

namespace launch {

class Application;
class TC1C;

// The after-launch setting: "Сворачивать" minimises the application, "Закрывать" ends it at once
// (without the main window's close query), "Не изменять" leaves it.
void ApplyAfterLaunchRule(const settings::SettingsView& settings, Application& application);

// Every launch: Launch on the launcher, then the after-launch rule, also when nothing started.
void StartEnterprise(TC1C& launcher, app::LaunchSource source, const settings::SettingsView& settings,
                     Application& application);

} // namespace launch
