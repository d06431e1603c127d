// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"
#include "app/program_ui.h"
#include "app/splash_form.h"
#include "platform/captions_ui.h"
#include "platform/settings.h"
#include "platform/texts.h"
#include "sim/virtual_clock.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"
#include "acquisition/oper_mode_window.h"
#include "alarms/auto_alarm_window.h"
#include "gps/gps_window.h"
#include "notify/finish_process_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>

// The main window as start-up leaves it, on fake ports in a throw-away folder.
class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<RecordingDialogs> dialogs;
    std::unique_ptr<FakeSystemCommands> system;
    std::unique_ptr<Program> program;

    TVigilo& Main() { return *program->VigiloForm; }
    QAction* Action(const char* name) { return Main().findChild<QAction*>(QLatin1String(name)); }
    QWidget* Widget(const char* name) { return Main().findChild<QWidget*>(QLatin1String(name)); }
    QString Caption(const char* name)
    {
        if (QAction* a = Action(name))
            return a->text();
        if (auto* m = Main().findChild<QMenu*>(QLatin1String(name)))
            return m->title();
        if (auto* b = Main().findChild<QPushButton*>(QLatin1String(name)))
            return b->property("caption").toString();
        if (auto* l = Main().findChild<QLabel*>(QLatin1String(name)))
            return l->text();
        return QStringLiteral("<missing %1>").arg(QLatin1String(name));
    }
    void WriteConfig(const QByteArray& line0)
    {
        QFile file(folder->File(QStringLiteral("config.cfg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(line0 + "\r\n");
    }

private slots:
    void init()
    {
        // A caption table row whose control is missing is a fault of its window.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("^captions of")));
        folder = std::make_unique<TempProgramFolder>();
        clock = std::make_unique<VirtualClock>();
        dialogs = std::make_unique<RecordingDialogs>();
        system = std::make_unique<FakeSystemCommands>();
        program = std::make_unique<Program>(*clock, *dialogs, *system, folder->Path());
    }
    void cleanup()
    {
        program.reset();
        folder.reset();
    }

    void StartUpWithoutSettingsDisablesTableCommands()
    {
        program->CreateWindows(false);
        for (const char* name : {"ViewFilteredReportBtn", "ViewCompletedReportBtn", "ViewGroupedReportBtn",
                                 "ViewAlarmReportBtn", "RunMeasureBtn", "SearchComBtn", "NewAcqButton",
                                 "OpenAcquisition", "SaveTP", "SelPortCB"})
            QVERIFY2(!Widget(name)->isEnabled(), name);
        for (const char* name : {"Exporttocsv1", "MinMaxAvg1", "byTime1", "byTestPoint1", "byAlarm1",
                                 "OpenTestPoint", "NewTestPoint", "SaveTP1", "TPointConfig1"})
            QVERIFY2(!Action(name)->isEnabled(), name);
        for (const char* name : {"NewReportBtn", "OpenReportBtn"})
            QVERIFY2(Widget(name)->isEnabled(), name);

        QCOMPARE(Main().PanelInfo->text(), QStringLiteral("STOPPED"));
        QCOMPARE(Main().PanelInfo->palette().color(QPalette::Window), QColor(Qt::red));
        QCOMPARE(Main().PanelInfo->size(), QSize(185, 25));
        QVERIFY(Main().StopMeasureBtn->isChecked());
        QVERIFY(!Main().StopMeasureBtn->isEnabled());
        QCOMPARE(Main().SelPortCB->currentText(), QStringLiteral("<none>"));
        QCOMPARE(Main().SelPortCB->count(), 40);
        QVERIFY(Main().AvisEstatAlarma->isHidden());
        QVERIFY(Main().AvisTurnOFF->isHidden());
        QVERIFY(Main().EUStandard->isChecked());
        QCOMPARE(program->workspace.modelCode, 8);
        QVERIFY(Main().Timer1->isActive());
        QCOMPARE(Main().Timer1->interval(), 1000);

        QCOMPARE(dialogs->messages.size(), 1);
        QVERIFY(dialogs->messages[0].startsWith(QStringLiteral("Unable to open file ")));
        QCOMPARE(program->settings.Line(0), QStringLiteral("english"));
        QVERIFY(QFile::exists(folder->File(QStringLiteral("config.cfg"))));
    }

    void SplashIsDestroyedOnceTheMainWindowIsShown()
    {
        QPointer<TSplash> splash = new TSplash;
        splash->show();
        program->CreateWindows(true, splash);
        // A message loop runs, as the program's own does after start-up.
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
        const bool destroyed = splash.isNull();
        delete splash.data();
        QVERIFY(destroyed);
        QWidgetList visible;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible())
                visible.append(window);
        QCOMPARE(visible, QWidgetList{program->VigiloForm.get()});
    }

    void ToolbarCaptionsFitTheirButtons_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::newRow("english") << QByteArray("english");
        QTest::newRow("spanish") << QByteArray("spanish");
    }
    void ToolbarCaptionsFitTheirButtons()
    {
        QFETCH(QByteArray, language);
        WriteConfig(language);
        program->CreateWindows(false);
        const QList<QPushButton*> buttons =
            Widget("ToolbarStrip")->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(buttons.size(), 10);
        for (QPushButton* button : buttons) {
            const QString name = button->objectName();
            const QString caption = button->property("caption").toString();
            QVERIFY2(!caption.isEmpty(), qPrintable(name));
            QCOMPARE(button->size(), QSize(52, 45));
            const int width = CaptionWidth(*button);
            QVERIFY(width > 0 && width <= button->width());
            const QFontMetrics metrics(button->font());
            const QStringList lines = button->text().split(QLatin1Char('\n'));
            QVERIFY2(lines.size() * metrics.lineSpacing() <= button->height(), qPrintable(name + ": too many lines"));
            QString reread;
            for (const QString& line : lines) {
                QVERIFY2(metrics.horizontalAdvance(line) <= width,
                         qPrintable(QStringLiteral("%1: \"%2\" is wider than %3 px").arg(name, line).arg(width)));
                if (!reread.isEmpty() && !reread.endsWith(QLatin1Char('/')))
                    reread += QLatin1Char(' ');
                reread += line;
            }
            // Nothing of the caption is lost on the way (double spaces read as one).
            QCOMPARE(reread, caption.simplified());
        }
    }

    void LanguageCommandSkipsDestroyedWindows_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* name : {"TGPS", "TOperMode", "TAutoAlarm", "TFormFinishProcess"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void LanguageCommandSkipsDestroyedWindows()
    {
        QFETCH(QString, window);
        program->CreateWindows(false);
        if (window == QLatin1String("TGPS"))
            program->GPS.reset();
        else if (window == QLatin1String("TOperMode"))
            program->OperMode.reset();
        else if (window == QLatin1String("TAutoAlarm"))
            program->AutoAlarm.reset();
        else
            program->FormFinishProcess.reset();
        Main().Spanish1->trigger();
        QCOMPARE(Caption("File1"), QStringLiteral("Archivo"));
        Main().English1->trigger();
        QCOMPARE(Caption("File1"), QStringLiteral("File"));
    }

    void TooltipsFollowTheLanguage()
    {
        WriteConfig("english");
        program->CreateWindows(false);
        const auto tips = [] {
            QMap<QString, QString> shown;
            for (QWidget* widget : QApplication::allWidgets())
                if (!widget->toolTip().isEmpty())
                    shown.insert(widget->window()->objectName() + QLatin1Char('.') + widget->objectName(),
                                 widget->toolTip());
            return shown;
        };
        const QMap<QString, QString> english = tips();
        QVERIFY(english.contains(QStringLiteral("TVigilo.RunMeasureBtn")));
        Main().Spanish1->trigger();
        const QMap<QString, QString> spanish = tips();
        QCOMPARE(spanish.keys(), english.keys());
        for (const QString& key : english.keys())
            QVERIFY2(spanish[key] != english[key], qPrintable(key + QStringLiteral(" keeps \"") + english[key] + '"'));
        Main().English1->trigger();
        QCOMPARE(tips(), english);
    }

    void ModelMenuTicksOneFamilyAndSetsItsCode_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("code");
        QTest::newRow("ATSC") << "USAStandard" << 9;
        QTest::newRow("ISDB-T") << "BRASILStandard" << 11;
        QTest::newRow("DTMB") << "CHINAStandard" << 12;
        QTest::newRow("DVB") << "EUStandard" << 8;
    }
    void ModelMenuTicksOneFamilyAndSetsItsCode()
    {
        QFETCH(QString, item);
        QFETCH(int, code);
        program->CreateWindows(false);
        program->workspace.modelCode = -1;
        Action(item.toLatin1().constData())->trigger();
        QCOMPARE(program->workspace.modelCode, code);
        int ticked = 0;
        for (const char* name : {"EUStandard", "USAStandard", "BRASILStandard", "CHINAStandard"})
            ticked += Action(name)->isChecked() ? 1 : 0;
        QCOMPARE(ticked, 1);
        QVERIFY(Action(item.toLatin1().constData())->isChecked());
    }

    void LanguageSwitchRewritesCaptionsAndLineZero()
    {
        WriteConfig("english");
        program->CreateWindows(false);
        QVERIFY(dialogs->messages.isEmpty());

        Main().Spanish1->trigger();
        QCOMPARE(Caption("byTestPoint1"), QStringLiteral("por Punto de Test"));
        QCOMPARE(Caption("ViewGroupedReportBtn"), QStringLiteral("por Test Point"));
        QCOMPARE(Caption("NewAcqButton"), QStringLiteral("Nuevos Puntos de Test"));
        QCOMPARE(Caption("File1"), QStringLiteral("Archivo"));
        QCOMPARE(Caption("Label57"), QStringLiteral("INFORMACIÓN DE ESTADO"));
        QCOMPARE(Main().Label57->x(), 1031);
        QCOMPARE(Main().PanelInfo->text(), QStringLiteral("DETENIDO"));
        QCOMPARE(Caption("USAStandard"), QStringLiteral("ATSC"));
        QCOMPARE(Caption("Tutorial1"), QStringLiteral("&Tutorial"));
        QFile file(folder->File(QStringLiteral("config.cfg")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("spanish\r\n"));
        file.close();

        Main().English1->trigger();
        QCOMPARE(Caption("byTestPoint1"), QStringLiteral("by Test Point"));
        QCOMPARE(Caption("NewAcqButton"), QStringLiteral("New  Test Point Set"));
        QCOMPARE(Caption("About1"), QStringLiteral("About..."));
        QCOMPARE(Main().Label57->x(), 1057);
        QCOMPARE(Main().PanelInfo->text(), QStringLiteral("STOPPED"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("english\r\n"));
    }

    void LanguageCommandReachesRegisteredWindows()
    {
        QList<Language> heard;
        QObject::connect(&program->workspace, &Workspace::languageChanged, [&](Language l) { heard.append(l); });
        WriteConfig("spanish");
        program->CreateWindows(false);
        QCOMPARE(heard, QList<Language>{Language::Spanish});
    }

    void TutorialOpensTheManualOfTheLanguage_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("manual");
        QTest::addColumn<QString>("message");
        QTest::newRow("english ok") << QByteArray("english") << true << "Manual_en.pdf" << QString();
        QTest::newRow("spanish missing") << QByteArray("spanish") << false << "Manual_sp.pdf"
                                         << "No se puede abrir el fichero";
        QTest::newRow("english missing") << QByteArray("english") << false << "Manual_en.pdf"
                                         << "Unable to open file";
    }
    void TutorialOpensTheManualOfTheLanguage()
    {
        QFETCH(QByteArray, language);
        QFETCH(bool, opens);
        QFETCH(QString, manual);
        QFETCH(QString, message);
        WriteConfig(language);
        program->CreateWindows(false);
        system->openSucceeds = opens;
        Main().Tutorial1->trigger();
        QCOMPARE(system->opened, QStringList{folder->File(manual)});
        QCOMPARE(dialogs->messages, message.isEmpty() ? QStringList() : QStringList{message});
    }

    void ClockShowsTheTimeOfThePump()
    {
        program->CreateWindows(false);
        clock->Advance(3723000);  // 11:02:03 on the virtual clock
        Main().Timer1Timer();
        QVERIFY(Main().EditSystemClock->text().contains(QStringLiteral("02:03")));
        QVERIFY(!Main().EditSystemDate->text().isEmpty());
    }

    void ErrorEscapingACommandIsShownAndTheProgramGoesOn()
    {
        program->CreateWindows(false);
        auto* app = static_cast<VigiloApplication*>(QCoreApplication::instance());
        app->SetDialogs(dialogs.get());
        dialogs->messages.clear();
        QTimer timer;
        connect(&timer, &QTimer::timeout, [] { throw std::runtime_error("Field 'foo' not found"); });
        timer.setSingleShot(true);
        timer.start(0);
        QTRY_COMPARE(dialogs->messages, QStringList{QStringLiteral("Field 'foo' not found")});
        app->SetDialogs(nullptr);
    }

    // Every state the status panel can show is read whole in both languages,
    // the longest ones (a run that lost its analyser or GPS receiver) too.
    void StatusPanelTextsFitThePanel()
    {
        program->CreateWindows(false);
        const QFontMetrics metrics(Main().PanelInfo->font());
        const Text states[] = {texts::kStopped, texts::kSearchingCom, texts::kRunning, texts::kWaitingToRun,
                               texts::kAnalyserLost, texts::kGpsLost};
        for (const Language language : {Language::English, Language::Spanish}) {
            QStringList shown{texts::kWaiting.In(language) + QStringLiteral("86400")};
            for (const Text& state : states)
                shown << state.In(language);
            for (const QString& text : shown)
                QVERIFY2(metrics.horizontalAdvance(text) <= Main().PanelInfo->width() - 4,
                         qPrintable(QStringLiteral("\"%1\" is wider than the panel").arg(text)));
        }
    }
};

int main(int argc, char** argv)
{
    VigiloApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
