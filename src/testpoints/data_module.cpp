// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/data_module.h"

#include "testpoints/table_layouts.h"

TDataModule1::TDataModule1()
{
    TerTable.SetDatabaseName(QString::fromUtf8(dbnames::kTerrestrial));
    SatTable.SetDatabaseName(QString::fromUtf8(dbnames::kSatellite));
    SatTable.SetTableName(QString::fromUtf8(kInitialSatellitePlan));
}
