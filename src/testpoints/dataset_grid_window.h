// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>
#include <map>

class Dataset;
class DatasetModel;
class QTableView;

// A window holding one read-only grid over a dataset, kept on top, with the
// move and resize limits of the grid windows: top edge at 100 or lower,
// bottom edge at most at `bottomLimit()`.
class DatasetGridWindow : public QWidget {
    Q_OBJECT

public:
    DatasetGridWindow(Dataset& dataset, const char* gridName, std::map<QString, int> columnWidths,
                      bool holdLeft, std::function<int()> bottomLimit, QWidget* parent);
    ~DatasetGridWindow() override;

    QTableView* Grid() const { return m_grid; }
    DatasetModel* Model() const { return m_model; }
    int BottomLimit() const;

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void ApplyColumnWidths();
    void SelectCurrentRow(int row);
    // Sets the geometry without the limits interfering.
    void Place(const QRect& geometry);

    static constexpr int kDefaultColumnWidth = 64;

private:
    void OnUserSelection();

    Dataset& m_dataset;
    QTableView* m_grid = nullptr;
    DatasetModel* m_model = nullptr;
    std::map<QString, int> m_columnWidths;
    bool m_holdLeft;
    std::function<int()> m_bottomLimit;
    bool m_placing = false;
    bool m_followingCursor = false;
};
