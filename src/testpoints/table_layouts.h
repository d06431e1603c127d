// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testpoints/dataset.h"
#include "platform/fields.h"

#include <QString>
#include <vector>

// Database names, each standing for a folder under "Database" in the program folder.
namespace dbnames {
inline constexpr char kTestPoints[] = "TestPoints";
inline constexpr char kTerrestrial[] = "Terrestrial";
inline constexpr char kSatellite[] = "Satellite";
inline constexpr char kMeasurements[] = "Measurements";
inline constexpr char kFilter[] = "Filter";
}  // namespace dbnames

// The satellite plan the data module starts with.
inline constexpr char kInitialSatellitePlan[] = "13E_HOTBIRD.DB";
// The working copy of the test point set, in the TestPoints folder.
inline constexpr char kWorkingCopyName[] = "temp.db";

// The test point table: 31 fields, `index` first.
const std::vector<FieldDef>& TestPointFields();
// The Measurements table: 28 fields.
const std::vector<FieldDef>& MeasurementFields();
// The fields the supplied channel plans carry (all text).
const std::vector<FieldDef>& TerrestrialPlanFields();
const std::vector<FieldDef>& SatellitePlanFields();

// Re-registers the five database names at "<program folder>/Database/<name>/"
// and creates "Database", its five sub-folders and "SaveReports" when missing.
// Runs once while the main window is created, before any table is opened.
void RegisterDatabaseNames();

// Folders below the program folder (no trailing separator).
QString DatabaseRootFolder();                    // <program>/Database
QString DatabaseSubFolder(const QString& name);  // <program>/Database/<name>
QString TestPointsFolder();
QString MeasurementsFolder();
QString SaveReportsFolder();
// <program>/Database/TestPoints/temp.db
QString WorkingCopyPath();
