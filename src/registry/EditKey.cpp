#include "registry/EditKey.h"

#include "engine/CodePage.h"
#include "registry/WindowPlacement.h"
#include "widgets/Cp1251Validator.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

namespace registry {

namespace {

QPushButton* boldButton(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
    return button;
}

} // namespace

// Limits typing in edtPath to PathLimit characters without cutting text set from outside: a
// directory from the registry or the chooser that is longer stays whole (QLineEdit's own limit
// would cut it and so name another entry). Typing that makes such a text longer is refused,
// shortening it is allowed. Windows-1251 is enforced as in every edit.
class TfrmEditKey::PathValidator : public widgets::Cp1251Validator {
public:
    explicit PathValidator(QLineEdit* edit) : widgets::Cp1251Validator(edit) {
        connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { m_shown = text.size(); });
    }
    // Announces text about to be set from outside, so its length passes.
    void expect(const QString& text) { m_shown = text.size(); }
    State validate(QString& input, int& pos) const override {
        // The edit passes only the changed text; the length before the change is the length of
        // the text it last showed.
        if (input.size() > PathLimit && input.size() > m_shown)
            return Invalid;
        return widgets::Cp1251Validator::validate(input, pos);
    }

private:
    qsizetype m_shown = 0;
};

TfrmEditKey::TfrmEditKey(QWidget* owner, DirectoryChooser chooser, Warning warning)
    : QDialog(owner), m_chooser(std::move(chooser)), m_warning(std::move(warning)) {
    setObjectName(QStringLiteral("frmEditKey"));
    setWindowTitle(QStringLiteral("Редактирование ключа реестра"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(312, 117);

    auto* nameLabel = new QLabel(QStringLiteral("&Наименование"), this);
    nameLabel->setObjectName(QStringLiteral("lblName"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("edtName"));
    nameLabel->setBuddy(m_name);
    auto* pathLabel = new QLabel(QStringLiteral("&Каталог"), this);
    pathLabel->setObjectName(QStringLiteral("lblPath"));
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("edtPath"));
    pathLabel->setBuddy(m_path);
    auto* choice = new QToolButton(this);
    choice->setObjectName(QStringLiteral("btnFolderChoice"));
    choice->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    choice->setToolTip(QStringLiteral("Выбор каталога"));
    auto* ok = boldButton(QStringLiteral("OK"), "btnOK", this);
    ok->setDefault(true);
    auto* cancel = boldButton(QStringLiteral("Отмена"), "btnCancel", this);

    // Fixed client area: places as the dialog has always had them.
    nameLabel->setGeometry(8, 3, 296, 15);
    m_name->setGeometry(8, 18, 296, 22);
    pathLabel->setGeometry(8, 42, 272, 15);
    m_path->setGeometry(8, 57, 272, 22);
    choice->setGeometry(282, 57, 22, 22);
    ok->setGeometry(148, 86, 76, 25);
    cancel->setGeometry(228, 86, 76, 25);

    m_pathValidator = new PathValidator(m_path);
    for (QLineEdit* edit : {m_name, m_path}) {
        widgets::Cp1251Validator* validator = edit == m_path ? m_pathValidator : new widgets::Cp1251Validator(edit);
        edit->setValidator(validator);
        // The refusal arrives from inside the edit's input handling (often twice for one key);
        // warn once, after that handling is over.
        connect(validator, &widgets::Cp1251Validator::characterRefused, this, [this](const QString& character) {
            if (m_refusalPending)
                return;
            m_refusalPending = true;
            QTimer::singleShot(0, this, [this, character] {
                m_refusalPending = false;
                warn(widgets::Cp1251Validator::refusalMessage(character));
            });
        });
    }
    connect(choice, &QToolButton::clicked, this, &TfrmEditKey::chooseFolder);
    connect(ok, &QPushButton::clicked, this, &TfrmEditKey::accept);
    connect(cancel, &QPushButton::clicked, this, &TfrmEditKey::reject);
}

void TfrmEditKey::setFields(const QString& name, const QString& path) {
    m_name->setText(name);
    setPath(path);
}

void TfrmEditKey::setPath(const QString& path) {
    m_pathValidator->expect(path);
    m_path->setText(path);
}

QString TfrmEditKey::name() const {
    return m_name->text();
}

QString TfrmEditKey::path() const {
    return m_path->text();
}

QString TfrmEditKey::emptyPathMessage() {
    return QStringLiteral("Укажите каталог информационной базы.");
}

void TfrmEditKey::accept() {
    if (m_path->text().isEmpty()) {
        m_path->setFocus();
        warn(emptyPathMessage());
        return;
    }
    // Text set from outside (the chooser, the registry) passed no validator.
    for (QLineEdit* edit : {m_name, m_path}) {
        const std::string bad = engine::firstNonCp1251Char(edit->text().toStdString());
        if (!bad.empty()) {
            edit->setFocus();
            warn(widgets::Cp1251Validator::refusalMessage(QString::fromStdString(bad)));
            return;
        }
    }
    QDialog::accept();
}

void TfrmEditKey::chooseFolder() {
    if (!m_chooser)
        return;
    if (const auto chosen = m_chooser(this))
        setPath(*chosen + QLatin1Char('\\'));
}

void TfrmEditKey::warn(const QString& text) {
    if (m_warning)
        m_warning(this, text);
    else
        QMessageBox::warning(this, QStringLiteral("Tarvesk"), text);
}

void TfrmEditKey::showEvent(QShowEvent* event) {
    centerOn(*this, parentWidget());
    QDialog::showEvent(event);
}

} // namespace registry
