#include "settings/SetupControls.h"

#include "settings/ControlMap.h"
#include "settings/KeyGrid.h"
#include "widgets/ColorButton.h"
#include "widgets/ColorList.h"
#include "widgets/RadioGroup.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QWidget>

namespace settings {
namespace {

QString nameOf(std::string_view control) {
    return QString::fromLatin1(control.data(), static_cast<qsizetype>(control.size()));
}

} // namespace

SetupControls::SetupControls(QWidget& root, KeyGrid& grid, std::string& map) : m_grid(grid), m_map(map) {
    for (QWidget* w : root.findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            m_controls.insert(w->objectName(), w);
    }
}

QWidget* SetupControls::find(std::string_view control) const {
    return m_controls.value(nameOf(control), nullptr);
}

int SetupControls::tickedIndex(std::initializer_list<std::string_view> radios) const {
    int i = 0;
    for (std::string_view r : radios) {
        if (checked(r))
            return i;
        ++i;
    }
    return -1;
}

void SetupControls::setEnabled(std::string_view control, bool on) {
    if (QWidget* w = find(control))
        w->setEnabled(on);
}

bool SetupControls::checked(std::string_view control) const {
    QWidget* w = find(control);
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->isChecked();
    if (auto* box = qobject_cast<QGroupBox*>(w))
        return box->isChecked();
    return false;
}

void SetupControls::setChecked(std::string_view control, bool on) {
    QWidget* w = find(control);
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        // A radio is unticked through its group, which lets a group have none ticked.
        auto* group = button->parentWidget()->findChild<widgets::RadioGroup*>(QString(), Qt::FindDirectChildrenOnly);
        if (group && group->buttons().contains(button))
            group->setChecked(button, on);
        else
            button->setChecked(on);
    } else if (auto* box = qobject_cast<QGroupBox*>(w))
        box->setChecked(on);
}

int SetupControls::itemIndex(std::string_view control) const {
    auto* list = qobject_cast<QComboBox*>(find(control));
    return list ? list->currentIndex() : -1;
}

void SetupControls::setItemIndex(std::string_view control, int index) {
    if (auto* list = qobject_cast<QComboBox*>(find(control)))
        list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

std::string SetupControls::text(std::string_view control) const {
    auto* edit = qobject_cast<QLineEdit*>(find(control));
    return edit ? edit->text().toStdString() : std::string();
}

void SetupControls::setText(std::string_view control, const std::string& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(find(control)))
        edit->setText(QString::fromStdString(text));
}

std::uint32_t SetupControls::color(std::string_view control) const {
    QWidget* w = find(control);
    if (auto* list = qobject_cast<widgets::ColorList*>(w))
        return list->selectedColor();
    if (auto* button = qobject_cast<widgets::ColorButton*>(w))
        return button->activeColor();
    return 0;
}

void SetupControls::setColor(std::string_view control, std::uint32_t value) {
    QWidget* w = find(control);
    if (auto* list = qobject_cast<widgets::ColorList*>(w))
        list->setSelectedColor(value);
    else if (auto* button = qobject_cast<widgets::ColorButton*>(w))
        button->setActiveColor(value);
}

void SetupControls::loadControlMap(const std::string& stored) {
    m_map = LoadControlMap(stored);
    m_grid.refresh();
}

std::string SetupControls::storeControlMap() const {
    return StoreControlMap(m_map);
}

} // namespace settings
