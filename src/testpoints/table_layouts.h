#pragma once

#include "testpoints/dataset.h"

#include <QString>
#include <vector>

// Field names of the station's tables. Fields are addressed by name, spaces and
// slashes included; the engine ignores case when it looks them up.
namespace fields {
// Test point table (and, where the names are the same, the Measurements table).
inline constexpr char kIndex[] = "index";
inline constexpr char kCh[] = "ch";
inline constexpr char kLayer[] = "layer";
inline constexpr char kFreq[] = "freq";
inline constexpr char kSystem[] = "system";
inline constexpr char kType[] = "type";
inline constexpr char kBw[] = "bw";
inline constexpr char kLnb[] = "lnb";
inline constexpr char kSymbolRate[] = "symbol rate";
inline constexpr char kModulation[] = "modulation";
inline constexpr char kCodeRate[] = "code rate";
inline constexpr char kGInterval[] = "g.interval";
inline constexpr char kInvSpectral[] = "inv.spectral";
inline constexpr char kCarrier[] = "carrier";
inline constexpr char kPlan[] = "plan";
inline constexpr char kBand[] = "band";
inline constexpr char kAlarm[] = "alarm";
inline constexpr char kMinLV[] = "minLV";
inline constexpr char kMaxLV[] = "maxLV";
inline constexpr char kMinCN[] = "minC/N";
inline constexpr char kMaxCN[] = "maxC/N";
inline constexpr char kMinVA[] = "minV/A";
inline constexpr char kMaxVA[] = "maxV/A";
inline constexpr char kMinMER[] = "minMER";
inline constexpr char kMaxMER[] = "maxMER";
inline constexpr char kMinCBER[] = "minCBER";
inline constexpr char kMaxCBER[] = "maxCBER";
inline constexpr char kMinVBER[] = "minVBER";
inline constexpr char kMaxVBER[] = "maxVBER";
inline constexpr char kMinLBER[] = "minLBER";
inline constexpr char kMaxLBER[] = "maxLBER";

// Measurements table only.
inline constexpr char kGuardInterval[] = "guard interval";
inline constexpr char kLevel[] = "LEVEL";
inline constexpr char kCN[] = "C/N";
inline constexpr char kVA[] = "V/A";
inline constexpr char kDesvFM[] = "DESV FM";
inline constexpr char kMER[] = "MER";
inline constexpr char kCBER[] = "CBER";
inline constexpr char kVBER[] = "VBER";
inline constexpr char kLBER[] = "LBER";
inline constexpr char kDate[] = "Date";
inline constexpr char kHour[] = "Hour";
inline constexpr char kLatitude[] = "Latitude";
inline constexpr char kNS[] = "N/S";
inline constexpr char kLongitude[] = "Longitude";
inline constexpr char kEW[] = "E/W";
inline constexpr char kWarning[] = "warning";

// Channel plans (read as text).
inline constexpr char kAnalogFreq[] = "analog freq";
inline constexpr char kDigitalFreq[] = "digital freq";
inline constexpr char kChannelSpacing[] = "channel spacing";
inline constexpr char kId[] = "Id";
inline constexpr char kFreqLNB[] = "freq LNB";
inline constexpr char kPolarity[] = "Polarity";
inline constexpr char kSatellite[] = "Satellite";
inline constexpr char kInvspec[] = "invspec";
inline constexpr char kTypeBanda[] = "Type Banda";
}  // namespace fields

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
