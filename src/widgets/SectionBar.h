#pragma once
#include "widgets/SectionBarData.h"

#include <QWidget>
#include <cstdint>
#include <functional>

class QMimeData;
class QTimer;

namespace widgets {

class CaptionEditor;

// A bar of sections stacked like an outlook bar: the headers of the sections up to the active one
// at the top, the items of the active section under its header, the headers of the later sections
// at the bottom. A click on a header makes its section active; a click on an item reports it.
// Items that do not fit scroll: by the wheel, by the arrows shown at the top or bottom of the items
// while some are hidden there, and by holding a drag at the edge of the items. When even the
// headers do not fit, the whole bar scrolls the same way (wheel over the headers, arrows at the
// bar's ends), so every header stays reachable.
// Captions can be edited in place (a line edit over the header or item: Enter stores, anything
// else cancels). The owner builds the context menu from sectionAt/itemAt and decides which drops
// are accepted. Indexes count from 0; -1 means none.
class SectionBar : public QWidget {
    Q_OBJECT
public:
    // Decides whether a drag over the bar may be dropped (asked on enter, on every move and on the drop).
    using DropFilter = std::function<bool(const QMimeData* data, QObject* source, const QPoint& point)>;

    explicit SectionBar(QWidget* parent = nullptr);

    // Content. setData replaces all sections and makes the first one active.
    SectionBarData data() const { return m_data; }
    void setData(const SectionBarData& data);
    int sectionCount() const;
    int itemCount(int section) const;
    QString sectionCaption(int section) const;
    QString itemCaption(int section, int item) const;
    std::int32_t itemId(int section, int item) const;

    // Editing the content; invalid indexes are ignored. Each change cancels an open caption editor.
    int addSection(const QString& caption);
    void removeSection(int section);
    void setSectionCaption(int section, const QString& caption);
    int addItem(int section, const QString& caption, std::int32_t id);
    void removeItem(int section, int item);
    void setItemCaption(int section, int item, const QString& caption);

    int activeSection() const { return m_active; }
    // Makes a section active; out-of-range indexes are ignored.
    void setActiveSection(int section);

    // Hit testing in the bar's coordinates: the section whose header holds the point, and the
    // visible item of the active section that holds it.
    int sectionAt(const QPoint& point) const;
    int itemAt(const QPoint& point) const;
    QRect sectionRect(int section) const;
    // Rectangle of an item of the active section (may reach beyond the visible item area).
    QRect itemRect(int item) const;

    // Scrolling. The first item of the active section shown at the top of the items, and the
    // shift of the whole bar (pixels, 0 unless the headers do not fit).
    int firstVisibleItem() const { return m_firstItem; }
    int barOffset() const { return m_barOffset; }
    // Scrolls the items (and the bar) so that the item of the active section shows whole.
    void ensureItemVisible(int item);
    // Scrolls by whole items (negative: up); false when nothing moved.
    bool scrollItems(int steps);
    // Arrows shown while items (or, for the bar, headers) are hidden in that direction; empty
    // rectangles when there is nothing to scroll to.
    QRect itemsUpArrow() const;
    QRect itemsDownArrow() const;
    QRect barUpArrow() const;
    QRect barDownArrow() const;

    // Fill behind headers and items: one colour, or a vertical gradient from the top colour to the
    // bottom one. Colour values as in ColorTable.h; the default is solid application workspace.
    void setSolidFill(std::uint32_t color);
    void setGradientFill(std::uint32_t top, std::uint32_t bottom);
    bool isGradientFill() const { return m_gradient; }
    std::uint32_t fillColor() const { return m_fillTop; }
    std::uint32_t gradientEndColor() const { return m_fillBottom; }

    // In-place editing of a caption. The editor takes the focus and holds the current caption.
    // Editing an item makes its section active.
    void editSectionCaption(int section);
    void editItemCaption(int section, int item);
    void cancelEditing();
    bool isEditing() const { return m_edit.kind != EditKind::None; }
    CaptionEditor* captionEditor() const { return m_editor; }

    // No filter means no drop is accepted.
    void setDropFilter(DropFilter filter);

    QSize sizeHint() const override;

signals:
    void activeSectionChanged(int section);
    void sectionClicked(int section);
    void itemClicked(int section, int item);
    void sectionCaptionEdited(int section, const QString& caption);
    void itemCaptionEdited(int section, int item, const QString& caption);
    // The editor refused a character; the message is meant for the user. The bar also shows it as
    // a tool tip at the editor (a modal box would take the focus and so close the editor).
    void captionRejected(const QString& message);
    void dropped(const QMimeData* data, QObject* source, const QPoint& point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class EditKind { None, Section, Item };
    struct EditTarget {
        EditKind kind = EditKind::None;
        int section = -1;
        int item = -1;
    };

    int headerHeight() const;
    int itemHeight() const;
    // Height of the area between the headers where the items show: what the headers leave, but
    // never less than a few items (the bar then scrolls as a whole).
    int itemsAreaHeight() const;
    int maxBarOffset() const;
    int maxFirstItem() const;
    // Top and bottom (exclusive) of the area between the headers where the items show.
    int itemsTop() const;
    int itemsBottom() const;
    void setBarOffset(int offset);
    bool scrollBar(int pixels);
    void clampScrolling();
    // The drag is held at an edge of the items: scroll that way (0 stops).
    void setDragScroll(int direction);
    bool validSection(int section) const;
    bool validItem(int section, int item) const;
    void startEditor(const EditTarget& target, const QString& text);
    void placeEditor();
    void commitEditing(const QString& text);
    void refuseCharacter(const QString& character);
    bool acceptsDrop(const QDropEvent* event) const;
    void contentChanged();

    SectionBarData m_data;
    int m_active = -1;
    std::uint32_t m_fillTop;
    std::uint32_t m_fillBottom;
    bool m_gradient = false;
    CaptionEditor* m_editor;
    EditTarget m_edit;
    int m_pressedSection = -1;
    int m_pressedItem = -1;
    int m_hoverItem = -1;
    int m_firstItem = 0;
    int m_barOffset = 0;
    int m_wheelRest = 0; // wheel delta not yet turned into steps
    int m_dragScrollDirection = 0;
    QTimer* m_dragScrollTimer;
    DropFilter m_dropFilter;
};

} // namespace widgets
