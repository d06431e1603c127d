// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_ui.h"

#include "acquisition/oper_mode_window.h"
#include "app/run_host_ui.h"
#include "alarms/alarms_window.h"
#include "alarms/auto_alarm_window.h"
#include "app/about_form.h"
#include "app/main_window.h"
#include "app/report_commands_ui.h"
#include "platform/settings_loader.h"
#include "app/splash_form.h"
#include "app/start_options_ui.h"
#include "platform/texts.h"
#include "gps/gps_window.h"
#include "instrument/analyser_link.h"
#include "instrument/posix_serial_device.h"
#include "notify/config_mails_form.h"
#include "notify/finish_process_window.h"
#include "notify/shutdown_window.h"
#include "notify/mail_service.h"
#include "platform/decimal_point.h"
#include "platform/errors.h"
#include "platform/event_pump.h"
#include "platform/preset_dialogs.h"
#include "platform/program_folder.h"
#include "platform/qt_dialogs_ui.h"
#include "platform/system_commands.h"
#include "reports/acquired_report.h"
#include "reports/company_data_window.h"
#include "reports/report_preview_window.h"
#include "reports/report_table_window.h"
#include "testpoints/acq_table_window.h"
#include "testpoints/data_module.h"
#include "testpoints/exploration_window.h"
#include "testpoints/table_commands_ui.h"
#include "testpoints/test_point_config_window.h"
#include "testpoints/tp_edition_window.h"
#include "workspace/availability_binding_ui.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <cstdio>

VigiloApplication::VigiloApplication(int& argc, char** argv, const char* cLocale) : QApplication(argc, argv)
{
    // After QApplication's constructor, which sets the C locale from the
    // environment and would undo an earlier choice.
    SetProcessNumberFormats(cLocale);
    setApplicationName(QStringLiteral("Vigilo"));
    setApplicationVersion(QStringLiteral("2.60"));
}

bool VigiloApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    const auto deliver = [&] { handled = QApplication::notify(receiver, event); };
    if (!m_dialogs) {
        deliver();
        return handled;
    }
    RunReportingErrors(*m_dialogs, deliver);
    return handled;
}

namespace {
// The toolbar buttons, their menu items and the two View items.
void ConnectTableCommands(TVigilo& main, TableCommands& commands)
{
    QObject::connect(main.NewReportBtn, &QPushButton::clicked, &commands, &TableCommands::NewReportBtnClick);
    QObject::connect(main.NewReport, &QAction::triggered, &commands, &TableCommands::NewReportBtnClick);
    QObject::connect(main.OpenReportBtn, &QPushButton::clicked, &commands, &TableCommands::OpenReportBtnClick);
    QObject::connect(main.OpenReport, &QAction::triggered, &commands, &TableCommands::OpenReportBtnClick);
    QObject::connect(main.NewAcqButton, &QPushButton::clicked, &commands, &TableCommands::NewAcqButtonClick);
    QObject::connect(main.NewTestPoint, &QAction::triggered, &commands, &TableCommands::NewAcqButtonClick);
    QObject::connect(main.OpenAcquisition, &QPushButton::clicked, &commands, &TableCommands::OpenAcquisitionClick);
    QObject::connect(main.OpenTestPoint, &QAction::triggered, &commands, &TableCommands::OpenAcquisitionClick);
    QObject::connect(main.SaveTP, &QPushButton::clicked, &commands, &TableCommands::SaveTPClick);
    QObject::connect(main.SaveTP1, &QAction::triggered, &commands, &TableCommands::SaveTPClick);
    QObject::connect(main.TestPoint1, &QAction::triggered, &commands, &TableCommands::TestPoint1Click);
    QObject::connect(main.TableReport1, &QAction::triggered, &commands, &TableCommands::TableReport1Click);
}

// A run locks the two grid windows whole; the test point grid also waits for
// a set with rows.
void BindGridWindows(Availability& availability, TFAcqTable& acqTable, TFRepTable& repTable)
{
    auto* acq = new AvailabilityBinding(availability, &acqTable);
    acq->Enable(&acqTable, Command::TestPointGridWindow);
    acq->Enable(acqTable.DBGrid1, Command::TestPointGrid);
    auto* rep = new AvailabilityBinding(availability, &repTable);
    rep->Enable(&repTable, Command::MeasurementsGridWindow);
}
}  // namespace

Program::Program(EventPump& pump, UserDialogs& dialogs, SystemCommands& system, const QString& folder,
                 SerialDeviceFactory ports)
    : settings(folder),
      workspace(pump, dialogs, system, settings, ports ? std::move(ports) : PosixSerialDeviceFactory(pump)),
      Mail(std::make_unique<MailService>(pump, settings, dialogs))
{
    workspace.mailer = &Mail->delivery;
}

Program::~Program() = default;

void Program::CreateWindow(const char* name, const std::function<void()>& create)
{
    Q_UNUSED(name);
    RunReportingErrors(workspace.dialogs, create);
}

void Program::CreateWindows(bool show, TSplash* splash, const std::function<void()>& onShown)
{
    VigiloForm = std::make_unique<TVigilo>(workspace, splash != nullptr);
    if (splash) {
        // Destroyed at once, not with deleteLater: the first showing comes
        // inside the show event's delivery before the message loop runs, and
        // a deferred delete posted there is only carried out when that loop
        // returns, which is at exit.
        QObject::connect(VigiloForm.get(), &TVigilo::shown, VigiloForm.get(),
                         [splash = QPointer<TSplash>(splash)] { delete splash.data(); },
                         Qt::SingleShotConnection);
    }
    if (onShown)
        QObject::connect(VigiloForm.get(), &TVigilo::shown, VigiloForm.get(), onShown, Qt::SingleShotConnection);
    if (show) {
        // The whole screen also on a station's bare X server, where no window
        // manager maximises it: the status panel sits at its right end.
        if (const QScreen* screen = VigiloForm->screen())
            VigiloForm->setGeometry(screen->availableGeometry());
        VigiloForm->showMaximized();
    }

    workspace.Link()->selectFamily = [this](ModelFamily family) {
        switch (family) {
        case ModelFamily::DVB: VigiloForm->EUStandardClick(); break;
        case ModelFamily::ATSC: VigiloForm->USAStandardClick(); break;
        case ModelFamily::ISDBT: VigiloForm->BRASILStandardClick(); break;
        case ModelFamily::DTMB: VigiloForm->CHINAStandardClick(); break;
        }
    };

    // Windows 2 to 19, in the order their creation has always had.
    const QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry().size()
                                                         : QSize(1280, 1024);
    // The grids' bottom limit: the main window's client height plus its toolbar.
    const auto gridBottomLimit = [this] {
        const QWidget* client = VigiloForm->centralWidget();
        const QWidget* strip = VigiloForm->findChild<QWidget*>(QStringLiteral("ToolbarStrip"));
        return client->height() + (strip ? strip->height() : 0);
    };
    CreateWindow("TGPS", [this] {
        GPS = std::make_unique<TGPS>(workspace, workspace.serialPorts);
        QObject::connect(VigiloForm->GPS1, &QAction::triggered, GPS.get(), &TGPS::GPS1Click);
    });
    CreateWindow("TFAcqTable", [this, screen, gridBottomLimit] {
        FAcqTable = std::make_unique<TFAcqTable>(workspace.AcquiredTable, screen, gridBottomLimit, VigiloForm.get());
    });
    CreateWindow("TFormAlarms", [this] {
        FormAlarms = std::make_unique<TFormAlarms>(workspace, VigiloForm.get());
        QObject::connect(VigiloForm->ManualAlarm1, &QAction::triggered, FormAlarms.get(),
                         &TFormAlarms::ManualAlarm1Click);
        FormAlarms->showMailingIndicator = [this](bool on) { VigiloForm->AvisEstatAlarma->setVisible(on); };
        if (FAcqTable)
            FAcqTable->loadAlarmWindow = [this] { FormAlarms->LoadAlarmWindow(); };
    });
    CreateWindow("TFRepTable", [this, screen, gridBottomLimit] {
        FRepTable = std::make_unique<TFRepTable>(workspace.ReportTable, screen, gridBottomLimit, VigiloForm.get());
        TableCommandsOfMain = std::make_unique<TableCommands>(workspace, *FAcqTable, *FRepTable);
        ConnectTableCommands(*VigiloForm, *TableCommandsOfMain);
        BindGridWindows(workspace.availability, *FAcqTable, *FRepTable);
    });
    CreateWindow("TConfigMails", [this] {
        ConfigMails = std::make_unique<TConfigMails>(workspace, Mail->settings, VigiloForm.get());
        QObject::connect(VigiloForm->EMailConfig, &QAction::triggered, ConfigMails.get(), &TConfigMails::EMailConfigClick);
        QObject::connect(VigiloForm->TestSendMail, &QAction::triggered, ConfigMails.get(),
                         [this] { Mail->delivery.TestSendMailClick(); });
    });
    CreateWindow("TRepCanals", [this] {
        RepCanals = std::make_unique<TRepCanals>(workspace, VigiloForm.get());
        QObject::connect(VigiloForm->OpenAddChFromExploration1, &QAction::triggered, RepCanals.get(),
                         &TRepCanals::OpenAddChFromExploration1Click);
    });
    CreateWindow("TShutDown", [this] {
        ShutDown = std::make_unique<TShutDown>(workspace, VigiloForm.get());
        ShutDown->showPowerOffIndicator = [this](bool visible) { VigiloForm->AvisTurnOFF->setVisible(visible); };
        QObject::connect(VigiloForm->Shutdown1, &QAction::triggered, ShutDown.get(), [this] {
            ShutDown->show();
            ShutDown->raise();
        });
    });
    CreateWindow("TOperMode", [this] {
        OperMode = std::make_unique<TOperMode>(workspace, VigiloForm.get());
        ConnectReportCommands(*VigiloForm, workspace, *OperMode);
        if (ShutDown) {
            // Arming the stop leaves the ON/OFF cycle, and ticking the cycle disarms it.
            ShutDown->SetOperMode(OperMode.get());
            OperMode->untickScheduledStop = [this] { ShutDown->Disarm(); };
        }
    });
    CreateWindow("TAutoAlarm", [this] { AutoAlarm = std::make_unique<TAutoAlarm>(workspace, VigiloForm.get()); });
    CreateWindow("TAboutBox", [this] {
        AboutBox = std::make_unique<TAboutBox>(VigiloForm.get());
        VigiloForm->showAboutBox = [this] { AboutBox->exec(); };
    });

    CreateWindow("TDataModule1", [this] { DataModule1 = std::make_unique<TDataModule1>(); });
    CreateWindow("TTPointConf", [this] {
        TPointConf = std::make_unique<TTPointConf>(workspace, VigiloForm.get());
        QObject::connect(VigiloForm->TPointConfig1, &QAction::triggered, TPointConf.get(),
                         &TTPointConf::TPointConfig1Click);
    });
    CreateWindow("TTP_Edition", [this] {
        TP_Edition = std::make_unique<TTP_Edition>(workspace, *DataModule1, VigiloForm.get());
        QObject::connect(VigiloForm->EditTPTable, &QAction::triggered, TP_Edition.get(),
                         &TTP_Edition::EditTPTableClick);
    });
    CreateWindow("TFormFinishProcess", [this] {
        FormFinishProcess = std::make_unique<TFormFinishProcess>(workspace, VigiloForm.get());
        RunWindows windows{VigiloForm.get(), OperMode.get(), AutoAlarm.get(), FormFinishProcess.get(), GPS.get(),
                           workspace.Link(), FormAlarms.get()};
        RunHostOfMain = std::make_unique<MainWindowRunHost>(workspace, windows);
        RunHostOfMain->Connect();
        ConnectScheduledActions();
    });

    // Window 20, the company data window: its creation loads the settings and
    // applies the language to every window, which all exist by now.
    CreateWindow("TDataCompany", [this] {
        TAcquiredQReport& report = workspace.AcquiredQReport();
        DataCompany = std::make_unique<TDataCompany>(settings, workspace.dialogs, report, VigiloForm.get());
        QObject::connect(VigiloForm->DataReport1, &QAction::triggered, DataCompany.get(),
                         &TDataCompany::DataReport1Click);
        QObject::connect(&workspace, &Workspace::languageChanged, DataCompany.get(), &TDataCompany::ApplyLanguage);
        workspace.acceptCompanyData = [this] { DataCompany->BitBtnAcceptData->click(); };
        VigiloForm->reportModelName = [&report](const QString& model) { report.SetModelName(model); };
        InstallReportPreview(report, settings, workspace.dialogs, VigiloForm.get());
        QObject::connect(VigiloForm->LoadReport1, &QAction::triggered, VigiloForm.get(), [this] {
            OpenReportPreview(nullptr, settings, workspace.dialogs, VigiloForm.get());
        });
        SettingsTargets targets;
        targets.copyLine = [this](int line, const QString& text) { DataCompany->CopySettingsLine(line, text); };
        targets.runLanguageCommand = [this](Language language) {
            if (language == Language::Spanish)
                VigiloForm->Spanish1Click();
            else
                VigiloForm->English1Click();
        };
        // Lines 13 and 15 to 25 go to the mail settings, beside what the
        // other windows copy.
        targets.copyLine = [this, others = targets.copyLine](int line, const QString& text) {
            if (others)
                others(line, text);
            CopyMailSettingsLine(Mail->settings, line, text);
        };
        LoadSettingsAtStartUp(settings, workspace.dialogs, targets);
        if (ConfigMails)
            ConfigMails->ShowSettings();
    });
}

void Program::StartReport(ReportKind kind)
{
    QPushButton* button = nullptr;
    switch (kind) {
    case ReportKind::ByTime: button = VigiloForm->ViewCompletedReportBtn; break;
    case ReportKind::MinMaxAvg: button = VigiloForm->ViewFilteredReportBtn; break;
    case ReportKind::ByTestPoint: button = VigiloForm->ViewGroupedReportBtn; break;
    case ReportKind::ByAlarm: button = VigiloForm->ViewAlarmReportBtn; break;
    }
    // The button's own signal, not click(): a run disables the report
    // buttons, and the periodic reports go on during a run all the same.
    emit button->clicked(false);
}

void Program::StartPeriodicReport(ReportKind kind)
{
    TAcquiredQReport& report = workspace.AcquiredQReport();
    const auto ownPreview = report.showPreview;
    report.showPreview = [this, kind](std::shared_ptr<PreparedReport> prepared, std::function<void()> closed) {
        QPointer<QWidget>& open = m_periodicPreviews[kind];
        if (auto* preview = qobject_cast<TReportPreview*>(open.data())) {
            // Its first `closed` stays connected: the after-preview rule
            // still runs once, when the user closes it.
            preview->ShowReport(std::move(prepared));
            preview->raise();
            return;
        }
        TReportPreview* preview = OpenReportPreview(std::move(prepared), settings, workspace.dialogs, VigiloForm.get());
        QObject::connect(preview, &TReportPreview::closed, preview, std::move(closed));
        open = preview;
    };
    try {
        StartReport(kind);
    } catch (...) {
        report.showPreview = ownPreview;
        throw;
    }
    report.showPreview = ownPreview;
}

void Program::ConnectScheduledActions()
{
    if (!ShutDown || !OperMode || !FormFinishProcess || !RunHostOfMain)
        return;
    if (!endProgram)
        endProgram = [] { QCoreApplication::quit(); };
    VigiloForm->scheduledStopCheck = [this] {
        ScheduledStopHooks hooks;
        hooks.pressStop = [this] { RunHostOfMain->SetStopDown(); };
        hooks.endOfProcessShowing = [this] { return FormFinishProcess->isVisible(); };
        hooks.startReport = [this](ReportKind kind) { StartReport(kind); };
        hooks.endProgram = [this] { endProgram(); };
        return CheckScheduledStop(workspace.pump.Now(), *ShutDown, workspace.reportMail, workspace.system, hooks);
    };
    QTimer* timer = VigiloForm->TimerSendReportsEvery;
    QObject::connect(timer, &QTimer::timeout, VigiloForm.get(), [this, timer] {
        SendPeriodicReports(*OperMode, {[timer] { timer->stop(); }, [timer] { timer->start(); }},
                            [this](ReportKind kind) { StartPeriodicReport(kind); });
    });
}

int RunVigilo(int argc, char** argv, const std::function<void()>& onShown)
{
    // Steps 1 and 2: the application object sets the number formats.
    VigiloApplication app(argc, argv);
    QString optionError;
    const std::optional<StartOptions> options = ParseStartOptions(app.arguments(), optionError);
    if (!options) {
        std::fprintf(stderr, "vigilo: %s\n%s", qPrintable(optionError), qPrintable(StartOptionsHelp()));
        return 2;
    }
    QtEventPump pump;
    QtUserDialogs qtDialogs;
    PresetDialogs dialogs(qtDialogs);
    QtSystemCommands system;
    app.SetDialogs(&dialogs);

    auto* splash = new TSplash;
    splash->show();
    pump.ProcessMessages();

    Program program(pump, dialogs, system, ProgramFolder());
    if (!RunReportingErrors(dialogs, [&] {
            program.CreateWindows(true, splash, onShown);
        }))
        return 1;
    QTimer::singleShot(0, &app, [&] {
        RunReportingErrors(dialogs, [&] { ApplyStartOptions(program, dialogs, *options); });
    });
    return app.exec();
}
