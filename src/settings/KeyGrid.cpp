#include "settings/KeyGrid.h"

#include "app/Common.h"
#include "settings/ControlMap.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace settings {
namespace {

constexpr int kRows = 7;
constexpr int kColumns = 4;
constexpr int kRowHeight = 16;
constexpr int kColumnWidths[kColumns] = {128, 64, 64, 64};

const char* const kColumnCaptions[kColumns] = {"Режим", "Alt", "Ctrl", "Shift"};
const char* const kRowCaptions[kRows - 1] = {"Редактирование ИБ", "Предприятие", "Конфигуратор",
                                             "Отладчик",          "Монитор",     "Пакетный режим"};

QTableWidgetItem* fixedItem(const char* caption, const QPalette& palette) {
    auto* item = new QTableWidgetItem(QString::fromUtf8(caption));
    // Not enabled: neither selectable nor reachable by the arrow keys; drawn in the normal text
    // colour on the button face, like a header.
    item->setFlags(Qt::NoItemFlags);
    item->setForeground(palette.color(QPalette::Active, QPalette::ButtonText));
    item->setBackground(palette.color(QPalette::Active, QPalette::Button));
    return item;
}

} // namespace

KeyGrid::KeyGrid(std::string& map, QWidget* parent) : QTableWidget(kRows, kColumns, parent), m_map(map) {
    setObjectName(QStringLiteral("stgKey"));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    int width = 0;
    for (int c = 0; c < kColumns; ++c) {
        setColumnWidth(c, kColumnWidths[c]);
        width += kColumnWidths[c];
    }
    for (int r = 0; r < kRows; ++r)
        setRowHeight(r, kRowHeight);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setFixedSize(width + 2 * frameWidth(), kRows * kRowHeight + 2 * frameWidth());

    const QPalette pal = palette();
    for (int c = 0; c < kColumns; ++c)
        setItem(0, c, fixedItem(kColumnCaptions[c], pal));
    for (int r = 1; r < kRows; ++r) {
        setItem(r, 0, fixedItem(kRowCaptions[r - 1], pal));
        for (int c = 1; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(Qt::AlignCenter);
            setItem(r, c, item);
        }
    }
    setCurrentCell(1, 1);
    refresh();
}

void KeyGrid::refresh() {
    for (int r = 1; r <= ControlMapRows; ++r) {
        for (int c = 1; c <= ControlMapColumns; ++c) {
            const std::size_t i = controlMapIndex(r, c);
            const bool on = i < m_map.size() && m_map[i] == '1';
            const std::string_view caption = app::ModifierCaptions[on ? 1 : 0][static_cast<std::size_t>(c - 1)];
            item(r, c)->setText(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
        }
    }
}

void KeyGrid::fitFont() {
    // Room the item delegate leaves around the text: a margin on either side, the grid line.
    constexpr int kMargins = 8;
    QFont f = font();
    const auto fits = [&](const QFont& candidate) {
        const QFontMetrics metrics(candidate);
        if (metrics.height() > kRowHeight)
            return false;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                const QTableWidgetItem* it = item(r, c);
                const QString longest = c == 0 || r == 0 ? it->text() : QStringLiteral("Shift");
                if (metrics.horizontalAdvance(longest) + kMargins > kColumnWidths[c])
                    return false;
            }
        return true;
    };
    while (!fits(f) && f.pointSizeF() > 5.0)
        f.setPointSizeF(f.pointSizeF() - 0.5);
    setFont(f);
}

bool KeyGrid::isDataCell(int row, int column) {
    return row >= 1 && row <= ControlMapRows && column >= 1 && column <= ControlMapColumns;
}

void KeyGrid::setCharacter(int row, int column, char c) {
    const std::size_t i = controlMapIndex(row, column);
    if (i >= m_map.size())
        return;
    m_map[i] = c;
    refresh();
    emit cellEdited(row);
}

void KeyGrid::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Delete) && isDataCell(currentRow(), currentColumn())) {
        setCharacter(currentRow(), currentColumn(), key == Qt::Key_Space ? '1' : '0');
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void KeyGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    event->accept();
    if (!index.isValid() || !isDataCell(index.row(), index.column()) || event->button() != Qt::LeftButton)
        return;
    const std::size_t i = controlMapIndex(index.row(), index.column());
    if (i >= m_map.size())
        return;
    if (m_map[i] == '0')
        setCharacter(index.row(), index.column(), '1');
    else if (m_map[i] == '1')
        setCharacter(index.row(), index.column(), '0');
    else
        emit cellEdited(index.row());
}

} // namespace settings
