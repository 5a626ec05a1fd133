#include "widgets/RadioGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>

namespace widgets {

// The group is exclusive while one radio is ticked (so Qt keeps the others unticked and a click
// cannot untick it) and not exclusive while none is, which is the only way Qt lets the last
// ticked radio go.
RadioGroup::RadioGroup(QObject* parent) : QObject(parent), m_group(new QButtonGroup(this)) {
    m_group->setExclusive(false);
    connect(m_group, &QButtonGroup::buttonToggled, this, &RadioGroup::onToggled);
}

void RadioGroup::addButton(QAbstractButton* button) {
    if (!button || m_group->buttons().contains(button))
        return;
    button->setAutoExclusive(false);
    button->setCheckable(true);
    if (button->isChecked()) {
        m_group->setExclusive(true);
        m_group->addButton(button);
        // addButton unticks the one ticked before; the new one comes in ticked, no toggle reports it.
        emit checkedChanged(button);
    } else {
        m_group->addButton(button);
    }
}

QList<QAbstractButton*> RadioGroup::buttons() const {
    return m_group->buttons();
}

void RadioGroup::setChecked(QAbstractButton* button, bool checked) {
    if (!button || !m_group->buttons().contains(button) || button->isChecked() == checked)
        return;
    if (!checked)
        m_group->setExclusive(false);
    button->setChecked(checked);
}

void RadioGroup::clear() {
    if (QAbstractButton* ticked = checkedButton())
        setChecked(ticked, false);
}

QAbstractButton* RadioGroup::checkedButton() const {
    for (QAbstractButton* button : m_group->buttons())
        if (button->isChecked())
            return button;
    return nullptr;
}

int RadioGroup::checkedIndex() const {
    return static_cast<int>(m_group->buttons().indexOf(checkedButton()));
}

void RadioGroup::onToggled(QAbstractButton* button, bool checked) {
    if (checked) {
        m_group->setExclusive(true);
        emit checkedChanged(button);
    } else if (checkedButton() == nullptr) {
        emit checkedChanged(nullptr);
    }
}

} // namespace widgets
