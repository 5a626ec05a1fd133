#pragma once
#include <QColor>
#include <QPalette>
#include <QString>
#include <cstdint>

// Colour values (0x00BBGGRR or 0x80000000 + system index, see ColorTable.h) as Qt colours.
namespace widgets {

// The colour of a value: an RGB value decoded from BBGGRR; a system colour from the palette role
// that stands for it (button face -> Button, window -> Base, highlight -> Highlight, ...) or, where
// the palette has no such role, its fixed colour (application workspace is #ABABAB).
QColor resolveColor(std::uint32_t value, const QPalette& palette);
// The same against the application's palette (the desktop palette).
QColor resolveColor(std::uint32_t value);
// The RGB colour value (0x00BBGGRR) of a colour; alpha is dropped.
std::uint32_t toColorValue(const QColor& color);
// The name of a colour value for lists: a standard or system colour by its name, any other
// RGB value as "#RRGGBB", an unknown system colour as its number ("0x8000001F").
QString colorValueDisplayName(std::uint32_t value);

} // namespace widgets
