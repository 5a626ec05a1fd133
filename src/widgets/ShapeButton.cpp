#include "widgets/ShapeButton.h"

#include "widgets/ColorTable.h"
#include "widgets/ColorValue.h"

#include <QEnterEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace widgets {
namespace {

constexpr int kRadius = 6;
constexpr int kPadding = 8;

// Text colour that stays readable on the fill.
QColor textColorOn(const QColor& fill) {
    return fill.lightnessF() < 0.45 ? QColor(Qt::white) : QColor(Qt::black);
}

} // namespace

ShapeButton::ShapeButton(QWidget* parent) : ShapeButton(QString(), parent) {}

ShapeButton::ShapeButton(const QString& text, QWidget* parent)
    : QAbstractButton(parent), m_pressed(kColorBtnFace), m_hover(kColorBtnFace), m_normal(kColorBtnFace) {
    setText(text);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
}

void ShapeButton::setPressedColor(std::uint32_t value) {
    setColors(value, m_hover, m_normal);
}

void ShapeButton::setHoverColor(std::uint32_t value) {
    setColors(m_pressed, value, m_normal);
}

void ShapeButton::setNormalColor(std::uint32_t value) {
    setColors(m_pressed, m_hover, value);
}

void ShapeButton::setColors(std::uint32_t pressed, std::uint32_t hover, std::uint32_t normal) {
    m_pressed = pressed;
    m_hover = hover;
    m_normal = normal;
    update();
}

bool ShapeButton::isBold() const {
    return font().bold();
}

void ShapeButton::setBold(bool bold) {
    QFont f = font();
    f.setBold(bold);
    setFont(f);
    updateGeometry();
}

void ShapeButton::setFocusOnClick(bool on) {
    setFocusPolicy(on ? Qt::StrongFocus : Qt::TabFocus);
}

QSize ShapeButton::sizeHint() const {
    QFontMetrics fm = fontMetrics();
    int width = fm.horizontalAdvance(text()) + 2 * kPadding;
    int height = fm.height() + 10;
    if (!icon().isNull()) {
        width += iconSize().width() + 4;
        height = std::max(height, iconSize().height() + 8);
    }
    return QSize(std::max(width, 75), height);
}

QSize ShapeButton::minimumSizeHint() const {
    return QSize(2 * kRadius + 8, fontMetrics().height() + 4);
}

void ShapeButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    std::uint32_t value = isDown() || isChecked() ? m_pressed : (m_hovered && isEnabled() ? m_hover : m_normal);
    QColor fill = resolveColor(value, palette());

    QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(frame, kRadius, kRadius);
    painter.fillPath(path, fill);
    painter.setPen(QPen(fill.darker(150), 1));
    painter.drawPath(path);

    QRect content = rect().adjusted(kPadding, 2, -kPadding, -2);
    if (!icon().isNull()) {
        QSize size = iconSize();
        QRect iconRect(content.left(), content.top() + (content.height() - size.height()) / 2, size.width(),
                       size.height());
        icon().paint(&painter, iconRect, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
        content.setLeft(iconRect.right() + 4);
    }
    painter.setPen(isEnabled() ? textColorOn(fill) : palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(content, Qt::AlignCenter | Qt::TextShowMnemonic, text());

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(3, 3, -3, -3);
        option.backgroundColor = fill;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void ShapeButton::enterEvent(QEnterEvent* event) {
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ShapeButton::leaveEvent(QEvent* event) {
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace widgets
