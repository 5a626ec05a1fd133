#include "registry/UnaccountedList.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

namespace registry {

UnaccountedList::UnaccountedList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(false); // the drag is started here, for either button
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every line is one row of the same height: the view need not measure thousands of them.
    setUniformItemSizes(true);
}

void UnaccountedList::setLines(const QStringList& lines) {
    setUpdatesEnabled(false);
    clear();
    for (const QString& line : lines) {
        auto* item = new QListWidgetItem(line);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        addItem(item);
    }
    setUpdatesEnabled(true);
    setCurrentRow(-1);
    clearSelection();
}

void UnaccountedList::setAllChecked(bool checked) {
    for (int row = 0; row < count(); ++row)
        item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void UnaccountedList::invertChecks() {
    for (int row = 0; row < count(); ++row)
        item(row)->setCheckState(item(row)->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

QStringList UnaccountedList::checkedLines() const {
    QStringList lines;
    for (int row = 0; row < count(); ++row)
        if (item(row)->checkState() == Qt::Checked)
            lines << item(row)->text();
    return lines;
}

std::optional<QString> UnaccountedList::highlightedLine() const {
    const auto selected = selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.front()->text();
}

QString UnaccountedList::dragMimeType() {
    return QStringLiteral("application/x-tarvesk-unaccounted-infobases");
}

void UnaccountedList::mousePressEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if (button == Qt::LeftButton || button == Qt::RightButton) {
        emit buttonPressed(button);
        m_armed = button;
        m_pressPos = event->position().toPoint();
    }
    if (button != Qt::RightButton)
        QListWidget::mousePressEvent(event);
}

void UnaccountedList::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click: announced like any press, but it arms no drag.
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        emit buttonPressed(event->button());
    m_armed = Qt::NoButton;
    if (event->button() != Qt::RightButton)
        QListWidget::mouseDoubleClickEvent(event);
}

void UnaccountedList::mouseMoveEvent(QMouseEvent* event) {
    if (m_armed != Qt::NoButton && (event->buttons() & m_armed) &&
        (event->position().toPoint() - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        m_armed = Qt::NoButton;
        beginDrag();
        return;
    }
    if (!(event->buttons() & Qt::RightButton))
        QListWidget::mouseMoveEvent(event);
}

void UnaccountedList::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == m_armed)
        m_armed = Qt::NoButton;
    if (event->button() != Qt::RightButton)
        QListWidget::mouseReleaseEvent(event);
}

void UnaccountedList::beginDrag() {
    if (m_dragStarter) {
        m_dragStarter();
        return;
    }
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setData(dragMimeType(), QByteArray());
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction);
}

} // namespace registry
