#include "widgets/ColorButton.h"

#include "widgets/ColorPopup.h"
#include "widgets/ColorTable.h"
#include "widgets/ColorValue.h"

#include <QColorDialog>
#include <QEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace widgets {

ColorButton::ColorButton(QWidget* parent) : QPushButton(parent), m_color(kColorGray), m_popup(new ColorPopup(this)) {
    setAutoDefault(false);
    setFocusPolicy(Qt::StrongFocus);
    m_picker = [](const QColor& initial, QWidget* owner) -> std::optional<QColor> {
        QColor chosen = QColorDialog::getColor(initial, owner, QStringLiteral("Цвет"));
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    };
    connect(this, &QPushButton::clicked, this, &ColorButton::showPopup);
    connect(m_popup, &ColorPopup::colorPicked, this, [this](std::uint32_t value) {
        setActiveColor(value);
        setFocus(Qt::PopupFocusReason);
    });
    connect(m_popup, &ColorPopup::moreColorsRequested, this, &ColorButton::pickOtherColor);
    refreshSwatch();
}

void ColorButton::setActiveColor(std::uint32_t value) {
    if (value == m_color)
        return;
    m_color = value;
    refreshSwatch();
    emit activeColorChanged(m_color);
}

void ColorButton::setColorPicker(ColorPicker picker) {
    m_picker = std::move(picker);
}

void ColorButton::showPopup() {
    m_popup->popUp(mapToGlobal(rect().bottomLeft()), m_color);
}

void ColorButton::pickOtherColor() {
    if (!m_picker)
        return;
    if (std::optional<QColor> chosen = m_picker(resolveColor(m_color, palette()), this))
        setActiveColor(toColorValue(*chosen));
}

void ColorButton::refreshSwatch() {
    setToolTip(colorValueDisplayName(m_color));
    update();
}

QSize ColorButton::sizeHint() const {
    return QSize(64, QPushButton::sizeHint().height());
}

// The button's own bevel with the colour drawn inside it instead of a caption.
void ColorButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);
    QRect swatch = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(3, 3, -3, -3);
    QColor color = resolveColor(m_color, palette());
    if (!isEnabled())
        color = QColor::fromHsv(color.hsvHue(), color.hsvSaturation() / 3, (color.value() + 2 * 192) / 3);
    painter.fillRect(swatch, color);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

void ColorButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        refreshSwatch();
}

} // namespace widgets
