// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testpoints/dataset_grid_window.h"

#include <functional>

class QTableView;

// The test point grid window: the open test point table (AcquiredTable),
// read-only, whose clicked row becomes the current test point.
class TFAcqTable : public DatasetGridWindow {
    Q_OBJECT

public:
    TFAcqTable(Dataset& acquiredTable, QSize screen, std::function<int()> bottomLimit, QWidget* parent = nullptr);

    QTableView* DBGrid1;

    // Selects the clicked row as the current test point, then loads the
    // alarm window.
    void DBGrid1CellClick(const QModelIndex& index);
    // LoadAlarmWindow of the manual alarm window, set when that window exists.
    std::function<void()> loadAlarmWindow;

private:
    Dataset& m_acquiredTable;
};
