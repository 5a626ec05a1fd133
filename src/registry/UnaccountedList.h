#pragma once
#include <QListWidget>
#include <QPoint>

#include <functional>
#include <optional>

namespace registry {

// The list of unaccounted infobases: one checkable item per line. A press of the left or the right
// button is announced (it chooses what a drop imports); either button arms a drag of the list that
// starts once the pointer has moved the system's drag distance, except on the second press of a
// double click. A right press does not move the highlight, so the highlighted item stays the one
// the user chose.
class UnaccountedList : public QListWidget {
    Q_OBJECT
public:
    explicit UnaccountedList(QWidget* parent = nullptr);

    // Replaces the items by these lines, unchecked, none highlighted.
    void setLines(const QStringList& lines);
    // Every item's check mark.
    void setAllChecked(bool checked);
    void invertChecks();
    QStringList checkedLines() const;
    // The highlighted line; std::nullopt when none is highlighted.
    std::optional<QString> highlightedLine() const;

    // The MIME type the drag carries; the infobase list accepts drags whose source is this list.
    static QString dragMimeType();
    // Replaces the start of the drag (a QDrag of this list by default); tests count starts.
    void setDragStarter(std::function<void()> starter) { m_dragStarter = std::move(starter); }

signals:
    void buttonPressed(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void beginDrag();

    Qt::MouseButton m_armed = Qt::NoButton;
    QPoint m_pressPos;
    std::function<void()> m_dragStarter;
};

} // namespace registry
