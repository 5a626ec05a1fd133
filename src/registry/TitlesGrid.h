#pragma once
#include "registry/TitlesSync.h"

#include <QTableWidget>

#include <vector>

namespace registry {

// The Titles list: a read-only grid with the columns "Каталог" (value name) and "Наименование"
// (title), one row per entry. Its two columns share the grid's width whenever it changes; the
// user may still drag them.
class TitlesGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TitlesGrid(QWidget* parent = nullptr);

    // Shows the entries; the first row becomes current.
    void setEntries(const std::vector<TitleEntry>& entries);
    const std::vector<TitleEntry>& entries() const { return m_entries; }
    // The entry of the highlighted row; nullptr when there is none.
    const TitleEntry* currentEntry() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void shareWidth();

    std::vector<TitleEntry> m_entries;
};

} // namespace registry
