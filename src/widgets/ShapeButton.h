#pragma once
#include <QAbstractButton>
#include <cstdint>

namespace widgets {

// A flat button with rounded corners whose fill has three colours: while pressed, while the
// pointer is over it, and otherwise. The colours are colour values (see ColorTable.h), resolved
// when the button is painted, so system colours follow the desktop palette. By default the button
// takes the focus only by Tab, not by a click (setFocusOnClick changes that).
class ShapeButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit ShapeButton(QWidget* parent = nullptr);
    ShapeButton(const QString& text, QWidget* parent = nullptr);

    std::uint32_t pressedColor() const { return m_pressed; }
    std::uint32_t hoverColor() const { return m_hover; }
    std::uint32_t normalColor() const { return m_normal; }
    void setPressedColor(std::uint32_t value);
    void setHoverColor(std::uint32_t value);
    void setNormalColor(std::uint32_t value);
    void setColors(std::uint32_t pressed, std::uint32_t hover, std::uint32_t normal);

    bool isBold() const;
    void setBold(bool bold);
    bool focusOnClick() const { return focusPolicy() == Qt::StrongFocus; }
    void setFocusOnClick(bool on);
    // True while the pointer is over the button (tracked from enter and leave events).
    bool isHovered() const { return m_hovered; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    std::uint32_t m_pressed;
    std::uint32_t m_hover;
    std::uint32_t m_normal;
    bool m_hovered = false;
};

} // namespace widgets
