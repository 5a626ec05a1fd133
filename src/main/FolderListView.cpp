#include "main/FolderListView.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace mainwin {

FolderListView::FolderListView(QWidget* parent) : QListView(parent) {
    setAcceptDrops(true);
    setDragEnabled(false); // the drag is started here, not by the view's own rules
    setDropIndicatorShown(false);
}

void FolderListView::mousePressEvent(QMouseEvent* event) {
    QListView::mousePressEvent(event);
    m_dragPending = event->button() == Qt::LeftButton;
    m_pressPos = event->position().toPoint();
}

void FolderListView::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragPending && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        m_dragPending = false;
        QMimeData* payload = m_dragData ? m_dragData() : nullptr;
        if (payload) {
            auto* drag = new QDrag(this);
            drag->setMimeData(payload);
            drag->exec(Qt::LinkAction | Qt::CopyAction, Qt::LinkAction);
        }
        return;
    }
    QListView::mouseMoveEvent(event);
}

void FolderListView::mouseReleaseEvent(QMouseEvent* event) {
    m_dragPending = false;
    QListView::mouseReleaseEvent(event);
}

// The second press of a double click never starts a drag.
void FolderListView::mouseDoubleClickEvent(QMouseEvent* event) {
    m_dragPending = false;
    if (event->button() == Qt::LeftButton)
        emit doubleClickedWith(event->modifiers());
}

bool FolderListView::accepts(const QDropEvent* event) const {
    return event->mimeData() && m_dropFilter && m_dropFilter(event->mimeData(), event->source());
}

void FolderListView::dragEnterEvent(QDragEnterEvent* event) {
    if (accepts(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void FolderListView::dragMoveEvent(QDragMoveEvent* event) {
    if (accepts(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void FolderListView::dropEvent(QDropEvent* event) {
    if (!accepts(event)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (m_dropHandler)
        m_dropHandler(event->mimeData());
}

} // namespace mainwin
