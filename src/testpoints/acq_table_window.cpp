// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/acq_table_window.h"

#include "testpoints/dataset.h"
#include "testpoints/dataset_model.h"
#include "platform/fields.h"
#include "testpoints/grid_placement.h"

#include <QLoggingCategory>
#include <QTableView>

Q_DECLARE_LOGGING_CATEGORY(lcTables)

namespace {
std::map<QString, int> ColumnWidths()
{
    return {
        {QLatin1String(fields::kIndex), 28},        {QLatin1String(fields::kCh), 39},
        {QLatin1String(fields::kFreq), 41},         {QLatin1String(fields::kSystem), 54},
        {QLatin1String(fields::kType), 49},         {QLatin1String(fields::kBw), 27},
        {QLatin1String(fields::kLnb), 51},          {QLatin1String(fields::kSymbolRate), 56},
        {QLatin1String(fields::kModulation), 54},   {QLatin1String(fields::kCodeRate), 49},
        {QLatin1String(fields::kGInterval), 47},    {QLatin1String(fields::kInvSpectral), 57},
        {QLatin1String(fields::kCarrier), 32},      {QLatin1String(fields::kPlan), 85},
        {QLatin1String(fields::kBand), 28},         {QLatin1String(fields::kAlarm), 29},
        {QLatin1String(fields::kMinLV), 34},        {QLatin1String(fields::kMaxLV), 37},
        {QLatin1String(fields::kMinCN), 39},        {QLatin1String(fields::kMaxCN), 42},
        {QLatin1String(fields::kMinVA), 38},        {QLatin1String(fields::kMaxVA), 41},
        {QLatin1String(fields::kMinMER), 43},       {QLatin1String(fields::kMaxMER), 45},
        {QLatin1String(fields::kMinCBER), 49},      {QLatin1String(fields::kMaxCBER), 51},
        {QLatin1String(fields::kMinVBER), 48},      {QLatin1String(fields::kMaxVBER), 52},
        {QLatin1String(fields::kMinLBER), 47},      {QLatin1String(fields::kMaxLBER), 53},
    };
}
}  // namespace

TFAcqTable::TFAcqTable(Dataset& acquiredTable, QSize screen, std::function<int()> bottomLimit, QWidget* parent)
    : DatasetGridWindow(acquiredTable, "DBGrid1", ColumnWidths(), true, std::move(bottomLimit), parent),
      m_acquiredTable(acquiredTable)
{
    setObjectName(QStringLiteral("TFAcqTable"));
    DBGrid1 = Grid();
    DBGrid1->setEnabled(false);
    Place(AcqTableInitialGeometry(screen));
    connect(DBGrid1, &QTableView::clicked, this, &TFAcqTable::DBGrid1CellClick);
}

void TFAcqTable::DBGrid1CellClick(const QModelIndex& index)
{
    if (!index.isValid() || !m_acquiredTable.IsOpen())
        return;
    try {
        if (index.row() != Model()->CurrentRow())
            m_acquiredTable.MoveTo(index.row());
    } catch (const std::exception& error) {
        qCWarning(lcTables) << "test point grid cannot select row" << index.row() << error.what();
        return;
    }
    if (loadAlarmWindow)
        loadAlarmWindow();
}
