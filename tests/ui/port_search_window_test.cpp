// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"
#include "app/program_ui.h"
#include "gps/gps_window.h"
#include "instrument/analyser_link.h"
#include "sim/virtual_clock.h"
#include "sim/analyser_sim.h"
#include "sim/gps_sim.h"
#include "sim/sim_serial_device.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <memory>

// The port search and the GPS window as the user meets them, on simulated
// instruments and the virtual clock.
class PortSearchWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<SimPorts> ports;
    std::unique_ptr<RecordingDialogs> dialogs;
    std::unique_ptr<FakeSystemCommands> system;
    std::unique_ptr<Program> program;
    QString reportModel;
    bool tableOpen = true;

    TVigilo& Main() { return *program->VigiloForm; }

    void Start(const QByteArray& language)
    {
        QFile file(folder->File(QStringLiteral("config.cfg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(language + "\r\n");
        file.close();
        program = std::make_unique<Program>(*clock, *dialogs, *system, folder->Path(), ports->Factory());
        program->CreateWindows(false);
        Workspace& workspace = program->workspace;
        Main().reportModelName = [this](const QString& name) { reportModel = name; };
        if (tableOpen) {
            QVERIFY(workspace.CreateMeasurementsTable(folder->File(QStringLiteral("m.db"))));
            workspace.NewTestPointSet();
        } else {
            workspace.availability.Grant(Command::SearchCom);
        }
        dialogs->messages.clear();
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        clock = std::make_unique<VirtualClock>();
        ports = std::make_unique<SimPorts>(*clock);
        dialogs = std::make_unique<RecordingDialogs>();
        system = std::make_unique<FakeSystemCommands>();
        reportModel.clear();
        tableOpen = true;
    }
    void cleanup()
    {
        program.reset();
        ports.reset();
        folder.reset();
    }

    void FoundAnalyserIsAnnouncedAndEnablesTheNextSteps()
    {
        ports->Attach(3, std::make_shared<SimAnalyser>(QStringLiteral("ORBIMETER HD ISDB-T")));
        Start("english");
        QString panelDuringSearch;
        bool runOfferedDuringSearch = true;
        bool searchOfferedDuringSearch = true;
        clock->At(1, [&] {
            panelDuringSearch = Main().PanelInfo->text();
            runOfferedDuringSearch = Main().RunMeasureBtn->isEnabled();
            searchOfferedDuringSearch = Main().SearchComBtn->isEnabled();
        });
        program->workspace.availability.PortChosen();
        Main().SearchComBtn->click();

        QCOMPARE(panelDuringSearch, QStringLiteral("SEARCHING COM"));
        // The search is the link's one user until it ends.
        QVERIFY(!runOfferedDuringSearch);
        QVERIFY(!searchOfferedDuringSearch);
        QCOMPARE(dialogs->messages, QStringList{QStringLiteral("ORBIMETER HD ISDB-T detected in COM3")});
        QCOMPARE(Main().PanelInfo->text(), QStringLiteral("STOPPED"));
        QCOMPARE(Main().SelPortCB->currentText(), QStringLiteral("COM3"));
        QVERIFY(Main().SearchComBtn->isEnabled());
        QVERIFY(Main().RunMeasureBtn->isEnabled());
        QVERIFY(Main().BRASILStandard->isChecked());
        QCOMPARE(program->workspace.modelCode, 11);
        QVERIFY(program->workspace.availability.IsEnabled(Command::ExplorationBand));
        QCOMPARE(reportModel, QStringLiteral("ORBIMETER HD ISDB-T"));
        QVERIFY(program->workspace.Link()->Port().IsOpen());
    }

    void WithoutATableTheButtonsStayDisabled()
    {
        ports->Attach(2, std::make_shared<SimAnalyser>(QStringLiteral("OM2000")));
        tableOpen = false;
        Start("spanish");
        Main().SearchComBtn->click();
        QCOMPARE(dialogs->messages, QStringList{QStringLiteral("OM2000 detectado en COM2")});
        QVERIFY(!Main().SearchComBtn->isEnabled());
        QVERIFY(!Main().RunMeasureBtn->isEnabled());
    }

    void NoAnalyserIsReportedInTheCurrentLanguage()
    {
        QFETCH(QByteArray, language);
        QFETCH(QString, message);
        Start(language);
        program->workspace.availability.PortChosen();
        QVERIFY(Main().RunMeasureBtn->isEnabled());
        Main().SearchComBtn->click();
        QCOMPARE(dialogs->messages, QStringList{message});
        QVERIFY(!Main().RunMeasureBtn->isEnabled());
        QVERIFY(Main().SearchComBtn->isEnabled());
        QVERIFY(!program->workspace.availability.IsEnabled(Command::ExplorationBand));
        QVERIFY(!program->workspace.availability.IsEnabled(Command::ExplorationTransfer));
        QCOMPARE(program->workspace.modelCode, 8);  // the DVB family picked at start-up stays
    }
    void NoAnalyserIsReportedInTheCurrentLanguage_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("english") << QByteArray("english") << QStringLiteral("has not detected ORBIMETER");
        QTest::newRow("spanish") << QByteArray("spanish") << QStringLiteral("ORBIMETER no detectado");
    }

    void ThePortDisplayIgnoresKeys()
    {
        Start("english");
        Main().SelPortCB->setCurrentIndex(4);
        QTest::keyClick(Main().SelPortCB, Qt::Key_Down);
        QCOMPARE(Main().SelPortCB->currentIndex(), 4);
    }

    void GpsWindowOpensThePortAndCapturesASignal()
    {
        auto receiver = std::make_shared<SimGpsReceiver>();
        receiver->otherSentences = false;
        receiver->talker = "GN";  // a receiver of several satellite systems
        ports->Attach(4, receiver);
        Start("spanish");
        TGPS& gps = *program->GPS;
        QVERIFY(!gps.CBGPSCom->isEnabled());
        gps.baudRateGPS->setCurrentIndex(2);
        gps.baudRateGPSChange();
        QVERIFY(gps.CBGPSCom->isEnabled());

        gps.CBGPSCom->setCurrentIndex(6);  // COM7: nothing there
        gps.CBGPSComChange();
        QCOMPARE(dialogs->messages, QStringList{QStringLiteral("No se puede abrir el puerto")});
        QVERIFY(!gps.ActiveGPS->isEnabled());

        gps.CBGPSCom->setCurrentIndex(3);
        gps.CBGPSComChange();
        QVERIFY(gps.ActiveGPS->isEnabled());
        QCOMPARE(ports->StateOf(4).lineSettings.baudRate, 4800u);
        QVERIFY(!gps.ReceptionEnabled());

        gps.ActiveGPS->setChecked(true);
        gps.ActiveGPSClick();
        QVERIFY(gps.FindGPS->isEnabled());
        QVERIFY(gps.CancelFindGPS->isChecked());
        gps.FindGPSClick();
        QVERIFY(gps.CancelFindGPS->isChecked());
        QCOMPARE(gps.Label2->text(), QStringLiteral("señal GPS enganchada"));
        QVERIFY(!gps.Label2->isHidden());
        QVERIFY(gps.baudRateGPS->isEnabled() && gps.CBGPSCom->isEnabled() && gps.ActiveGPS->isEnabled());

        const auto position = ReadPositionForMeasurement(gps);
        QVERIFY(position.has_value());
        QCOMPARE(position->latitude, QStringLiteral("4807.038"));

        receiver->unplugged = true;
        QCOMPARE(ReadPositionForMeasurement(gps)->ew, QStringLiteral("--"));
    }

    void GpsWindowCaptionsFollowTheLanguage()
    {
        Start("spanish");
        TGPS& gps = *program->GPS;
        QCOMPARE(gps.Label2->text(), QStringLiteral("Buscando señal GPS"));
        QCOMPARE(gps.CancelFindGPS->text(), QStringLiteral("CANCEL"));
        Main().English1Click();
        QCOMPARE(gps.Label2->text(), QStringLiteral("looking for gps signal"));
        QCOMPARE(gps.CancelFindGPS->text(), QStringLiteral("Cancel"));
        Main().Spanish1Click();
        QCOMPARE(gps.Label2->text(), QStringLiteral("Buscando señal GPS"));
    }

    void ClosingTheGpsWindowEndsTheSignalSearch()
    {
        auto receiver = std::make_shared<SimGpsReceiver>();
        receiver->mode = SimGpsReceiver::Mode::Silent;
        ports->Attach(4, receiver);
        Start("english");
        TGPS& gps = *program->GPS;
        gps.baudRateGPS->setCurrentIndex(3);
        gps.baudRateGPSChange();
        gps.CBGPSCom->setCurrentIndex(3);
        gps.CBGPSComChange();
        gps.ActiveGPS->setChecked(true);
        gps.ActiveGPSClick();

        // The user closes the window 30 s into a search of a silent receiver;
        // the receiver only finds a fix long after.
        const qint64 start = clock->ElapsedMs();
        clock->At(30000, [&] { gps.reject(); });
        clock->At(600000, [&] { receiver->mode = SimGpsReceiver::Mode::Fix; });
        gps.FindGPSClick();
        QVERIFY(clock->ElapsedMs() - start < 100000);
        QVERIFY(gps.CancelFindGPS->isChecked());
        QVERIFY(gps.Label2->isHidden());
        QVERIFY(gps.baudRateGPS->isEnabled() && gps.CBGPSCom->isEnabled() && gps.ActiveGPS->isEnabled());
    }
};

QTEST_MAIN(PortSearchWindowTest)
#include "port_search_window_test.moc"
