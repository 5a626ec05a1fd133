#include "widgets/CheckGroupBox.h"

namespace widgets {

CheckGroupBox::CheckGroupBox(QWidget* parent) : CheckGroupBox(QString(), parent) {}

CheckGroupBox::CheckGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
    setCheckable(true);
    setChecked(false);
}

} // namespace widgets
