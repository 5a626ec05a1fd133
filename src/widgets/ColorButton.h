#pragma once
#include <QColor>
#include <QPushButton>
#include <cstdint>
#include <functional>
#include <optional>

namespace widgets {

class ColorPopup;

// A button that shows its active colour; a click (or Space) opens a palette of fixed colours with
// an entry "Авто" (black) and a button "Другие цвета" that opens the colour dialog.
class ColorButton : public QPushButton {
    Q_OBJECT
public:
    // Asks the user for any colour, starting at `initial`; nullopt when cancelled.
    using ColorPicker = std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;

    explicit ColorButton(QWidget* parent = nullptr);

    std::uint32_t activeColor() const { return m_color; }
    void setActiveColor(std::uint32_t value);
    ColorPopup* popup() const { return m_popup; }
    // Replaces the colour dialog behind "Другие цвета" (tests use this).
    void setColorPicker(ColorPicker picker);

    QSize sizeHint() const override;

public slots:
    void showPopup();

signals:
    void activeColorChanged(std::uint32_t value);

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void pickOtherColor();
    void refreshSwatch();

    std::uint32_t m_color;
    ColorPopup* m_popup;
    ColorPicker m_picker;
};

} // namespace widgets
