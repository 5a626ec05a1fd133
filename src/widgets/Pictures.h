#pragma once
#include <QIcon>
#include <QString>

namespace widgets {

// A picture of the program's resource file (resources/pictures), by file name ("tray.png").
// A name the resource file lacks gives a null icon.
QIcon picture(const QString& name);

} // namespace widgets
