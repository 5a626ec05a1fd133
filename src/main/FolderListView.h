#pragma once
#include <QListView>
#include <QPoint>

#include <functional>

class QDropEvent;
class QMimeData;

namespace mainwin {

// The infobase list dbgFolder: a double click reports the modifiers of its own event; a press of
// the left button that is not part of a double click starts dragging the infobase once the
// pointer has moved by the system's drag distance; drops are accepted only where the owner's
// filter says so (a drag whose source is the registry window's unaccounted list).
class FolderListView : public QListView {
    Q_OBJECT
public:
    // The drag's data and its source widget (null for drags from other programs).
    using DropFilter = std::function<bool(const QMimeData*, const QObject* source)>;
    using DropHandler = std::function<void(const QMimeData*)>;
    using DragData = std::function<QMimeData*()>;

    explicit FolderListView(QWidget* parent = nullptr);

    void setDropFilter(DropFilter filter) { m_dropFilter = std::move(filter); }
    void setDropHandler(DropHandler handler) { m_dropHandler = std::move(handler); }
    // Builds the data of a drag of the current infobase; null: no drag.
    void setDragData(DragData build) { m_dragData = std::move(build); }

    // True between a press that may start a drag and the release or the start of the drag.
    bool isDragPending() const { return m_dragPending; }

signals:
    void doubleClickedWith(Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool accepts(const QDropEvent* event) const;

    DropFilter m_dropFilter;
    DropHandler m_dropHandler;
    DragData m_dragData;
    QPoint m_pressPos;
    bool m_dragPending = false;
};

} // namespace mainwin
