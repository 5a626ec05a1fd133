#include "dialogs/UserGrid.h"

#include "dialogs/RecordActions.h"
#include "data/FieldWidths.h"
#include "engine/DataSet.h"
#include "engine/EngineError.h"
#include "widgets/DataSetListModel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace dialogs {
namespace {

constexpr int kMargin = 4;
constexpr int kGap = 6;
constexpr int kUserNameWidth = data::width::UserName;
constexpr int kPasswordWidth = data::width::Password;

QString stars(const std::string& text) {
    return QString(QString::fromStdString(text).size(), QLatin1Char('*'));
}

} // namespace

UserGrid::UserGrid(engine::DataSet& users, RecordActions& actions, const DialogServices& services, QWidget* parent)
    : QWidget(parent), m_users(users), m_actions(actions) {
    setObjectName(QStringLiteral("dbgUser"));
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);

    m_model = new widgets::DataSetListModel(users, {"USERNAME", "PASSWORD"}, this);
    m_model->setLeaveEditing([this](engine::DataSet&) { m_actions.leaveEditing(); });
    connect(m_model, &widgets::DataSetListModel::currentRowChanged, this, &UserGrid::onModelCurrentChanged);
    connect(m_model, &widgets::DataSetListModel::errorOccurred, this, &UserGrid::failed);

    m_nameLabel = new QLabel(QString::fromUtf8("Пользователь"), this);
    m_nameLabel->setObjectName(QStringLiteral("lblUserName"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("dbeUserName"));
    guardEdit(m_name, kUserNameWidth, services);
    m_passwordLabel = new QLabel(QString::fromUtf8("Пароль"), this);
    m_passwordLabel->setObjectName(QStringLiteral("lblPassword"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("dbePassword"));
    guardEdit(m_password, kPasswordWidth, services);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    m_nameLabel->setBuddy(m_name);
    m_passwordLabel->setBuddy(m_password);
    for (QWidget* w : {static_cast<QWidget*>(m_nameLabel), static_cast<QWidget*>(m_name),
                       static_cast<QWidget*>(m_passwordLabel), static_cast<QWidget*>(m_password)})
        w->installEventFilter(this);
    setFocusProxy(m_name);
    connect(m_name, &QLineEdit::textEdited, this, &UserGrid::onNameEdited);
    connect(m_password, &QLineEdit::textEdited, this, &UserGrid::onPasswordEdited);

    m_scroll = new QScrollBar(Qt::Vertical, this);
    m_scroll->setObjectName(QStringLiteral("dbgUserScroll"));
    m_scroll->setFocusPolicy(Qt::NoFocus);
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_syncing)
            moveTo(value);
    });

    const QFontMetrics metrics(font());
    m_geometry.editHeight = m_name->sizeHint().height();
    m_geometry.panelHeight = m_geometry.editHeight + 2 * kMargin;
    m_geometry.nameLabelWidth = metrics.horizontalAdvance(m_nameLabel->text()) + kGap;
    m_geometry.nameWidth = metrics.averageCharWidth() * (kUserNameWidth + 2);
    m_geometry.passwordLabelWidth = metrics.horizontalAdvance(m_passwordLabel->text()) + kGap;
    m_geometry.passwordWidth = metrics.averageCharWidth() * (kPasswordWidth + 4);
    showCurrentRow();
}

UserGrid::~UserGrid() = default;

QSize UserGrid::sizeHint() const {
    const int width = kMargin + m_geometry.nameLabelWidth + m_geometry.nameWidth + 2 * kGap +
                      m_geometry.passwordLabelWidth + m_geometry.passwordWidth + kMargin +
                      style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return {width, kVisiblePanels * m_geometry.panelHeight};
}

int UserGrid::currentRow() const {
    return m_model->currentRow();
}

int UserGrid::rowCount() const {
    return m_model->rowCount();
}

// ---- geometry: panel `slot` shows row m_top + slot

QRect UserGrid::panelRect(int slot) const {
    return {0, slot * m_geometry.panelHeight, width() - m_scroll->width(), m_geometry.panelHeight};
}

QRect UserGrid::nameLabelRect(int slot) const {
    const QRect panel = panelRect(slot);
    return {kMargin, panel.top() + kMargin, m_geometry.nameLabelWidth, m_geometry.editHeight};
}

QRect UserGrid::nameRect(int slot) const {
    const QRect label = nameLabelRect(slot);
    return {label.right() + 1, label.top(), m_geometry.nameWidth, m_geometry.editHeight};
}

QRect UserGrid::passwordLabelRect(int slot) const {
    const QRect name = nameRect(slot);
    return {name.right() + 1 + 2 * kGap, name.top(), m_geometry.passwordLabelWidth, m_geometry.editHeight};
}

QRect UserGrid::passwordRect(int slot) const {
    const QRect label = passwordLabelRect(slot);
    return {label.right() + 1, label.top(), m_geometry.passwordWidth, m_geometry.editHeight};
}

int UserGrid::slotAt(const QPoint& point) const {
    if (m_geometry.panelHeight <= 0 || point.y() < 0)
        return -1;
    const int slot = point.y() / m_geometry.panelHeight;
    return slot < kVisiblePanels ? slot : -1;
}

int UserGrid::currentSlot() const {
    return std::max(0, currentRow() - m_top);
}

// Which row the editors show: the record number, 0 for a row not yet stored.
std::uint32_t UserGrid::currentKey() const {
    if (!m_users.isOpen() || m_users.state() == engine::DataSetState::Insert)
        return 0;
    return m_users.recno();
}

// ---- moving and re-reading

bool UserGrid::moveTo(int row) {
    if (row < 0 || row >= rowCount())
        return false;
    const bool moved = m_model->setCurrentRow(row);
    showCurrentRow();
    return moved;
}

void UserGrid::sync() {
    m_model->reload();
    showCurrentRow();
}

void UserGrid::onModelCurrentChanged() {
    showCurrentRow();
}

void UserGrid::showCurrentRow() {
    const int current = currentRow();
    const std::uint32_t key = currentKey();
    // The editors keep what is being typed into the row they show; anything else shows afresh.
    if (!(m_actions.changing() && key == m_shownKey)) {
        m_name->setText(QString::fromStdString(m_model->text(current, 0)));
        m_password->setText(QString::fromStdString(m_model->text(current, 1)));
        m_passwordEdited = false;
        m_shownKey = key;
    }
    if (current >= 0) {
        if (current < m_top)
            m_top = current;
        if (current >= m_top + kVisiblePanels)
            m_top = current - kVisiblePanels + 1;
    }
    m_top = std::clamp(m_top, 0, std::max(0, rowCount() - kVisiblePanels));
    m_syncing = true;
    m_scroll->setRange(0, std::max(0, rowCount() - 1));
    m_scroll->setPageStep(kVisiblePanels);
    m_scroll->setValue(std::max(0, current));
    m_syncing = false;
    layOut();
    update();
    emit changed();
}

void UserGrid::layOut() {
    const int slot = currentSlot();
    m_nameLabel->setGeometry(nameLabelRect(slot));
    m_name->setGeometry(nameRect(slot));
    m_passwordLabel->setGeometry(passwordLabelRect(slot));
    m_password->setGeometry(passwordRect(slot));
    m_scroll->setGeometry(width() - m_scroll->sizeHint().width(), 0, m_scroll->sizeHint().width(), height());
}

std::optional<std::string> UserGrid::editedPassword() const {
    if (!m_passwordEdited)
        return std::nullopt;
    return m_password->text().toStdString();
}

// ---- typing

bool UserGrid::startTyping() {
    const bool wasChanging = m_actions.changing();
    try {
        m_actions.startTyping();
    } catch (const engine::EngineError& error) {
        emit failed(QString::fromStdString(error.what()));
        m_shownKey = ~0u; // show the stored row again
        showCurrentRow();
        return false;
    }
    m_shownKey = currentKey();
    if (!wasChanging)
        sync(); // a new row joins the list
    return true;
}

void UserGrid::onNameEdited(const QString& text) {
    if (!startTyping())
        return;
    try {
        m_users.setFieldText("USERNAME", text.toStdString());
    } catch (const engine::EngineError& error) {
        emit failed(QString::fromStdString(error.what()));
    }
    update();
}

void UserGrid::onPasswordEdited() {
    if (!startTyping())
        return;
    m_passwordEdited = true;
}

bool UserGrid::handleNavigationKey(int key) {
    switch (key) {
    case Qt::Key_Up:
        moveTo(currentRow() - 1);
        return true;
    case Qt::Key_Down:
        moveTo(currentRow() + 1);
        return true;
    case Qt::Key_PageUp:
        moveTo(std::max(0, currentRow() - kVisiblePanels));
        return true;
    case Qt::Key_PageDown:
        moveTo(std::min(rowCount() - 1, currentRow() + kVisiblePanels));
        return true;
    default:
        return false;
    }
}

bool UserGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && (watched == m_nameLabel || watched == m_passwordLabel)) {
        emit doubleClicked();
        return true;
    }
    if (event->type() == QEvent::KeyPress && (watched == m_name || watched == m_password)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier && handleNavigationKey(key->key()))
            return true;
        // The password field holds the scrambled stored text: what the user types replaces it,
        // it is never mixed into it.
        if (watched == m_password && !m_passwordEdited &&
            (!key->text().isEmpty() || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete ||
             key->matches(QKeySequence::Paste)) &&
            key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab && key->key() != Qt::Key_Return &&
            key->key() != Qt::Key_Enter && key->key() != Qt::Key_Escape) {
            m_password->clear();
            if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete) {
                onPasswordEdited();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- painting and the mouse

void UserGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colors = palette();
    QColor highlight = colors.color(QPalette::Highlight);
    highlight.setAlpha(60);
    const int current = currentRow();
    for (int slot = 0; slot < kVisiblePanels; ++slot) {
        const int row = m_top + slot;
        const QRect panel = panelRect(slot);
        if (row == current || (current < 0 && slot == 0))
            painter.fillRect(panel, highlight);
        painter.setPen(colors.color(QPalette::Mid));
        painter.drawLine(panel.bottomLeft(), panel.bottomRight());
        if (row >= rowCount() || row == current)
            continue;
        painter.setPen(colors.color(QPalette::WindowText));
        painter.drawText(nameLabelRect(slot), Qt::AlignVCenter | Qt::AlignLeft, m_nameLabel->text());
        painter.drawText(passwordLabelRect(slot), Qt::AlignVCenter | Qt::AlignLeft, m_passwordLabel->text());
        for (const auto& [box, text] : {std::pair{nameRect(slot), QString::fromStdString(m_model->text(row, 0))},
                                        std::pair{passwordRect(slot), stars(m_model->text(row, 1))}}) {
            painter.fillRect(box, colors.color(QPalette::Base));
            painter.setPen(colors.color(QPalette::Mid));
            painter.drawRect(box.adjusted(0, 0, -1, -1));
            painter.setPen(colors.color(QPalette::Text));
            painter.drawText(box.adjusted(3, 0, -3, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
        }
    }
}

void UserGrid::mousePressEvent(QMouseEvent* event) {
    const int slot = slotAt(event->position().toPoint());
    if (slot >= 0 && m_top + slot < rowCount())
        moveTo(m_top + slot);
    m_name->setFocus();
}

void UserGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const int slot = slotAt(event->position().toPoint());
    if (slot >= 0 && m_top + slot < rowCount())
        moveTo(m_top + slot);
    emit doubleClicked();
}

void UserGrid::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        moveTo(std::clamp(currentRow() - steps, 0, std::max(0, rowCount() - 1)));
    event->accept();
}

void UserGrid::keyPressEvent(QKeyEvent* event) {
    if (!handleNavigationKey(event->key()))
        QWidget::keyPressEvent(event);
}

void UserGrid::resizeEvent(QResizeEvent*) {
    layOut();
}

} // namespace dialogs
