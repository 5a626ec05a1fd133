#pragma once
#include <string>

class QWidget;

namespace settings {

// The four pages of the settings window. Every control gets its given name as objectName; the
// settings window finds them by name. Radios are not auto-exclusive: each group box forms one
// exclusive group that may have none ticked (the settings window keeps it so).
QWidget* buildGeneralPage();                 // "Общие"
QWidget* buildLaunchPage();                  // "Запуск 1С"
QWidget* buildControlPage(QWidget* keyGrid); // "Управление", around the action grid
QWidget* buildAppearancePage();              // "Оформление"

} // namespace settings
