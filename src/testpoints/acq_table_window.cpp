#include "testpoints/acq_table_window.h"

#include "testpoints/dataset.h"
#include "testpoints/dataset_model.h"
#include "testpoints/grid_placement.h"

#include <QLoggingCategory>
#include <QTableView>

Q_DECLARE_LOGGING_CATEGORY(lcTables)

namespace {
std::map<QString, int> ColumnWidths()
{
    return {
        {QStringLiteral("index"), 28},       {QStringLiteral("ch"), 39},         {QStringLiteral("freq"), 41},
        {QStringLiteral("system"), 54},      {QStringLiteral("type"), 49},       {QStringLiteral("bw"), 27},
        {QStringLiteral("lnb"), 51},         {QStringLiteral("symbol rate"), 56}, {QStringLiteral("modulation"), 54},
        {QStringLiteral("code rate"), 49},   {QStringLiteral("g.interval"), 47}, {QStringLiteral("inv.spectral"), 57},
        {QStringLiteral("carrier"), 32},     {QStringLiteral("plan"), 85},       {QStringLiteral("band"), 28},
        {QStringLiteral("alarm"), 29},       {QStringLiteral("minLV"), 34},      {QStringLiteral("maxLV"), 37},
        {QStringLiteral("minC/N"), 39},      {QStringLiteral("maxC/N"), 42},     {QStringLiteral("minV/A"), 38},
        {QStringLiteral("maxV/A"), 41},      {QStringLiteral("minMER"), 43},     {QStringLiteral("maxMER"), 45},
        {QStringLiteral("minCBER"), 49},     {QStringLiteral("maxCBER"), 51},    {QStringLiteral("minVBER"), 48},
        {QStringLiteral("maxVBER"), 52},     {QStringLiteral("minLBER"), 47},    {QStringLiteral("maxLBER"), 53},
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
