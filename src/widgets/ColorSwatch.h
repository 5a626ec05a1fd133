#pragma once
#include <QIcon>
#include <QSize>
#include <cstdint>

class QPalette;

namespace widgets {

// Small framed pictures of a colour for lists and buttons.
class ColorSwatch {
public:
    static QIcon icon(std::uint32_t value, const QPalette& palette, QSize size = QSize(16, 12));
};

} // namespace widgets
