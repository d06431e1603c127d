// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"
#include "app/program_ui.h"
#include "sim/analyser_sim.h"
#include "sim/sim_serial_device.h"
#include "sim/virtual_clock.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"
#include "testpoints/exploration_window.h"
#include "workspace/workspace.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>
#include <memory>

// "ADD TEST POINT FROM EXPLORATION" as the user meets it: steps 1 to 6 on
// the simulated analyser and the virtual clock, found by object name.
class ExplorationWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<SimPorts> ports;
    std::unique_ptr<RecordingDialogs> dialogs;
    std::unique_ptr<FakeSystemCommands> system;
    std::unique_ptr<Program> program;
    std::shared_ptr<SimAnalyser> analyser;

    TVigilo& Main() { return *program->VigiloForm; }
    TRepCanals& Window() { return *program->RepCanals; }
    template <typename T>
    T* Control(const char* name)
    {
        T* control = Window().findChild<T*>(QLatin1String(name));
        [&] { QVERIFY2(control, name); }();
        return control;
    }

    void Start(const QByteArray& language, bool findAnalyser = true)
    {
        QFile file(folder->File(QStringLiteral("config.cfg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(language + "\r\n");
        file.close();
        program = std::make_unique<Program>(*clock, *dialogs, *system, folder->Path(), ports->Factory());
        program->CreateWindows(false);
        QVERIFY(program->workspace.CreateMeasurementsTable(folder->File(QStringLiteral("m.db"))));
        program->workspace.NewTestPointSet();
        Main().OpenAddChFromExploration1->trigger();
        if (findAnalyser)
            Main().SearchComBtn->click();
        dialogs->messages.clear();
        analyser->ClearReceivedCommands();
    }

    // Which of the window's controls can be used, in a fixed order.
    QString Enabled()
    {
        QStringList names;
        for (const char* name :
             {"SelTERSAT", "AskChan", "ChannelsList", "LowOsc", "HighOsc", "ReceiveCha", "ChannelsCANCEL"})
            if (Window().findChild<QWidget*>(QLatin1String(name))->isEnabled())
                names << QLatin1String(name);
        return names.join(QLatin1Char(' '));
    }

    QStringList Column(const char* field)
    {
        Dataset& table = program->workspace.AcquiredTable;
        QStringList values;
        for (table.First(); !table.Eof(); table.Next())
            values << table.Text(QString::fromLatin1(field));
        return values;
    }

    void ChooseBand(const char* button)
    {
        Control<QRadioButton>(button)->click();
    }

    void Pick(int index)
    {
        QComboBox* list = Control<QComboBox>("ChannelsList");
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        clock = std::make_unique<VirtualClock>();
        ports = std::make_unique<SimPorts>(*clock);
        dialogs = std::make_unique<RecordingDialogs>();
        system = std::make_unique<FakeSystemCommands>();
        analyser = std::make_shared<SimAnalyser>();
        ports->Attach(2, analyser);
    }
    void cleanup()
    {
        program.reset();
        ports.reset();
        folder.reset();
    }

    void TheSixStepsAddTheChannelsOfASatelliteExploration()
    {
        QFETCH(QByteArray, language);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, captions);
        Start(language);
        QVERIFY(Window().isVisible());
        QCOMPARE(Window().windowTitle(), QStringLiteral("ADD TEST POINT FROM EXPLORATION"));
        QStringList shown;
        for (const char* name : {"AskChan", "ReceiveCha", "ChannelsCANCEL"})
            shown << Control<QPushButton>(name)->text();
        for (const char* name : {"Label54", "Label50", "Label47", "Label48"})
            shown << Control<QLabel>(name)->text();
        QCOMPARE(shown, captions);
        QCOMPARE(Enabled(), QStringLiteral("SelTERSAT"));

        ChooseBand("SelTERSATSat");
        QCOMPARE(Enabled(), QStringLiteral("SelTERSAT AskChan"));
        bool runOfferedDuringList = true;
        clock->At(200, [&] { runOfferedDuringList = Main().RunMeasureBtn->isEnabled(); });
        Control<QPushButton>("AskChan")->click();
        QVERIFY2(!runOfferedDuringList, "the transfer is the link's one user");
        QCOMPARE(dialogs->messages, QStringList{messages[0]});
        QComboBox* list = Control<QComboBox>("ChannelsList");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(0), QStringLiteral("SAT-WEST"));
        QCOMPARE(list->itemText(1), QStringLiteral("SAT-EAST"));
        QCOMPARE(list->currentIndex(), -1);
        QCOMPARE(Enabled(), QStringLiteral("ChannelsList LowOsc HighOsc ChannelsCANCEL"));
        QCOMPARE(analyser->Mode(), 2);

        Pick(1);
        QCOMPARE(Enabled(), QStringLiteral("ChannelsList LowOsc HighOsc ReceiveCha ChannelsCANCEL"));
        Control<QLineEdit>("HighOsc")->setText(QStringLiteral("10000"));
        Control<QPushButton>("ReceiveCha")->click();
        QCOMPARE(dialogs->messages, (QStringList{messages[0], messages[1]}));
        QCOMPARE(Column("ch"), (QStringList{"TP1", "TP2", "IF1"}));
        QCOMPARE(Column("freq"), (QStringList{"1778", "1244", "1450"}));
        QCOMPARE(Column("plan"), QStringList(3, QStringLiteral("SAT-EAST")));
        QVERIFY2(program->workspace.testPointSetModified, "replacing the set asks before the new rows go");
        QCOMPARE(list->count(), 0);
        QCOMPARE(Enabled(), QStringLiteral("SelTERSAT"));
        QCOMPARE(analyser->ReceivedCommands().last(), QStringLiteral("*EM2"));
        QVERIFY(Main().RunMeasureBtn->isEnabled());
    }
    void TheSixStepsAddTheChannelsOfASatelliteExploration_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("english") << QByteArray("english")
                                 << QStringList{"Completed acquisitions", "Inserted channels"}
                                 << QStringList{"Receive Exploration", "Add Channels", "CANCEL", "  wait...",
                                                "Channels List", "Low Osc.", "High Osc."};
        QTest::newRow("spanish") << QByteArray("spanish")
                                 << QStringList{"Adquisición completada", "Canales insertados"}
                                 << QStringList{"Recibir Exploración", "Añadir Canales", "CANCELAR", "espera...",
                                                "Lista de Canales", "Osc. Bajo", "Osc. Alto"};
    }

    void FailuresSayWhatHappenedAndOfferTheBandAgain()
    {
        QFETCH(QByteArray, language);
        QFETCH(bool, emptyBand);
        QFETCH(QString, message);
        Start(language);
        if (emptyBand)
            analyser->SetExplorations(QStringLiteral("02"), {});
        ChooseBand("SelTERSATTer");
        Control<QPushButton>("AskChan")->click();
        if (!emptyBand) {
            Pick(0);
            analyser->faults.blockStallMs = 600000;
            Control<QPushButton>("ReceiveCha")->click();
        }
        QCOMPARE(dialogs->messages.last(), message);
        QVERIFY(Control<QGroupBox>("SelTERSAT")->isEnabled());
        QCOMPARE(Column("ch"), QStringList());
        QVERIFY(!program->workspace.testPointSetModified);
        QVERIFY2(analyser->ReceivedCommands().last() != QStringLiteral("*EM2"), "no *EM2 after a failure");
    }
    void FailuresSayWhatHappenedAndOfferTheBandAgain_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<bool>("emptyBand");
        QTest::addColumn<QString>("message");
        QTest::newRow("none english") << QByteArray("english") << true << QStringLiteral("Channels are not available");
        QTest::newRow("none spanish") << QByteArray("spanish") << true << QStringLiteral("Canalizaciones no disponibles");
        QTest::newRow("stall english") << QByteArray("english") << false
                                       << QStringLiteral("Process failure: repeat acquisition");
        QTest::newRow("stall spanish") << QByteArray("spanish") << false
                                       << QStringLiteral("Fallo del proceso: repetir adquisición");
    }

    void CancelResetsTheWindow()
    {
        Start("english");
        ChooseBand("SelTERSATSat");
        Control<QPushButton>("AskChan")->click();
        Pick(0);
        Control<QPushButton>("ChannelsCANCEL")->click();
        QCOMPARE(Enabled(), QStringLiteral("SelTERSAT"));
        QCOMPARE(Control<QComboBox>("ChannelsList")->count(), 0);
        ChooseBand("SelTERSATTer");
        QCOMPARE(Enabled(), QStringLiteral("SelTERSAT AskChan"));
    }

    void ARunLocksTheWindowAndLeavesOnlyTheBandAfterIt()
    {
        Start("english");
        ChooseBand("SelTERSATTer");
        Control<QPushButton>("AskChan")->click();
        Availability& availability = program->workspace.availability;
        availability.RunEventOccurred(RunEvent::Running, true);
        QCOMPARE(Enabled(), QString());
        QCOMPARE(Control<QComboBox>("ChannelsList")->count(), 0);
        availability.RunEventOccurred(RunEvent::Stopped, true);
        QCOMPARE(Enabled(), QStringLiteral("SelTERSAT"));
        ChooseBand("SelTERSATTer");
        QCOMPARE(Enabled(), QStringLiteral("SelTERSAT AskChan"));

        // A search that finds nothing takes the whole window away.
        analyser->faults.silent = true;
        Main().SearchComBtn->click();
        QCOMPARE(Enabled(), QString());
    }

    void NothingIsOfferedWithoutAnAnalyser()
    {
        Start("english", false);
        QCOMPARE(Enabled(), QString());
    }

    void AClickDuringAnImportWaitsForIt()
    {
        Start("english");
        ChooseBand("SelTERSATTer");
        Control<QPushButton>("AskChan")->click();
        Pick(1);
        bool searchOffered = true;
        clock->At(1500, [&] {
            searchOffered = Main().SearchComBtn->isEnabled();
            Control<QPushButton>("ReceiveCha")->click();
        });
        Control<QPushButton>("ReceiveCha")->click();
        QVERIFY(!searchOffered);
        QCOMPARE(Column("ch"), (QStringList{"C27", "C30", "C35", "E6"}));
        QCOMPARE(analyser->ReceivedCommands().filter(QStringLiteral("*?FL")).size(), 2);
    }

    void TheOscillatorsAreHeldBetweenOneAndTwentyThousand()
    {
        Start("english");
        QLineEdit* low = Control<QLineEdit>("LowOsc");
        QLineEdit* high = Control<QLineEdit>("HighOsc");
        QCOMPARE(low->text(), QStringLiteral("9750"));
        QCOMPARE(high->text(), QStringLiteral("10600"));
        QCOMPARE(low->maxLength(), 5);
        const struct {
            const char* typed;
            const char* held;
        } cases[] = {{"0", "1"}, {"99999", "20000"}, {"", "20000"}, {"9750", "9750"}, {"", "9750"}};
        for (const auto& c : cases) {
            low->setText(QString::fromLatin1(c.typed));
            Window().LowOscExit();
            QCOMPARE(low->text(), QString::fromLatin1(c.held));
        }
        high->setText(QStringLiteral("0"));
        Window().HighOscExit();
        QCOMPARE(high->text(), QStringLiteral("1"));
    }
};

QTEST_MAIN(ExplorationWindowTest)
#include "exploration_window_test.moc"
