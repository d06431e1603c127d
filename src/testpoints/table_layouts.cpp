// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/table_layouts.h"

#include "platform/program_folder.h"

#include <QDir>

namespace {
FieldDef TextField(const char* name, int width)
{
    return FieldDef{QString::fromUtf8(name), FieldKind::Text, width, false};
}

FieldDef FloatField(const char* name)
{
    return FieldDef{QString::fromUtf8(name), FieldKind::Float, 0, false};
}
}  // namespace

const std::vector<FieldDef>& TestPointFields()
{
    using namespace fields;
    static const std::vector<FieldDef> layout{
        FieldDef{QString::fromUtf8(kIndex), FieldKind::AutoIncrement, 0, true},
        TextField(kCh, 8),
        TextField(kLayer, 1),
        TextField(kFreq, 7),
        TextField(kSystem, 9),
        TextField(kType, 8),
        TextField(kBw, 4),
        TextField(kLnb, 8),
        TextField(kSymbolRate, 6),
        TextField(kModulation, 6),
        TextField(kCodeRate, 6),
        TextField(kGInterval, 6),
        TextField(kInvSpectral, 4),
        TextField(kCarrier, 3),
        TextField(kPlan, 13),
        TextField(kBand, 3),
        TextField(kAlarm, 5),
        FloatField(kMinLV),
        FloatField(kMaxLV),
        FloatField(kMinCN),
        FloatField(kMaxCN),
        FloatField(kMinVA),
        FloatField(kMaxVA),
        FloatField(kMinMER),
        FloatField(kMaxMER),
        TextField(kMinCBER, 6),
        TextField(kMaxCBER, 6),
        TextField(kMinVBER, 6),
        TextField(kMaxVBER, 6),
        TextField(kMinLBER, 6),
        TextField(kMaxLBER, 6),
    };
    return layout;
}

const std::vector<FieldDef>& MeasurementFields()
{
    using namespace fields;
    static const std::vector<FieldDef> layout{
        TextField(kIndex, 5),
        TextField(kCh, 8),
        TextField(kLayer, 1),
        TextField(kFreq, 10),
        TextField(kSystem, 10),
        TextField(kType, 9),
        TextField(kBw, 10),
        TextField(kLnb, 10),
        TextField(kSymbolRate, 8),
        TextField(kCodeRate, 10),
        TextField(kGuardInterval, 10),
        TextField(kInvSpectral, 10),
        TextField(kBand, 10),
        FloatField(kLevel),
        FloatField(kCN),
        FloatField(kVA),
        FloatField(kDesvFM),
        FloatField(kMER),
        TextField(kCBER, 10),
        TextField(kVBER, 10),
        TextField(kLBER, 10),
        TextField(kDate, 12),
        TextField(kHour, 10),
        TextField(kLatitude, 10),
        TextField(kNS, 10),
        TextField(kLongitude, 10),
        TextField(kEW, 10),
        TextField(kWarning, 4),
    };
    return layout;
}

const std::vector<FieldDef>& TerrestrialPlanFields()
{
    using namespace fields;
    static const std::vector<FieldDef> layout{
        TextField(kCh, 8),
        TextField(kAnalogFreq, 10),
        TextField(kDigitalFreq, 10),
        TextField(kChannelSpacing, 6),
        TextField(kSystem, 10),
        TextField(kPlan, 13),
    };
    return layout;
}

const std::vector<FieldDef>& SatellitePlanFields()
{
    using namespace fields;
    static const std::vector<FieldDef> layout{
        TextField(kId, 6),
        TextField(kCh, 8),
        TextField(kFreqLNB, 10),
        TextField(kFreq, 10),
        TextField(kPolarity, 2),
        TextField(kLnb, 8),
        TextField(kChannelSpacing, 6),
        TextField(kModulation, 6),
        TextField(kType, 8),
        TextField(kSymbolRate, 6),
        TextField(kCodeRate, 6),
        TextField(kSatellite, 13),
        TextField(kInvspec, 3),
        TextField(kTypeBanda, 6),
    };
    return layout;
}

QString DatabaseRootFolder()
{
    return ProgramPath(QStringLiteral("Database"));
}

QString DatabaseSubFolder(const QString& name)
{
    return DatabaseRootFolder() + QLatin1Char('/') + name;
}

QString TestPointsFolder()
{
    return DatabaseSubFolder(QString::fromUtf8(dbnames::kTestPoints));
}

QString MeasurementsFolder()
{
    return DatabaseSubFolder(QString::fromUtf8(dbnames::kMeasurements));
}

QString SaveReportsFolder()
{
    return DatabaseSubFolder(QStringLiteral("SaveReports"));
}

QString WorkingCopyPath()
{
    return TestPointsFolder() + QLatin1Char('/') + QString::fromUtf8(kWorkingCopyName);
}

void RegisterDatabaseNames()
{
    const QStringList names{QString::fromUtf8(dbnames::kTestPoints), QString::fromUtf8(dbnames::kTerrestrial),
                            QString::fromUtf8(dbnames::kSatellite), QString::fromUtf8(dbnames::kMeasurements),
                            QString::fromUtf8(dbnames::kFilter)};
    for (const QString& known : DatabaseNames()) {
        if (names.contains(known))
            RemoveDatabase(known);
    }
    // The sub-folders are created too: a station installed without them would
    // otherwise fail at its first "New Table Report".
    QDir().mkpath(DatabaseRootFolder());
    for (const QString& name : names) {
        QDir().mkpath(DatabaseSubFolder(name));
        RegisterDatabase(name, DatabaseSubFolder(name) + QLatin1Char('/'));
    }
    QDir().mkpath(SaveReportsFolder());
}
