// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/dataset_grid_window.h"

#include "testpoints/dataset.h"
#include "testpoints/dataset_model.h"
#include "testpoints/grid_placement.h"

#include <QHeaderView>
#include <QLoggingCategory>
#include <QItemSelectionModel>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QTableView>
#include <QVBoxLayout>

Q_DECLARE_LOGGING_CATEGORY(lcTables)

DatasetGridWindow::DatasetGridWindow(Dataset& dataset, const char* gridName, std::map<QString, int> columnWidths,
                                     bool holdLeft, std::function<int()> bottomLimit, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      m_dataset(dataset),
      m_columnWidths(std::move(columnWidths)),
      m_holdLeft(holdLeft),
      m_bottomLimit(std::move(bottomLimit))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QLatin1String(gridName));
    m_model = new DatasetModel(dataset, this);
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setShowGrid(true);
    m_grid->setWordWrap(false);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->horizontalHeader()->setHighlightSections(false);
    // Fixed row heights keep a grid over a million rows cheap to scroll.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
    m_grid->verticalHeader()->setMinimumWidth(14);
    // The selection stays visible when the grid loses the focus.
    QPalette palette = m_grid->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    m_grid->setPalette(palette);
    layout->addWidget(m_grid);

    connect(m_model, &QAbstractItemModel::modelReset, this, &DatasetGridWindow::ApplyColumnWidths);
    connect(m_model, &DatasetModel::currentRowChanged, this, &DatasetGridWindow::SelectCurrentRow);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { SelectCurrentRow(m_model->CurrentRow()); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &DatasetGridWindow::OnUserSelection);
    ApplyColumnWidths();
}

DatasetGridWindow::~DatasetGridWindow() = default;

int DatasetGridWindow::BottomLimit() const
{
    return m_bottomLimit ? m_bottomLimit() : INT_MAX / 2;
}

void DatasetGridWindow::ApplyColumnWidths()
{
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const QString name = m_model->headerData(column, Qt::Horizontal).toString();
        const auto it = m_columnWidths.find(name);
        m_grid->setColumnWidth(column, it == m_columnWidths.end() ? kDefaultColumnWidth : it->second);
    }
}

void DatasetGridWindow::SelectCurrentRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_followingCursor = true;
    m_grid->selectRow(row);
    m_followingCursor = false;
}

void DatasetGridWindow::OnUserSelection()
{
    if (m_followingCursor || !m_dataset.IsOpen())
        return;
    const int row = m_grid->selectionModel()->currentIndex().row();
    if (row < 0 || row == m_model->CurrentRow())
        return;
    try {
        m_dataset.MoveTo(row);
    } catch (const std::exception& error) {
        // A row the table cannot reach stays unselected in the dataset; the
        // next command on it reports the engine's error.
        qCWarning(lcTables) << "grid cannot select row" << row << error.what();
    }
}

void DatasetGridWindow::Place(const QRect& geometry)
{
    m_placing = true;
    setGeometry(geometry);
    m_placing = false;
}

void DatasetGridWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (m_placing || !isVisible())
        return;
    const QRect limited = LimitGridMove(geometry(), BottomLimit(), m_holdLeft);
    if (limited != geometry())
        Place(limited);
}

void DatasetGridWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_placing || !isVisible())
        return;
    const QRect limited = LimitGridResize(geometry(), BottomLimit(), m_holdLeft);
    if (limited != geometry())
        Place(limited);
}
