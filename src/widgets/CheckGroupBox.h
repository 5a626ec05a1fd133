#pragma once
#include <QGroupBox>

namespace widgets {

// A group box whose caption is a check box. Ticking it enables every control inside, unticking
// disables them, on every change of the tick, by the user or by setChecked; nested groups and
// their controls follow. A control disabled explicitly stays disabled when the box is ticked.
// Starts unticked.
class CheckGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit CheckGroupBox(QWidget* parent = nullptr);
    explicit CheckGroupBox(const QString& title, QWidget* parent = nullptr);
};

} // namespace widgets
