#include "dialogs/DialogParts.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace dialogs {

QLineEdit* namedEdit(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QLabel* fieldLabel(const char* caption, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(caption));
    label->setBuddy(buddy);
    return label;
}

QToolButton* pictureButton(const char* name, QStyle::StandardPixmap picture, const char* hint) {
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(button->style()->standardIcon(picture));
    button->setToolTip(QString::fromUtf8(hint));
    button->setAccessibleName(QString::fromUtf8(hint));
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

void addNamePathRows(QGridLayout* grid, QLineEdit* name, QLineEdit* path, QWidget* choice) {
    grid->addWidget(fieldLabel("Наименование", name), 0, 0, 1, 2);
    grid->addWidget(name, 1, 0, 1, 2);
    grid->addWidget(fieldLabel("Каталог", path), 2, 0, 1, 2);
    grid->addWidget(path, 3, 0);
    grid->addWidget(choice, 3, 1);
    path->setMinimumWidth(path->fontMetrics().averageCharWidth() * 48);
}

QHBoxLayout* okCancelRow(QDialog* dialog) {
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8("Отмена"));
    cancel->setObjectName(QStringLiteral("btnCancel"));
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    row->addStretch();
    return row;
}

void setUpFixedDialog(QDialog* dialog, const char* objectName, const char* caption) {
    dialog->setObjectName(QString::fromLatin1(objectName));
    dialog->setWindowTitle(QString::fromUtf8(caption));
    dialog->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    if (dialog->layout())
        dialog->layout()->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace dialogs
