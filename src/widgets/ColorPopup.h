#pragma once
#include <QFrame>
#include <QList>
#include <cstdint>

class QToolButton;
class QPushButton;

namespace widgets {

// The palette that a colour button opens: an entry "Авто" (the automatic colour, black), a grid
// of fixed colours and a button "Другие цвета" for the colour dialog. Works by keyboard: Tab and
// the arrow keys move between the entries, Space or Enter picks one, Escape closes.
class ColorPopup : public QFrame {
    Q_OBJECT
public:
    static constexpr int kColumns = 8;

    explicit ColorPopup(QWidget* parent = nullptr);

    // The fixed colours of the grid, in order (colour values).
    static QList<std::uint32_t> paletteColors();
    // Shows the popup below the given global point with the entry of `current` focused.
    void popUp(const QPoint& globalPos, std::uint32_t current);

    QToolButton* autoButton() const { return m_auto; }
    QPushButton* moreButton() const { return m_more; }
    const QList<QToolButton*>& swatchButtons() const { return m_swatches; }

signals:
    void colorPicked(std::uint32_t value);
    void moreColorsRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pick(std::uint32_t value);

    QToolButton* m_auto;
    QPushButton* m_more;
    QList<QToolButton*> m_swatches;
};

} // namespace widgets
