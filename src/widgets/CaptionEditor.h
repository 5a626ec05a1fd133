#pragma once
#include <QLineEdit>

namespace widgets {

class Cp1251Validator;

// The line edit of in-place caption editing. Enter (or the keypad Enter) accepts its text;
// Escape and losing the focus (other than to the edit's own context menu) cancel. Both keys are taken before window
// shortcuts see them. Characters that Windows-1251 cannot hold are refused (characterRefused).
class CaptionEditor : public QLineEdit {
    Q_OBJECT
public:
    explicit CaptionEditor(QWidget* parent = nullptr);

signals:
    void accepted(const QString& text);
    void cancelled();
    void characterRefused(const QString& character);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace widgets
