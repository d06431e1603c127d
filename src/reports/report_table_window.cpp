#include "reports/report_table_window.h"

#include "testpoints/grid_placement.h"

#include <QTableView>

namespace {
std::map<QString, int> ColumnWidths()
{
    return {
        {QStringLiteral("index"), 34},        {QStringLiteral("ch"), 37},          {QStringLiteral("freq"), 55},
        {QStringLiteral("system"), 55},       {QStringLiteral("type"), 61},        {QStringLiteral("bw"), 36},
        {QStringLiteral("lnb"), 66},          {QStringLiteral("symbol rate"), 59}, {QStringLiteral("code rate"), 52},
        {QStringLiteral("guard interval"), 70}, {QStringLiteral("inv.spectral"), 63}, {QStringLiteral("LEVEL"), 48},
        {QStringLiteral("C/N"), 49},          {QStringLiteral("V/A"), 47},         {QStringLiteral("DESV FM"), 53},
        {QStringLiteral("MER"), 46},          {QStringLiteral("CBER"), 67},        {QStringLiteral("LBER"), 61},
        {QStringLiteral("Date"), 67},         {QStringLiteral("Hour"), 57},        {QStringLiteral("Latitude"), 71},
        {QStringLiteral("N/S"), 26},          {QStringLiteral("Longitude"), 79},   {QStringLiteral("E/W"), 27},
        {QStringLiteral("warning"), 46},
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
