#include "widgets/SectionBar.h"

#include "widgets/CaptionEditor.h"
#include "widgets/ColorTable.h"
#include "widgets/ColorValue.h"
#include "widgets/Cp1251Validator.h"
#include "widgets/TextContrast.h"

#include <QDropEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <qdrawutil.h>

namespace widgets {
namespace {

constexpr int kTextIndent = 12;
constexpr int kArrowSize = 16;
constexpr int kMinVisibleItems = 3;
constexpr int kDragScrollInterval = 150; // ms between steps while a drag is held at an edge

QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

SectionBar::SectionBar(QWidget* parent)
    : QWidget(parent), m_fillTop(kColorAppWorkspace), m_fillBottom(kColorAppWorkspace),
      m_editor(new CaptionEditor(this)), m_dragScrollTimer(new QTimer(this)) {
    m_dragScrollTimer->setInterval(kDragScrollInterval);
    connect(m_dragScrollTimer, &QTimer::timeout, this, [this] {
        if (!scrollItems(m_dragScrollDirection))
            setDragScroll(0);
    });
    setMouseTracking(true);
    setAcceptDrops(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_editor->setObjectName(QStringLiteral("captionEditor"));
    m_editor->hide();
    connect(m_editor, &CaptionEditor::accepted, this, &SectionBar::commitEditing);
    connect(m_editor, &CaptionEditor::cancelled, this, &SectionBar::cancelEditing);
    connect(m_editor, &CaptionEditor::characterRefused, this, &SectionBar::refuseCharacter);
}

// ---- content

void SectionBar::setData(const SectionBarData& data) {
    cancelEditing();
    m_data = data;
    int active = m_data.sections.empty() ? -1 : 0;
    bool changed = active != m_active;
    m_active = active;
    contentChanged();
    if (changed)
        emit activeSectionChanged(m_active);
}

int SectionBar::sectionCount() const {
    return static_cast<int>(m_data.sections.size());
}

int SectionBar::itemCount(int section) const {
    return validSection(section) ? static_cast<int>(m_data.sections[section].items.size()) : 0;
}

QString SectionBar::sectionCaption(int section) const {
    return validSection(section) ? toQt(m_data.sections[section].caption) : QString();
}

QString SectionBar::itemCaption(int section, int item) const {
    return validItem(section, item) ? toQt(m_data.sections[section].items[item].caption) : QString();
}

std::int32_t SectionBar::itemId(int section, int item) const {
    return validItem(section, item) ? m_data.sections[section].items[item].id : 0;
}

int SectionBar::addSection(const QString& caption) {
    cancelEditing();
    m_data.sections.push_back({caption.toStdString(), {}});
    if (m_active < 0) {
        m_active = 0;
        emit activeSectionChanged(m_active);
    }
    contentChanged();
    return sectionCount() - 1;
}

void SectionBar::removeSection(int section) {
    if (!validSection(section))
        return;
    cancelEditing();
    m_data.sections.erase(m_data.sections.begin() + section);
    // A section above the open one goes: the same section stays open, one index higher up.
    const bool opened = section == m_active;
    int active = section < m_active ? m_active - 1 : std::min(m_active, sectionCount() - 1);
    const bool changed = active != m_active || opened;
    m_active = active;
    if (opened)
        m_firstItem = 0;
    contentChanged();
    if (changed)
        emit activeSectionChanged(m_active);
}

void SectionBar::setSectionCaption(int section, const QString& caption) {
    if (!validSection(section))
        return;
    cancelEditing();
    m_data.sections[section].caption = caption.toStdString();
    update();
}

int SectionBar::addItem(int section, const QString& caption, std::int32_t id) {
    if (!validSection(section))
        return -1;
    cancelEditing();
    auto& items = m_data.sections[section].items;
    items.push_back({caption.toStdString(), id});
    contentChanged();
    return static_cast<int>(items.size()) - 1;
}

void SectionBar::removeItem(int section, int item) {
    if (!validItem(section, item))
        return;
    cancelEditing();
    auto& items = m_data.sections[section].items;
    items.erase(items.begin() + item);
    contentChanged();
}

void SectionBar::setItemCaption(int section, int item, const QString& caption) {
    if (!validItem(section, item))
        return;
    cancelEditing();
    m_data.sections[section].items[item].caption = caption.toStdString();
    update();
}

void SectionBar::setActiveSection(int section) {
    if (!validSection(section) || section == m_active)
        return;
    cancelEditing();
    m_active = section;
    m_firstItem = 0;
    contentChanged();
    // The opened section's header and items come into view.
    const int top = section * headerHeight();
    const int bottom = (section + 1) * headerHeight() + itemsAreaHeight();
    if (top < m_barOffset)
        setBarOffset(top);
    else if (bottom - m_barOffset > height())
        setBarOffset(bottom - height());
    emit activeSectionChanged(m_active);
}

void SectionBar::contentChanged() {
    m_hoverItem = -1;
    m_pressedSection = -1;
    m_pressedItem = -1;
    clampScrolling();
    update();
}

bool SectionBar::validSection(int section) const {
    return section >= 0 && section < sectionCount();
}

bool SectionBar::validItem(int section, int item) const {
    return validSection(section) && item >= 0 && item < itemCount(section);
}

// ---- geometry

int SectionBar::headerHeight() const {
    return fontMetrics().height() + 10;
}

int SectionBar::itemHeight() const {
    return fontMetrics().height() + 8;
}

int SectionBar::itemsAreaHeight() const {
    if (m_active < 0)
        return 0;
    const int free = height() - sectionCount() * headerHeight();
    return std::max(free, kMinVisibleItems * itemHeight());
}

int SectionBar::maxBarOffset() const {
    return std::max(0, sectionCount() * headerHeight() + itemsAreaHeight() - height());
}

int SectionBar::maxFirstItem() const {
    const int fit = std::max(1, itemsAreaHeight() / itemHeight());
    return std::max(0, itemCount(m_active) - fit);
}

int SectionBar::itemsTop() const {
    return (m_active + 1) * headerHeight() - m_barOffset;
}

int SectionBar::itemsBottom() const {
    return itemsTop() + itemsAreaHeight();
}

QRect SectionBar::sectionRect(int section) const {
    if (!validSection(section))
        return {};
    int top = section <= m_active ? section * headerHeight() - m_barOffset
                                  : itemsBottom() + (section - m_active - 1) * headerHeight();
    return QRect(0, top, width(), headerHeight());
}

QRect SectionBar::itemRect(int item) const {
    if (!validItem(m_active, item))
        return {};
    return QRect(0, itemsTop() + (item - m_firstItem) * itemHeight(), width(), itemHeight());
}

// ---- scrolling

QRect SectionBar::itemsUpArrow() const {
    if (m_firstItem <= 0)
        return {};
    return QRect(width() - kArrowSize - 2, itemsTop() + 2, kArrowSize, kArrowSize);
}

QRect SectionBar::itemsDownArrow() const {
    if (m_active < 0 || m_firstItem >= maxFirstItem())
        return {};
    return QRect(width() - kArrowSize - 2, itemsBottom() - kArrowSize - 2, kArrowSize, kArrowSize);
}

QRect SectionBar::barUpArrow() const {
    if (m_barOffset <= 0)
        return {};
    return QRect(width() - kArrowSize - 2, 2, kArrowSize, kArrowSize);
}

QRect SectionBar::barDownArrow() const {
    if (m_barOffset >= maxBarOffset())
        return {};
    return QRect(width() - kArrowSize - 2, height() - kArrowSize - 2, kArrowSize, kArrowSize);
}

bool SectionBar::scrollItems(int steps) {
    const int first = std::clamp(m_firstItem + steps, 0, maxFirstItem());
    if (first == m_firstItem)
        return false;
    cancelEditing();
    m_firstItem = first;
    m_hoverItem = -1;
    update();
    return true;
}

bool SectionBar::scrollBar(int pixels) {
    const int before = m_barOffset;
    setBarOffset(m_barOffset + pixels);
    return m_barOffset != before;
}

void SectionBar::setBarOffset(int offset) {
    offset = std::clamp(offset, 0, maxBarOffset());
    if (offset == m_barOffset)
        return;
    cancelEditing();
    m_barOffset = offset;
    m_hoverItem = -1;
    update();
}

void SectionBar::clampScrolling() {
    m_firstItem = std::clamp(m_firstItem, 0, maxFirstItem());
    m_barOffset = std::clamp(m_barOffset, 0, maxBarOffset());
}

void SectionBar::ensureItemVisible(int item) {
    if (!validItem(m_active, item))
        return;
    const int fit = std::max(1, itemsAreaHeight() / itemHeight());
    if (item < m_firstItem)
        m_firstItem = item;
    else if (item >= m_firstItem + fit)
        m_firstItem = item - fit + 1;
    clampScrolling();
    // The item's place in the bar as a whole, when the bar itself scrolls.
    const int top = (m_active + 1) * headerHeight() + (item - m_firstItem) * itemHeight();
    if (top < m_barOffset)
        setBarOffset(top);
    else if (top + itemHeight() - m_barOffset > height())
        setBarOffset(top + itemHeight() - height());
    placeEditor();
    update();
}

void SectionBar::setDragScroll(int direction) {
    m_dragScrollDirection = direction;
    if (direction == 0)
        m_dragScrollTimer->stop();
    else if (!m_dragScrollTimer->isActive())
        m_dragScrollTimer->start();
}

void SectionBar::wheelEvent(QWheelEvent* event) {
    m_wheelRest += event->angleDelta().y();
    const int steps = m_wheelRest / 120;
    m_wheelRest %= 120;
    if (steps == 0) {
        event->accept();
        return;
    }
    const QPoint point = event->position().toPoint();
    const bool overItems = sectionAt(point) < 0;
    // Items first where they are; the bar when they cannot move or the wheel is over a header.
    if (!(overItems && scrollItems(-steps)))
        scrollBar(-steps * headerHeight());
    event->accept();
}

int SectionBar::sectionAt(const QPoint& point) const {
    for (int s = 0; s < sectionCount(); ++s)
        if (sectionRect(s).contains(point))
            return s;
    return -1;
}

int SectionBar::itemAt(const QPoint& point) const {
    if (m_active < 0 || point.y() < itemsTop() || point.y() >= itemsBottom() || point.x() < 0 || point.x() >= width())
        return -1;
    if (sectionAt(point) >= 0)
        return -1;
    int item = m_firstItem + (point.y() - itemsTop()) / itemHeight();
    return item < itemCount(m_active) ? item : -1;
}

QSize SectionBar::sizeHint() const {
    return QSize(160, 240);
}

// ---- fill and painting

void SectionBar::setSolidFill(std::uint32_t color) {
    m_fillTop = m_fillBottom = color;
    m_gradient = false;
    update();
}

void SectionBar::setGradientFill(std::uint32_t top, std::uint32_t bottom) {
    m_fillTop = top;
    m_fillBottom = bottom;
    m_gradient = true;
    update();
}

void SectionBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QColor top = resolveColor(m_fillTop, palette());
    QColor bottom = resolveColor(m_fillBottom, palette());
    if (!m_gradient || top == bottom) {
        painter.fillRect(rect(), top);
    } else {
        QLinearGradient gradient(0, 0, 0, std::max(1, height() - 1));
        gradient.setColorAt(0, top);
        gradient.setColorAt(1, bottom);
        painter.fillRect(rect(), gradient);
    }

    QColor middle = m_gradient
                        ? QColor::fromRgbF((top.redF() + bottom.redF()) / 2, (top.greenF() + bottom.greenF()) / 2,
                                           (top.blueF() + bottom.blueF()) / 2)
                        : top;
    painter.save();
    painter.setClipRect(0, itemsTop(), width(), itemsBottom() - itemsTop());
    painter.setPen(blackOrWhiteOn(middle));
    for (int i = m_firstItem; m_active >= 0 && i < itemCount(m_active); ++i) {
        QRect r = itemRect(i);
        if (r.top() >= itemsBottom())
            break;
        if (i == m_hoverItem || i == m_pressedItem)
            qDrawShadePanel(&painter, r.adjusted(2, 1, -2, -1), palette(), i == m_pressedItem, 1);
        QString text = fontMetrics().elidedText(itemCaption(m_active, i), Qt::ElideRight, r.width() - 2 * kTextIndent);
        painter.drawText(r.adjusted(kTextIndent, 0, -kTextIndent, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
    }
    painter.restore();

    QBrush face = palette().brush(QPalette::Button);
    for (int s = 0; s < sectionCount(); ++s) {
        QRect r = sectionRect(s);
        qDrawShadePanel(&painter, r, palette(), s == m_pressedSection, 1, &face);
        painter.setPen(palette().color(QPalette::ButtonText));
        QString text = fontMetrics().elidedText(sectionCaption(s), Qt::ElideRight, r.width() - 8);
        painter.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignCenter, text);
    }

    // The arrows of what is hidden: small buttons like the headers, with a triangle in their
    // text colour.
    const auto arrow = [&](const QRect& r, bool up) {
        if (r.isEmpty())
            return;
        qDrawShadePanel(&painter, r, palette(), false, 1, &face);
        const QPointF centre = QRectF(r).center();
        const double half = r.width() / 4.0;
        const double dy = up ? -half / 2 : half / 2;
        const QPointF triangle[3] = {{centre.x() - half, centre.y() - dy},
                                     {centre.x() + half, centre.y() - dy},
                                     {centre.x(), centre.y() + dy}};
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(QPalette::ButtonText));
        painter.drawPolygon(triangle, 3);
        painter.restore();
    };
    arrow(itemsUpArrow(), true);
    arrow(itemsDownArrow(), false);
    arrow(barUpArrow(), true);
    arrow(barDownArrow(), false);
}

// ---- mouse

void SectionBar::mousePressEvent(QMouseEvent* event) {
    cancelEditing();
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    QPoint point = event->position().toPoint();
    // The arrows take the press before what lies under them.
    if (barUpArrow().contains(point) || barDownArrow().contains(point)) {
        scrollBar(barUpArrow().contains(point) ? -headerHeight() : headerHeight());
        return;
    }
    if (itemsUpArrow().contains(point) || itemsDownArrow().contains(point)) {
        scrollItems(itemsUpArrow().contains(point) ? -1 : 1);
        return;
    }
    m_pressedSection = sectionAt(point);
    m_pressedItem = m_pressedSection < 0 ? itemAt(point) : -1;
    update();
}

void SectionBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    QPoint point = event->position().toPoint();
    int section = m_pressedSection;
    int item = m_pressedItem;
    m_pressedSection = m_pressedItem = -1;
    update();
    if (section >= 0 && sectionAt(point) == section) {
        setActiveSection(section);
        emit sectionClicked(section);
    } else if (item >= 0 && sectionAt(point) < 0 && itemAt(point) == item) {
        emit itemClicked(m_active, item);
    }
}

void SectionBar::mouseMoveEvent(QMouseEvent* event) {
    QPoint point = event->position().toPoint();
    int hover = sectionAt(point) < 0 ? itemAt(point) : -1;
    if (hover != m_hoverItem) {
        m_hoverItem = hover;
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void SectionBar::leaveEvent(QEvent* event) {
    if (m_hoverItem >= 0) {
        m_hoverItem = -1;
        update();
    }
    QWidget::leaveEvent(event);
}

void SectionBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    clampScrolling();
    placeEditor();
}

// ---- in-place editing

void SectionBar::editSectionCaption(int section) {
    if (!validSection(section))
        return;
    cancelEditing();
    startEditor({EditKind::Section, section, -1}, sectionCaption(section));
}

void SectionBar::editItemCaption(int section, int item) {
    if (!validItem(section, item))
        return;
    cancelEditing();
    setActiveSection(section);
    ensureItemVisible(item);
    startEditor({EditKind::Item, section, item}, itemCaption(section, item));
}

void SectionBar::startEditor(const EditTarget& target, const QString& text) {
    m_edit = target;
    m_editor->setText(text);
    placeEditor();
    m_editor->show();
    m_editor->raise();
    m_editor->selectAll();
    m_editor->setFocus(Qt::OtherFocusReason);
}

void SectionBar::placeEditor() {
    if (!isEditing())
        return;
    QRect r = m_edit.kind == EditKind::Section ? sectionRect(m_edit.section) : itemRect(m_edit.item);
    int height = std::max(r.height(), m_editor->sizeHint().height());
    m_editor->setGeometry(r.left(), r.center().y() - height / 2 + 1, r.width(), height);
}

void SectionBar::cancelEditing() {
    if (!isEditing())
        return;
    // Cleared before hiding: hiding moves the focus, and the editor's focus-out comes back here.
    m_edit = {};
    m_editor->hide();
    QToolTip::hideText();
}

void SectionBar::commitEditing(const QString& text) {
    EditTarget target = m_edit;
    cancelEditing();
    if (target.kind == EditKind::Section && validSection(target.section)) {
        m_data.sections[target.section].caption = text.toStdString();
        update();
        emit sectionCaptionEdited(target.section, text);
    } else if (target.kind == EditKind::Item && validItem(target.section, target.item)) {
        m_data.sections[target.section].items[target.item].caption = text.toStdString();
        update();
        emit itemCaptionEdited(target.section, target.item, text);
    }
}

void SectionBar::refuseCharacter(const QString& character) {
    QString message = Cp1251Validator::refusalMessage(character);
    QToolTip::showText(m_editor->mapToGlobal(QPoint(0, m_editor->height())), message, m_editor);
    emit captionRejected(message);
}

// ---- drops

void SectionBar::setDropFilter(DropFilter filter) {
    m_dropFilter = std::move(filter);
}

bool SectionBar::acceptsDrop(const QDropEvent* event) const {
    return m_dropFilter && m_dropFilter(event->mimeData(), event->source(), event->position().toPoint());
}

void SectionBar::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptsDrop(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void SectionBar::dragMoveEvent(QDragMoveEvent* event) {
    // Held near the top or bottom of the items (or on an arrow), the items scroll towards it.
    const QPoint point = event->position().toPoint();
    const int edge = itemHeight() / 2;
    int direction = 0;
    if (m_active >= 0 && point.y() >= itemsTop() && point.y() < itemsBottom()) {
        if (point.y() < itemsTop() + edge || itemsUpArrow().contains(point))
            direction = -1;
        else if (point.y() >= itemsBottom() - edge || itemsDownArrow().contains(point))
            direction = 1;
    }
    setDragScroll(direction);
    if (acceptsDrop(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void SectionBar::dragLeaveEvent(QDragLeaveEvent* event) {
    setDragScroll(0);
    QWidget::dragLeaveEvent(event);
}

void SectionBar::dropEvent(QDropEvent* event) {
    setDragScroll(0);
    if (!acceptsDrop(event)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit dropped(event->mimeData(), event->source(), event->position().toPoint());
}

} // namespace widgets
