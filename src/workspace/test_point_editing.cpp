// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/test_point_editing.h"

#include "platform/decimal_point.h"
#include "platform/fields.h"
#include "testpoints/dataset.h"
#include "testpoints/test_point_rules.h"
#include "workspace/workspace.h"

#include <utility>
#include <vector>

using namespace fields;

const std::array<const char*, TestPointClipboard::kTextCount> TestPointClipboard::kTextFields = {
    kCh,         kLayer,    kFreq,    kSystem,      kType,    kBw,      kLnb,     kSymbolRate,
    kModulation, kCodeRate, kGInterval, kCarrier,   kInvSpectral, kPlan, kBand,   kAlarm,
    kMinCBER,    kMaxCBER,  kMinVBER, kMaxVBER,     kMinLBER, kMaxLBER};
const std::array<const char*, TestPointClipboard::kNumberCount> TestPointClipboard::kNumberFields = {
    kMinLV, kMaxLV, kMinCN, kMaxCN, kMinVA, kMaxVA, kMinMER, kMaxMER};

namespace {
struct PlanButtonsRow {
    std::initializer_list<int> models;
    PlanButtons buttons;
};

// J-83, 8-VSB, DVB-C, DVB-T/H, DVB-T2, ISDB-T, DTMB.
const PlanButtonsRow kPlanButtons[] = {
    {{4, 5, 9, 10}, {true, true, true, false, false, false, false}},
    {{0, 1, 2, 3, 6, 7, 8}, {false, false, true, true, true, false, false}},
    {{11}, {true, false, true, false, false, true, false}},
    {{12}, {true, false, true, false, false, false, true}},
};

// What an add button writes besides the fields every terrestrial channel
// gets. nullptr: the field is not written and stays empty.
struct TerrestrialAdd {
    PlanStandard standard;
    const char* type;
    const char* freqField;
    const char* modulation;
    const char* symbolRate;
    const char* invSpectral;
    const char* guardInterval;
    const char* carrier;
};

// A DAB channel is stored as DVB-C and told apart by its plan "DAB".
constexpr TerrestrialAdd kTerrestrialAdds[] = {
    {PlanStandard::DvbC, "DVB-C", kDigitalFreq, "64QAM", "6875", "ON", nullptr, nullptr},
    {PlanStandard::Dab, "DVB-C", kDigitalFreq, "64QAM", "6875", "ON", nullptr, nullptr},
    {PlanStandard::J83, "J-83", kDigitalFreq, "64QAM", "5057", "ON", nullptr, nullptr},
    {PlanStandard::DvbTH, "DVB-T/H", kDigitalFreq, nullptr, nullptr, "OFF", "1/4", "8K"},
    {PlanStandard::DvbT2, "DVB-T2", kDigitalFreq, nullptr, nullptr, "OFF", "1/4", "8K"},
    {PlanStandard::Vsb8, "8-VSB", kDigitalFreq, nullptr, nullptr, "OFF", nullptr, nullptr},
    {PlanStandard::IsdbT, "ISDB-T", kDigitalFreq, nullptr, nullptr, "OFF", "1/4", "8K"},
    {PlanStandard::Dtmb, "DTMB", kDigitalFreq, nullptr, nullptr, nullptr, nullptr, nullptr},
    {PlanStandard::Analog, "Analog", kAnalogFreq, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TerrestrialAdd& AddOf(PlanStandard standard)
{
    for (const TerrestrialAdd& add : kTerrestrialAdds)
        if (add.standard == standard)
            return add;
    return kTerrestrialAdds[0];
}

using FieldWrites = std::vector<std::pair<const char*, QString>>;

QString PlanNumber(const Dataset& plan, const char* field)
{
    return FixDecimalPoint(plan.Text(QLatin1String(field)));
}

QString PlanText(const Dataset& plan, const char* field)
{
    return plan.Text(QLatin1String(field));
}
}  // namespace

std::optional<PlanButtons> PlanButtonsFor(int modelCode)
{
    for (const PlanButtonsRow& row : kPlanButtons)
        for (int model : row.models)
            if (model == modelCode)
                return row.buttons;
    return std::nullopt;
}

TestPointEditing::TestPointEditing(Workspace& workspace) : m_workspace(workspace) {}

bool TestPointEditing::TableExists() const
{
    return m_workspace.AcquiredTable.IsOpen();
}

void TestPointEditing::RevokeReports()
{
    m_workspace.availability.Revoke(Command::ReportByTestPoint);
    m_workspace.availability.Revoke(Command::ReportMinMaxAvg);
}

void TestPointEditing::GrantUnlessRunning(Command command)
{
    // "TP Edition" keeps its buttons during a run, but what the run locked
    // stays locked until the run ends and gives it back.
    if (!m_workspace.availability.RunInProgress())
        m_workspace.availability.Grant(command);
}

void TestPointEditing::TableEmptied()
{
    GrantUnlessRunning(Command::EditTestPointTable);
    GrantUnlessRunning(Command::AlarmSwitch);
    m_workspace.availability.Revoke(Command::TestPointGrid);
}

void TestPointEditing::AddBlankRow(bool insert)
{
    Dataset& table = m_workspace.AcquiredTable;
    if (insert)
        table.Insert();
    else
        table.Append();
    m_workspace.testPointSetModified = true;
    GrantUnlessRunning(Command::TestPointEditor);
    tprules::WriteNoAlarm(table, false);
    m_workspace.availability.Grant(Command::EditorEdit);
    RevokeReports();
}

void TestPointEditing::AddBlank()
{
    AddBlankRow(false);
}

void TestPointEditing::InsertBlank()
{
    AddBlankRow(true);
}

void TestPointEditing::DeleteOne()
{
    Dataset& table = m_workspace.AcquiredTable;
    if (TableExists()) {
        m_workspace.testPointSetModified = true;
        if (table.HasCurrentRow() || table.State() == DatasetState::Insert) {
            table.Edit();
            table.Delete();
        }
        if (table.RecordCount() == 0 && table.State() != DatasetState::Insert)
            TableEmptied();
    }
    RevokeReports();
}

void TestPointEditing::DeleteAll()
{
    Dataset& table = m_workspace.AcquiredTable;
    if (TableExists()) {
        m_workspace.testPointSetModified = true;
        table.Cancel();
        table.StartTransaction();
        try {
            for (table.First(); table.HasCurrentRow();)
                table.Delete();
            table.Commit();
        } catch (...) {
            table.Rollback();
            table.Refresh();
            throw;
        }
        table.Refresh();
        TableEmptied();
    }
    RevokeReports();
}

void TestPointEditing::Copy()
{
    Dataset& table = m_workspace.AcquiredTable;
    if (!TableExists())
        return;
    m_workspace.testPointSetModified = true;
    // A set without rows has nothing to copy; the clipboard keeps what it had.
    if (!table.HasCurrentRow() && table.State() != DatasetState::Insert)
        return;
    table.Edit();
    TestPointClipboard copied;
    for (int i = 0; i < TestPointClipboard::kTextCount; ++i)
        copied.texts[static_cast<size_t>(i)] = table.Text(QLatin1String(TestPointClipboard::kTextFields[i]));
    for (int i = 0; i < TestPointClipboard::kNumberCount; ++i)
        copied.numbers[static_cast<size_t>(i)] = table.Number(QLatin1String(TestPointClipboard::kNumberFields[i]));
    m_clipboard = copied;
}

void TestPointEditing::Cut()
{
    Dataset& table = m_workspace.AcquiredTable;
    if (!TableExists() || (!table.HasCurrentRow() && table.State() != DatasetState::Insert))
        return;
    Copy();
    table.Delete();
    if (table.RecordCount() == 0)
        TableEmptied();
    RevokeReports();
}

void TestPointEditing::Paste()
{
    Dataset& table = m_workspace.AcquiredTable;
    if (!TableExists())
        return;
    m_workspace.testPointSetModified = true;
    table.Insert();
    for (int i = 0; i < TestPointClipboard::kTextCount; ++i)
        table.SetText(QLatin1String(TestPointClipboard::kTextFields[i]), m_clipboard.texts[static_cast<size_t>(i)]);
    for (int i = 0; i < TestPointClipboard::kNumberCount; ++i)
        table.SetNumber(QLatin1String(TestPointClipboard::kNumberFields[i]), m_clipboard.numbers[static_cast<size_t>(i)]);
    RevokeReports();
    table.Refresh();
}

// ---- Channel plans -------------------------------------------------------------------

void TestPointEditing::OpenTestPointSetIfClosed()
{
    if (!m_workspace.AcquiredTable.IsOpen())
        m_workspace.AcquiredTable.Open();
}

void TestPointEditing::StoreAddedChannel()
{
    Dataset& table = m_workspace.AcquiredTable;
    table.Refresh();
    table.Edit();
    // Each add changes the set, also after a save while the plan window stays open.
    m_workspace.testPointSetModified = true;
    m_workspace.availability.Grant(Command::EditorEdit);
}

void TestPointEditing::AddTerrestrialChannel(const Dataset& plan, PlanStandard standard, const QString& system,
                                             const QString& layer)
{
    const TerrestrialAdd& add = AddOf(standard);
    FieldWrites writes{
        {kCh, PlanText(plan, kCh)},
        {kFreq, PlanNumber(plan, add.freqField)},
        {kType, QLatin1String(add.type)},
        {kBw, PlanNumber(plan, kChannelSpacing)},
        {kLnb, QStringLiteral("External")},
        {kPlan, PlanText(plan, kPlan)},
        {kBand, QStringLiteral("TER")},
    };
    for (const auto& [field, value] : {std::pair{kModulation, add.modulation}, std::pair{kSymbolRate, add.symbolRate},
                                       std::pair{kInvSpectral, add.invSpectral},
                                       std::pair{kGInterval, add.guardInterval}, std::pair{kCarrier, add.carrier}})
        if (value)
            writes.emplace_back(field, QLatin1String(value));
    if (standard == PlanStandard::IsdbT)
        writes.emplace_back(kLayer, layer);
    if (standard == PlanStandard::Analog)
        writes.emplace_back(kSystem, system);

    OpenTestPointSetIfClosed();
    Dataset& table = m_workspace.AcquiredTable;
    table.Append();
    for (const auto& [field, value] : writes)
        table.SetText(QLatin1String(field), value);
    tprules::WriteNoAlarm(table);
    StoreAddedChannel();
}

void TestPointEditing::AddSatelliteChannel(const Dataset& plan)
{
    const QString type = PlanText(plan, kType);
    FieldWrites writes{
        {kCh, PlanText(plan, kCh)},
        {kFreq, PlanNumber(plan, kFreq)},
        {kType, type},
        {kBw, PlanNumber(plan, kChannelSpacing)},
        {kLnb, PlanText(plan, kLnb)},
        {kSymbolRate, PlanText(plan, kSymbolRate)},
        {kCodeRate, PlanText(plan, kCodeRate)},
        {kPlan, PlanText(plan, kSatellite)},
        {kBand, QStringLiteral("SAT")},
    };
    if (type == QLatin1String("DVB-S") || type == QLatin1String("DVB-S2")) {
        writes.emplace_back(kInvSpectral, PlanText(plan, kInvspec));
        writes.emplace_back(kModulation, PlanText(plan, kModulation));
    }

    OpenTestPointSetIfClosed();
    Dataset& table = m_workspace.AcquiredTable;
    table.Append();
    for (const auto& [field, value] : writes)
        table.SetText(QLatin1String(field), value);
    tprules::WriteNoAlarm(table);
    StoreAddedChannel();
}
