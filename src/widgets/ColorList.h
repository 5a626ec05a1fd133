#pragma once
#include <QComboBox>
#include <cstdint>

namespace widgets {

// A drop-down list of named colours (no typing): the 16 standard colours, the 4 extended ones and
// the system colours, each with a swatch and its name. Its value is the colour of the selected
// entry; it starts on button face. A colour that is none of these entries (set from a settings
// file) gets one extra entry at the end, named "#RRGGBB" (or the number of an unknown system
// colour), so the stored value is shown and kept; setting another such colour replaces that entry.
class ColorList : public QComboBox {
    Q_OBJECT
public:
    explicit ColorList(QWidget* parent = nullptr);

    std::uint32_t selectedColor() const;
    void setSelectedColor(std::uint32_t value);
    // Number of the fixed entries (without the extra one).
    int fixedEntryCount() const { return m_fixedCount; }

signals:
    void colorChanged(std::uint32_t value);

protected:
    void changeEvent(QEvent* event) override;

private:
    void addEntry(std::uint32_t value);
    void refreshSwatches();

    int m_fixedCount = 0;
    std::uint32_t m_lastColor = 0;
};

} // namespace widgets
