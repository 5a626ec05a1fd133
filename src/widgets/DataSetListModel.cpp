#include "widgets/DataSetListModel.h"

#include "engine/DataSet.h"
#include "engine/EngineError.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

namespace widgets {

DataSetListModel::DataSetListModel(engine::DataSet& dataSet, std::vector<std::string> fields, QObject* parent)
    : QAbstractTableModel(parent), m_dataSet(dataSet), m_fields(std::move(fields)),
      m_leaveEditing([](engine::DataSet& set) { set.post(); }) {
    readRows();
}

void DataSetListModel::setHeaders(const QStringList& headers) {
    m_headers = headers;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int DataSetListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int DataSetListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_fields.size());
}

QVariant DataSetListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return QString::fromStdString(text(index.row(), index.column()));
}

QVariant DataSetListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= m_headers.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_headers.at(section);
}

std::string DataSetListModel::text(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    // The row being inserted or edited shows what has been typed so far.
    const auto state = m_dataSet.state();
    if (row == m_current && (state == engine::DataSetState::Insert || state == engine::DataSetState::Edit))
        return m_dataSet.fieldText(m_fields[static_cast<std::size_t>(column)]);
    return m_rows[static_cast<std::size_t>(row)].values[static_cast<std::size_t>(column)];
}

bool DataSetListModel::isPending(int row) const {
    return row >= 0 && row < rowCount() && m_rows[static_cast<std::size_t>(row)].recno == 0;
}

void DataSetListModel::readRows() {
    if (!m_dataSet.isOpen()) {
        m_rows.clear();
        m_current = -1;
        return;
    }
    const auto state = m_dataSet.state();
    if (state == engine::DataSetState::Insert) {
        // The rows on disk stay as read; the pending row stands where the current row was.
        for (int row = 0; row < rowCount(); ++row) {
            if (isPending(row)) {
                m_current = row;
                return;
            }
        }
        const int at = m_current < 0 ? 0 : m_current;
        m_rows.insert(m_rows.begin() + at, Row{0, std::vector<std::string>(m_fields.size())});
        m_current = at;
        return;
    }
    if (state == engine::DataSetState::Edit) {
        std::erase_if(m_rows, [](const Row& r) { return r.recno == 0; });
        m_current = -1;
        for (int row = 0; row < rowCount(); ++row)
            if (m_rows[static_cast<std::size_t>(row)].recno == m_dataSet.recno())
                m_current = row;
        return;
    }

    m_rows.clear();
    m_current = -1;
    const std::uint32_t current = m_dataSet.recno();
    try {
        for (m_dataSet.first(); !m_dataSet.eof(); m_dataSet.next()) {
            Row row{m_dataSet.recno(), {}};
            if (row.recno == 0)
                break;
            for (const auto& field : m_fields)
                row.values.push_back(m_dataSet.fieldText(field));
            m_rows.push_back(std::move(row));
        }
        // Back to the row that was current; without one (or when it is gone) the first row.
        if (current == 0 || !m_dataSet.gotoRecord(current))
            m_dataSet.first();
    } catch (const engine::EngineError& error) {
        emit errorOccurred(QString::fromStdString(error.what()));
    }
    const std::uint32_t now = m_dataSet.recno();
    for (int row = 0; row < rowCount(); ++row)
        if (now != 0 && m_rows[static_cast<std::size_t>(row)].recno == now)
            m_current = row;
}

void DataSetListModel::reload() {
    beginResetModel();
    readRows();
    endResetModel();
    showCurrentInView();
    emit currentRowChanged(m_current);
}

bool DataSetListModel::setCurrentRow(int row) {
    if (row < 0 || row >= rowCount() || !m_dataSet.isOpen())
        return false;
    const auto state = m_dataSet.state();
    const bool changing = state == engine::DataSetState::Insert || state == engine::DataSetState::Edit;
    if (row == m_current && (changing || m_dataSet.recno() == m_rows[static_cast<std::size_t>(row)].recno))
        return true;
    const std::uint32_t target = m_rows[static_cast<std::size_t>(row)].recno;
    try {
        if (changing) {
            m_leaveEditing(m_dataSet);
            // A pending row that was posted or dropped changes the rows: read them again.
            if (target == 0 || !m_dataSet.gotoRecord(target)) {
                reload();
                return false;
            }
            reload();
            return true;
        }
        if (!m_dataSet.gotoRecord(target)) {
            reload();
            return false;
        }
    } catch (const engine::EngineError& error) {
        showCurrentInView();
        emit errorOccurred(QString::fromStdString(error.what()));
        return false;
    }
    m_current = row;
    showCurrentInView();
    emit currentRowChanged(m_current);
    return true;
}

void DataSetListModel::setLeaveEditing(std::function<void(engine::DataSet&)> leave) {
    m_leaveEditing = std::move(leave);
}

void DataSetListModel::attachView(QAbstractItemView* view) {
    view->setModel(this);
    m_selection = view->selectionModel();
    connect(m_selection, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onViewCurrentChanged(current); });
    showCurrentInView();
}

void DataSetListModel::showCurrentInView() {
    if (!m_selection)
        return;
    m_syncing = true;
    if (m_current >= 0)
        m_selection->setCurrentIndex(index(m_current, 0),
                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        m_selection->clear();
    m_syncing = false;
}

void DataSetListModel::onViewCurrentChanged(const QModelIndex& current) {
    if (m_syncing || !current.isValid())
        return;
    setCurrentRow(current.row());
}

} // namespace widgets
