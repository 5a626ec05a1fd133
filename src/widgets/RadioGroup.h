#pragma once
#include <QList>
#include <QObject>

class QAbstractButton;
class QButtonGroup;

namespace widgets {

// Makes the radios of one group box one exclusive group that may also have none ticked (the
// settings file can hold "0" for all of them). Ticking one, by the user or by code, unticks the
// others; a click on the ticked one keeps it ticked; setChecked(button, false) on the ticked one
// leaves none ticked. Untick through this class: a radio's own setChecked(false) is refused
// while it is the ticked one of the group.
class RadioGroup : public QObject {
    Q_OBJECT
public:
    explicit RadioGroup(QObject* parent = nullptr);

    // Adds a radio; a ticked one added later wins over one ticked before.
    void addButton(QAbstractButton* button);
    QList<QAbstractButton*> buttons() const;
    void setChecked(QAbstractButton* button, bool checked);
    // Unticks all radios.
    void clear();
    QAbstractButton* checkedButton() const;
    // Position of the ticked radio in the order of adding; -1 when none is ticked.
    int checkedIndex() const;

signals:
    // The ticked radio changed; nullptr when none is ticked any more.
    void checkedChanged(QAbstractButton* button);

private:
    void onToggled(QAbstractButton* button, bool checked);

    QButtonGroup* m_group;
};

} // namespace widgets
