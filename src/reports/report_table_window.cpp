// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_table_window.h"

#include "platform/fields.h"
#include "testpoints/grid_placement.h"

#include <QTableView>

namespace {
std::map<QString, int> ColumnWidths()
{
    return {
        {QLatin1String(fields::kIndex), 34},        {QLatin1String(fields::kCh), 37},
        {QLatin1String(fields::kFreq), 55},         {QLatin1String(fields::kSystem), 55},
        {QLatin1String(fields::kType), 61},         {QLatin1String(fields::kBw), 36},
        {QLatin1String(fields::kLnb), 66},          {QLatin1String(fields::kSymbolRate), 59},
        {QLatin1String(fields::kCodeRate), 52},     {QLatin1String(fields::kGuardInterval), 70},
        {QLatin1String(fields::kInvSpectral), 63},  {QLatin1String(fields::kLevel), 48},
        {QLatin1String(fields::kCN), 49},           {QLatin1String(fields::kVA), 47},
        {QLatin1String(fields::kDesvFM), 53},       {QLatin1String(fields::kMER), 46},
        {QLatin1String(fields::kCBER), 67},         {QLatin1String(fields::kLBER), 61},
        {QLatin1String(fields::kDate), 67},         {QLatin1String(fields::kHour), 57},
        {QLatin1String(fields::kLatitude), 71},     {QLatin1String(fields::kNS), 26},
        {QLatin1String(fields::kLongitude), 79},    {QLatin1String(fields::kEW), 27},
        {QLatin1String(fields::kWarning), 46},
    };
}
}  // namespace

TFRepTable::TFRepTable(Dataset& reportTable, QSize screen, std::function<int()> bottomLimit, QWidget* parent)
    : DatasetGridWindow(reportTable, "DBGrid2", ColumnWidths(), false, std::move(bottomLimit), parent),
      m_screen(screen)
{
    setObjectName(QStringLiteral("TFRepTable"));
    DBGrid2 = Grid();
    Place(RepTableInitialGeometry(screen, BottomLimit()));
}

void TFRepTable::showEvent(QShowEvent* event)
{
    // At creation the main window may not have its final size yet; the first
    // showing sits the window on the working area's bottom as it is then.
    if (!m_shownOnce) {
        m_shownOnce = true;
        Place(RepTableInitialGeometry(m_screen, BottomLimit()));
    }
    DatasetGridWindow::showEvent(event);
}
