// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testpoints/dataset_grid_window.h"

class QTableView;

// The report table window: the open Measurements table (ReportTable),
// read-only, along the bottom of the main window's working area.
class TFRepTable : public DatasetGridWindow {
    Q_OBJECT

public:
    TFRepTable(Dataset& reportTable, QSize screen, std::function<int()> bottomLimit, QWidget* parent = nullptr);

    QTableView* DBGrid2;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QSize m_screen;
    bool m_shownOnce = false;
};
