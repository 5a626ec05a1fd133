#include "widgets/ColorList.h"

#include "widgets/ColorSwatch.h"
#include "widgets/ColorTable.h"
#include "widgets/ColorValue.h"

#include <QEvent>

namespace widgets {

ColorList::ColorList(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setIconSize(QSize(16, 12));
    for (const NamedColor& color : standardColors())
        addEntry(color.value);
    for (const SystemColorInfo& info : systemColors())
        addEntry(info.value());
    m_fixedCount = count();
    setSelectedColor(kColorBtnFace);
    m_lastColor = selectedColor();
    connect(this, &QComboBox::currentIndexChanged, this, [this](int) {
        if (selectedColor() == m_lastColor)
            return; // the extra entry was replaced, the colour stayed
        m_lastColor = selectedColor();
        emit colorChanged(m_lastColor);
    });
}

void ColorList::addEntry(std::uint32_t value) {
    addItem(ColorSwatch::icon(value, palette(), iconSize()), colorValueDisplayName(value), QVariant::fromValue(value));
}

std::uint32_t ColorList::selectedColor() const {
    QVariant value = currentData();
    return value.isValid() ? value.value<std::uint32_t>() : kColorBtnFace;
}

void ColorList::setSelectedColor(std::uint32_t value) {
    int index = findData(QVariant::fromValue(value));
    if (index >= 0 && index < m_fixedCount) {
        setCurrentIndex(index);
        return;
    }
    if (index < 0) {
        // The extra entry is added before the old one goes, so the selection never falls back to
        // another colour in between.
        addEntry(value);
        index = count() - 1;
    }
    setCurrentIndex(index);
    for (int i = count() - 1; i >= m_fixedCount; --i)
        if (i != index)
            removeItem(i);
}

void ColorList::changeEvent(QEvent* event) {
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        refreshSwatches();
}

void ColorList::refreshSwatches() {
    for (int i = 0; i < count(); ++i)
        setItemIcon(i, ColorSwatch::icon(itemData(i).value<std::uint32_t>(), palette(), iconSize()));
}

} // namespace widgets
