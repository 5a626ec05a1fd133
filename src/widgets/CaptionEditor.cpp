#include "widgets/CaptionEditor.h"

#include "widgets/Cp1251Validator.h"

#include <QKeyEvent>

namespace widgets {
namespace {

bool isEditorKey(const QKeyEvent* event) {
    int key = event->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

} // namespace

CaptionEditor::CaptionEditor(QWidget* parent) : QLineEdit(parent) {
    auto* validator = new Cp1251Validator(this);
    connect(validator, &Cp1251Validator::characterRefused, this, &CaptionEditor::characterRefused);
    setValidator(validator);
}

bool CaptionEditor::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && isEditorKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void CaptionEditor::keyPressEvent(QKeyEvent* event) {
    if (!isEditorKey(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->key() == Qt::Key_Escape)
        emit cancelled();
    else
        emit accepted(text());
}

void CaptionEditor::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The edit's own context menu takes the focus for a while and gives it back.
    if (event->reason() != Qt::PopupFocusReason)
        emit cancelled();
}

} // namespace widgets
