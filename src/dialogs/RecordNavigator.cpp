#include "dialogs/RecordNavigator.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace dialogs {
namespace {

struct ButtonText {
    const char* name;
    const char* picture;
    const char* hint;
};

constexpr std::array<ButtonText, RecordNavigator::kButtons> kTexts = {{
    {"nbFirst", "|◀", " Первая запись"},
    {"nbPrior", "◀", " Предыдущая запись"},
    {"nbNext", "▶", " Следующая запись"},
    {"nbLast", "▶|", " Последняя запись"},
    {"nbInsert", "+", " Вставить запись"},
    {"nbDelete", "−", " Удалить запись"},
    {"nbEdit", "▲", " Редактировать запись"},
    {"nbPost", "✓", " Сохранить изменения"},
    {"nbCancel", "✕", " Отменить изменения"},
    {"nbRefresh", "↻", " Освежить данные"},
}};

} // namespace

RecordNavigator::RecordNavigator(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("dbnUser"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (int i = 0; i < kButtons; ++i) {
        auto* button = new QToolButton;
        const ButtonText& text = kTexts[static_cast<std::size_t>(i)];
        button->setObjectName(QString::fromLatin1(text.name));
        button->setText(QString::fromUtf8(text.picture));
        button->setToolTip(QString::fromUtf8(text.hint));
        button->setAccessibleName(QString::fromUtf8(text.hint).trimmed());
        button->setFocusPolicy(Qt::TabFocus);
        button->setMinimumWidth(28);
        connect(button, &QToolButton::clicked, this, [this, i] { emit clicked(static_cast<Button>(i)); });
        row->addWidget(button);
        m_buttons[static_cast<std::size_t>(i)] = button;
    }
}

QToolButton* RecordNavigator::button(Button which) const {
    return m_buttons[static_cast<std::size_t>(which)];
}

void RecordNavigator::updateEnabling(bool open, int row, int rowCount, bool changing) {
    const bool up = open && row > 0;
    const bool down = open && row >= 0 && row < rowCount - 1;
    button(Button::First)->setEnabled(up);
    button(Button::Prior)->setEnabled(up);
    button(Button::Next)->setEnabled(down);
    button(Button::Last)->setEnabled(down);
    button(Button::Insert)->setEnabled(open);
    button(Button::Delete)->setEnabled(open && rowCount > 0);
    button(Button::Edit)->setEnabled(open && rowCount > 0 && !changing);
    button(Button::Post)->setEnabled(open && changing);
    button(Button::Cancel)->setEnabled(open && changing);
    button(Button::Refresh)->setEnabled(open);
}

} // namespace dialogs
