#include "widgets/ColorValue.h"

#include "widgets/ColorTable.h"

#include <QGuiApplication>
#include <optional>

namespace widgets {
namespace {

struct RoleOf {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Palette role of a system colour index, where Qt has one.
std::optional<RoleOf> paletteRoleOf(int index) {
    constexpr auto active = QPalette::Active;
    switch (index) {
    case 4:  // menu
    case 30: // menu bar
        return RoleOf{active, QPalette::Window};
    case 5: // window
        return RoleOf{active, QPalette::Base};
    case 7: // menu text
    case 8: // window text
        return RoleOf{active, QPalette::WindowText};
    case 13: // highlight
    case 29: // menu highlight
        return RoleOf{active, QPalette::Highlight};
    case 14: // highlight text
        return RoleOf{active, QPalette::HighlightedText};
    case 15: // button face
        return RoleOf{active, QPalette::Button};
    case 16: // button shadow
        return RoleOf{active, QPalette::Dark};
    case 17: // grey text
        return RoleOf{QPalette::Disabled, QPalette::WindowText};
    case 18: // button text
        return RoleOf{active, QPalette::ButtonText};
    case 20: // button highlight
        return RoleOf{active, QPalette::Light};
    case 21: // 3D dark shadow
        return RoleOf{active, QPalette::Shadow};
    case 22: // 3D light
        return RoleOf{active, QPalette::Midlight};
    case 23: // info text
        return RoleOf{active, QPalette::ToolTipText};
    case 24: // info background
        return RoleOf{active, QPalette::ToolTipBase};
    case 26: // hot light
        return RoleOf{active, QPalette::Link};
    default:
        return std::nullopt;
    }
}

QColor fromRgbValue(std::uint32_t rgb) {
    return QColor(redOf(rgb), greenOf(rgb), blueOf(rgb));
}

} // namespace

QColor resolveColor(std::uint32_t value, const QPalette& palette) {
    if (const SystemColorInfo* info = findSystemColor(value))
        if (auto role = paletteRoleOf(info->index))
            return palette.color(role->group, role->role);
    return fromRgbValue(fixedRgb(value));
}

QColor resolveColor(std::uint32_t value) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return fromRgbValue(fixedRgb(value));
    return resolveColor(value, QGuiApplication::palette());
}

std::uint32_t toColorValue(const QColor& color) {
    QColor rgb = color.toRgb();
    return rgbColorValue(static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
                         static_cast<std::uint8_t>(rgb.blue()));
}

QString colorValueDisplayName(std::uint32_t value) {
    std::string_view name = colorValueName(value);
    if (!name.empty())
        return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    if (isSystemColor(value))
        return QStringLiteral("0x%1")
            .arg(value, 8, 16, QLatin1Char('0'))
            .toUpper()
            .replace(QLatin1String("0X"), QLatin1String("0x"));
    return fromRgbValue(fixedRgb(value)).name(QColor::HexRgb).toUpper();
}

} // namespace widgets
