#include "registry/RefDial.h"

#include "registry/TitlesImport.h"
#include "registry/WindowPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace registry {

TfrmRefreshDialog::TfrmRefreshDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmRefreshDialog"));
    setWindowTitle(QStringLiteral("Подтверждение"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(412, 105);

    m_key = new QLabel(this);
    m_key->setObjectName(QStringLiteral("stxReestrKey"));
    m_key->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_key->setTextFormat(Qt::PlainText);
    auto* question = new QLabel(QStringLiteral("Ключ реестра уже существует. Обновить?"), this);
    question->setObjectName(QStringLiteral("lblQuestion"));
    question->setAlignment(Qt::AlignCenter);

    auto addButton = [this](QHBoxLayout* row, const char* name, const QString& caption, KeyExistsAnswer answer) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, answer] { done(static_cast<int>(answer)); });
        row->addWidget(button);
        return button;
    };
    auto* answers = new QHBoxLayout;
    addButton(answers, "btnYes", QStringLiteral("Да"), KeyExistsAnswer::Yes)->setDefault(true);
    addButton(answers, "btnNo", QStringLiteral("Нет"), KeyExistsAnswer::No);
    addButton(answers, "btnCancel", QStringLiteral("Отмена"), KeyExistsAnswer::Cancel);
    auto* wide = new QHBoxLayout;
    addButton(wide, "btnYesToAll", QStringLiteral("Обновить все совпадающие"), KeyExistsAnswer::YesToAll);
    addButton(wide, "btnNoToAll", QStringLiteral("Пропустить все совпадающие"), KeyExistsAnswer::NoToAll);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    layout->addWidget(m_key);
    layout->addWidget(question);
    layout->addLayout(answers);
    layout->addLayout(wide);
}

void TfrmRefreshDialog::setKey(const QString& key) {
    m_key->setText(key);
}

QString TfrmRefreshDialog::key() const {
    return m_key->text();
}

void TfrmRefreshDialog::reject() {
    done(static_cast<int>(KeyExistsAnswer::Cancel));
}

void TfrmRefreshDialog::showEvent(QShowEvent* event) {
    centerOn(*this, parentWidget());
    QDialog::showEvent(event);
}

} // namespace registry
