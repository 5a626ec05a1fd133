#pragma once
#include <QAbstractTableModel>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QAbstractItemView;
class QItemSelectionModel;

namespace engine {
class DataSet;
}

namespace widgets {

// A list or table view of an engine data set: one row per visible row of the data set, in its
// order, one column per given field. The data set's current row and the view's current index
// follow each other: choosing a row in the view moves the data set there, and reload() puts the
// view back on the data set's current row. While the data set inserts, the pending row is shown
// as an extra row where the current row was; the row being inserted or edited shows its pending
// values. A closed data set shows no rows. The model never writes a field.
class DataSetListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DataSetListModel(engine::DataSet& dataSet, std::vector<std::string> fields, QObject* parent = nullptr);

    engine::DataSet& dataSet() const { return m_dataSet; }
    void setHeaders(const QStringList& headers);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Field text of a row (without trailing blanks), "" outside the rows.
    std::string text(int row, int column) const;

    // Re-reads the rows after posts, deletes, refreshes or moves made elsewhere; the data set's
    // current row stays current and the attached view is put on it. While the data set inserts
    // or edits, the rows on disk are not re-read (moving would end the change).
    void reload();

    // Row of the data set's current row; -1 when it has none.
    int currentRow() const { return m_current; }
    // Makes a row the data set's current row. A pending insert or edit is first ended through
    // the leave-editing handler (by default: post). False when that fails (the error is announced
    // and the data set stays where it was) or the row is gone (the rows are then re-read).
    bool setCurrentRow(int row);

    // What ends a pending insert or edit before the current row moves; may throw EngineError.
    void setLeaveEditing(std::function<void(engine::DataSet&)> leave);

    // Shows the model in the view; the view's current index and the data set's row follow each other.
    void attachView(QAbstractItemView* view);

signals:
    // The data set's current row changed (or was re-read); -1 when there is none.
    void currentRowChanged(int row);
    // Moving the current row failed with this message (the table engine's).
    void errorOccurred(const QString& message);

private:
    struct Row {
        std::uint32_t recno = 0; // 0: the pending new row
        std::vector<std::string> values;
    };

    bool isPending(int row) const;
    void readRows();
    void showCurrentInView();
    void onViewCurrentChanged(const QModelIndex& current);

    engine::DataSet& m_dataSet;
    std::vector<std::string> m_fields;
    QStringList m_headers;
    std::vector<Row> m_rows;
    int m_current = -1;
    std::function<void(engine::DataSet&)> m_leaveEditing;
    QItemSelectionModel* m_selection = nullptr;
    bool m_syncing = false;
};

} // namespace widgets
