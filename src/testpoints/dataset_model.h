// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>

#include <list>
#include <map>
#include <vector>

class Dataset;
enum class DatasetEvent;

// A read-only table model over a Dataset for the grid windows. Rows are read
// in blocks as the view asks for them, so a table of a million rows opens at
// once; the model follows the dataset's changes and its current row.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit DatasetModel(Dataset& dataset, QObject* parent = nullptr);
    ~DatasetModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The dataset's current row among the shown rows, -1 for none.
    int CurrentRow() const { return m_currentRow; }
    Dataset& Source() { return m_dataset; }
    // Rows read from the table so far (for tests and benchmarks).
    long long RowsFetched() const { return m_rowsFetched; }

signals:
    void currentRowChanged(int row);

private:
    static constexpr int kBlockRows = 256;
    static constexpr size_t kCachedBlocks = 16;

    void OnDatasetEvent(DatasetEvent event);
    void Reload();
    void FollowCursor();
    const std::vector<QVariant>* RowValues(int row) const;

    Dataset& m_dataset;
    int m_listener = 0;
    int m_rows = 0;
    int m_columns = 0;
    int m_currentRow = -1;
    QStringList m_headers;
    mutable std::map<long long, std::vector<std::vector<QVariant>>> m_blocks;
    mutable std::list<long long> m_blockUse;  // most recent first
    mutable long long m_rowsFetched = 0;
};
