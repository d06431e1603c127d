// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A measurement run on the virtual clock against the in-process simulated
// analyser, with real table files in a temporary folder and a host that
// records what the run asks of the window around it.

#include "acquisition/measurement_run.h"
#include "acquisition/oper_mode.h"
#include "alarms/auto_alarm.h"
#include "platform/settings.h"
#include "workspace/workspace.h"
#include "gps/gga_reader.h"
#include "instrument/analyser_commands.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/sim_fixture.h"
#include "support/temp_folder.h"
#include "support/virtual_time_ceiling.h"
#include "testpoints/dataset.h"
#include "testpoints/table_layouts.h"

#include <QMap>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

struct PanelEntry {
    qint64 atMs;
    QString text;
    PanelColour colour;
};

class RecordingRunHost final : public RunHost, public GpsReader {
public:
    RecordingRunHost(SimFixture& sim, Dataset& testPoints, Dataset& measurements)
        : m_sim(sim), m_testPoints(testPoints), m_measurements(measurements), m_commands(sim.link)
    {
    }

    bool StopRequested() const override { return stopDown; }
    void SetStopDown() override
    {
        if (!stopDown)
            stopDownAtMs.push_back(m_sim.clock.ElapsedMs());
        stopDown = true;
    }
    void SetStopUp() override { stopDown = false; }
    void QueueRunPress() override
    {
        if (onQueueRunPress)
            onQueueRunPress();
        m_sim.clock.Post([this] {
            if (run)
                run->CyclePress();
        });
    }

    void ShowPanel(const std::optional<QString>& text, PanelColour colour) override
    {
        if (text)
            panelText = *text;
        panelColour = colour;
        panel.push_back({m_sim.clock.ElapsedMs(), panelText, colour});
    }

    OperModeAccess& OperMode() override { return mode; }
    AutoAlarmAccess& AutoAlarm() override { return autoAlarm; }
    Dataset* TestPointTable() override { return testPointsSelected ? &m_testPoints : nullptr; }
    Dataset* MeasurementsTable() override { return measurementsSelected ? &m_measurements : nullptr; }
    AnalyserCommands& Analyser() override { return m_commands; }
    bool IdentifyAnalyser() override
    {
        ++identifications;
        identifiedAtMs.push_back(m_sim.clock.ElapsedMs());
        QByteArray buffer("*?NA");
        return m_sim.link.IdentifyAnalyser(buffer);
    }
    TSerialPort* AnalyserPort() override { return &m_sim.link.Port(); }

    GpsReader& Gps() override { return *this; }
    bool ReceptionEnabled() const override { return gpsOn; }
    bool ReadGpsFix(GpsFix& fix) override
    {
        ++gpsReads;
        if (!gpsFix)
            return false;
        fix = *gpsFix;
        return true;
    }

    // The events under the names the tests read, and what they do to Run.
    void RunEventOccurred(RunEvent event) override
    {
        switch (event) {
        case RunEvent::StartBegun: events << QStringLiteral("DisableOperatingMode"); break;
        case RunEvent::CycleStartBegun:
            events << QStringLiteral("HideRunButtons");
            runButtonsVisible = false;
            break;
        case RunEvent::StartLocked:
            events << QStringLiteral("LockStart");
            runEnabled = false;
            break;
        case RunEvent::StartRefused:
            events << QStringLiteral("OfferPortSearch");
            runEnabled = true;
            break;
        case RunEvent::Running: events << QStringLiteral("Lock"); break;
        case RunEvent::WaitingToRun: events << QStringLiteral("WaitingToRun"); break;
        case RunEvent::Stopped: events << QStringLiteral("Release"); break;
        case RunEvent::CycleEnded:
            events << QStringLiteral("ShowRunButtons");
            runButtonsVisible = true;
            break;
        }
    }
    void ShowEndOfProcess() override { ++endOfProcessShown; }
    void DisablePeriodicReports() override { events << QStringLiteral("DisableReports"); }
    void ArmPeriodicReports(int intervalMs, bool enabled) override
    {
        events << QStringLiteral("ArmReports %1 %2").arg(intervalMs).arg(enabled);
    }
    void RowStored(const Dataset& row) override
    {
        if (onRow)
            onRow(row);
    }

    OperModeValues mode;
    AutoAlarmValues autoAlarm;
    MeasurementRun* run = nullptr;
    bool stopDown = true;
    bool runEnabled = true;
    bool runButtonsVisible = true;
    bool testPointsSelected = true;
    bool measurementsSelected = true;
    bool gpsOn = false;
    std::optional<GpsFix> gpsFix;
    int gpsReads = 0;
    int identifications = 0;
    std::vector<qint64> identifiedAtMs;
    int endOfProcessShown = 0;
    QString panelText;
    PanelColour panelColour = PanelColour::Red;
    std::vector<PanelEntry> panel;
    std::vector<qint64> stopDownAtMs;
    QStringList events;
    std::function<void(const Dataset&)> onRow;
    std::function<void()> onQueueRunPress;

private:
    SimFixture& m_sim;
    Dataset& m_testPoints;
    Dataset& m_measurements;
    LinkCommands<AnalyserLink> m_commands;
};

// One DVB-T/H test point by default; change fields as needed.
inline QMap<QString, QString> DvbtPoint(const QString& ch, const QString& freq)
{
    return {{"ch", ch},          {"freq", freq},     {"system", ""},   {"type", "DVB-T/H"},
            {"bw", "8"},         {"g.interval", "1/4"}, {"inv.spectral", "OFF"}, {"carrier", "8K"},
            {"band", "TER"},     {"alarm", "OFF"},   {"layer", "A"},   {"plan", "CCIR"}};
}

// Message boxes that stay open `openMs` of virtual time, as a user reading
// them would, while timers keep ticking.
class ModalDialogs final : public UserDialogs {
public:
    ModalDialogs(RecordingDialogs& inner, VirtualClock& clock) : m_inner(inner), m_clock(clock) {}
    void ShowMessage(const QString& text) override
    {
        m_inner.ShowMessage(text);
        if (openMs > 0)
            m_clock.Sleep(openMs);
    }
    bool AskYesNo(const QString& c, const QString& t) override { return m_inner.AskYesNo(c, t); }
    QString AskOpenFile(const FileDialogRequest& r) override { return m_inner.AskOpenFile(r); }
    QString AskSaveFile(const FileDialogRequest& r) override { return m_inner.AskSaveFile(r); }
    int openMs = 0;

private:
    RecordingDialogs& m_inner;
    VirtualClock& m_clock;
};

struct RunFixture {
    // Far beyond the usual run of these tests (about a minute of virtual
    // time), and reached in under a minute of real time even by a run that
    // stores a row at every visit. A case meant to run longer moves it.
    static constexpr qint64 kRunCeilingMs = 30LL * 60 * 1000;

    explicit RunFixture(const std::vector<FieldDef>& testPointLayout = TestPointFields())
    {
        settings.Replace(Settings::kLanguageLine, QStringLiteral("english"));
        RegisterDatabase(QStringLiteral("RunTest"), folder.Path());
        testPoints.SetDatabaseName(QStringLiteral("RunTest"));
        testPoints.SetTableName(QStringLiteral("points"));
        testPoints.CreateTable(testPointLayout);
        testPoints.Open();
        measurements.SetDatabaseName(QStringLiteral("RunTest"));
        measurements.SetTableName(QStringLiteral("measurements"));
        measurements.CreateTable(MeasurementFields());
        measurements.Open();
        sim.analyser->SetSettlingMs(500);
        host.run = &run;
    }

    void AddPoint(const QMap<QString, QString>& values)
    {
        testPoints.Append();
        for (auto it = values.begin(); it != values.end(); ++it)
            if (testPoints.HasField(it.key()))
                testPoints.SetText(it.key(), it.value());
        testPoints.Post();
    }

    // Every stored Measurements row, field name → text.
    std::vector<QMap<QString, QString>> Rows()
    {
        std::vector<QMap<QString, QString>> rows;
        Dataset reader(QStringLiteral("RunTest"), QStringLiteral("measurements"));
        reader.Open();
        for (reader.First(); !reader.Eof(); reader.Next()) {
            QMap<QString, QString> row;
            for (const QString& name : reader.FieldNames())
                row[name] = reader.Text(name);
            rows.push_back(row);
        }
        return rows;
    }

    int CommandsStartingWith(const QString& prefix) const
    {
        int n = 0;
        for (const QString& c : sim.analyser->ReceivedCommands())
            n += c.startsWith(prefix) ? 1 : 0;
        return n;
    }

    TempProgramFolder folder;
    Settings settings{folder.Path()};
    SimFixture sim;
    RecordingDialogs dialogs;
    ModalDialogs modal{dialogs, sim.clock};
    FakeSystemCommands system;
    Workspace station{sim.clock, modal, system, settings};
    Dataset testPoints;
    Dataset measurements;
    RecordingRunHost host{sim, testPoints, measurements};
    MeasurementRun run{station, host};
    VirtualTimeCeiling ceiling{sim.clock, kRunCeilingMs,
                               [](const QString& message) { ADD_FAILURE() << message.toStdString(); }};
};
