// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/dataset_model.h"

#include "testpoints/dataset.h"

#include <QLoggingCategory>

#include <algorithm>
#include <climits>

Q_DECLARE_LOGGING_CATEGORY(lcTables)

DatasetModel::DatasetModel(Dataset& dataset, QObject* parent) : QAbstractTableModel(parent), m_dataset(dataset)
{
    m_listener = m_dataset.AddListener([this](DatasetEvent event) { OnDatasetEvent(event); });
    beginResetModel();
    Reload();
    endResetModel();
}

DatasetModel::~DatasetModel()
{
    m_dataset.RemoveListener(m_listener);
}

void DatasetModel::OnDatasetEvent(DatasetEvent event)
{
    switch (event) {
    case DatasetEvent::Opened:
    case DatasetEvent::Closed: {
        beginResetModel();
        Reload();
        endResetModel();
        break;
    }
    case DatasetEvent::RowsChanged: {
        const int before = m_rows;
        const QStringList headers = m_headers;
        m_blocks.clear();
        m_blockUse.clear();
        long long count = 0;
        try {
            count = m_dataset.IsOpen() ? m_dataset.RecordCount() : 0;
        } catch (const std::exception& error) {
            qCWarning(lcTables) << "grid cannot count rows:" << error.what();
        }
        const int after = static_cast<int>(std::min<long long>(count, INT_MAX));
        if (after >= before) {
            // Rows are appended far more often than anything else (a run adds
            // one per visit): keep the view's scroll position and selection.
            if (after > before) {
                beginInsertRows(QModelIndex(), before, after - 1);
                m_rows = after;
                endInsertRows();
            }
            if (before > 0 && m_columns > 0)
                emit dataChanged(index(0, 0), index(before - 1, m_columns - 1));
        } else {
            beginResetModel();
            Reload();
            endResetModel();
        }
        break;
    }
    case DatasetEvent::CursorMoved:
        FollowCursor();
        break;
    }
}

void DatasetModel::Reload()
{
    m_blocks.clear();
    m_blockUse.clear();
    m_headers.clear();
    m_rows = 0;
    m_currentRow = -1;
    if (!m_dataset.IsOpen()) {
        m_columns = 0;
        return;
    }
    m_headers = m_dataset.FieldNames();
    m_columns = static_cast<int>(m_headers.size());
    try {
        m_rows = static_cast<int>(std::min<long long>(m_dataset.RecordCount(), INT_MAX));
        m_currentRow = static_cast<int>(m_dataset.RecNo());
    } catch (const std::exception& error) {
        qCWarning(lcTables) << "grid cannot read the table:" << error.what();
    }
}

void DatasetModel::FollowCursor()
{
    int row = -1;
    try {
        row = static_cast<int>(m_dataset.RecNo());
    } catch (const std::exception& error) {
        qCWarning(lcTables) << "grid cannot place the current row:" << error.what();
    }
    if (row == m_currentRow)
        return;
    const int old = m_currentRow;
    m_currentRow = row;
    if (old >= 0 && old < m_rows)
        emit headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0 && row < m_rows)
        emit headerDataChanged(Qt::Vertical, row, row);
    emit currentRowChanged(row);
}

int DatasetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

const std::vector<QVariant>* DatasetModel::RowValues(int row) const
{
    const long long block = row / kBlockRows;
    auto it = m_blocks.find(block);
    if (it == m_blocks.end()) {
        std::vector<std::vector<QVariant>> rows;
        try {
            rows = m_dataset.ReadRows(block * kBlockRows, kBlockRows);
        } catch (const std::exception& error) {
            qCWarning(lcTables) << "grid cannot read rows:" << error.what();
            return nullptr;
        }
        m_rowsFetched += static_cast<long long>(rows.size());
        it = m_blocks.emplace(block, std::move(rows)).first;
        m_blockUse.push_front(block);
        if (m_blockUse.size() > kCachedBlocks) {
            m_blocks.erase(m_blockUse.back());
            m_blockUse.pop_back();
        }
    } else if (m_blockUse.front() != block) {
        m_blockUse.remove(block);
        m_blockUse.push_front(block);
    }
    const size_t offset = static_cast<size_t>(row % kBlockRows);
    if (offset >= it->second.size())
        return nullptr;
    return &it->second[offset];
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= m_columns)
        return QVariant();
    if (role != Qt::DisplayRole && role != Qt::TextAlignmentRole)
        return QVariant();
    const auto* values = RowValues(index.row());
    if (!values || static_cast<size_t>(index.column()) >= values->size())
        return QVariant();
    const QVariant& value = (*values)[static_cast<size_t>(index.column())];
    const bool number = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong;
    if (role == Qt::TextAlignmentRole)
        return number ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_headers.size() ? QVariant(m_headers[section]) : QVariant();
    // The record indicator: a marker on the dataset's current row.
    return section == m_currentRow ? QVariant(QStringLiteral("\u25B6")) : QVariant(QString());
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
