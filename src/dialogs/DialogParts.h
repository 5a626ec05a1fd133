#pragma once
#include <QString>
#include <QStyle>

class QDialog;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

// Pieces the editing dialogs are built from.
namespace dialogs {

QLineEdit* namedEdit(const char* name);
QLabel* fieldLabel(const char* caption, QWidget* buddy);
// The small picture-only button beside a field; tooltip and accessible name say what it does.
QToolButton* pictureButton(const char* name, QStyle::StandardPixmap picture, const char* hint);
// The rows "Наименование" and "Каталог" of a registration dialog, from row 0 of the grid: the
// name across, the path with its choice button beside it, wide enough for 48 characters.
void addNamePathRows(QGridLayout* grid, QLineEdit* name, QLineEdit* path, QWidget* choice);
// The row of "OK" (default) and "Отмена" at the bottom of a dialog, wired to accept and reject.
QHBoxLayout* okCancelRow(QDialog* dialog);
// A fixed-size dialog with this caption, centred on its owner when shown.
void setUpFixedDialog(QDialog* dialog, const char* objectName, const char* caption);

} // namespace dialogs
