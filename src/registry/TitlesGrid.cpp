#include "registry/TitlesGrid.h"

#include <QHeaderView>

namespace registry {

TitlesGrid::TitlesGrid(QWidget* parent) : QTableWidget(0, 2, parent) {
    setHorizontalHeaderLabels({QStringLiteral("Каталог"), QStringLiteral("Наименование")});
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
}

void TitlesGrid::setEntries(const std::vector<TitleEntry>& entries) {
    m_entries = entries;
    setUpdatesEnabled(false);
    clearContents();
    setRowCount(static_cast<int>(m_entries.size()));
    for (int row = 0; row < rowCount(); ++row) {
        const auto& entry = m_entries[static_cast<std::size_t>(row)];
        setItem(row, 0, new QTableWidgetItem(QString::fromStdString(entry.name)));
        setItem(row, 1, new QTableWidgetItem(QString::fromStdString(entry.title)));
    }
    if (rowCount() > 0)
        setCurrentCell(0, 0);
    setUpdatesEnabled(true);
}

const TitleEntry* TitlesGrid::currentEntry() const {
    const int row = currentRow();
    if (row < 0 || row >= static_cast<int>(m_entries.size()))
        return nullptr;
    return &m_entries[static_cast<std::size_t>(row)];
}

void TitlesGrid::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    shareWidth();
}

void TitlesGrid::shareWidth() {
    const int half = viewport()->width() / 2;
    setColumnWidth(0, half);
    setColumnWidth(1, viewport()->width() - half);
}

} // namespace registry
