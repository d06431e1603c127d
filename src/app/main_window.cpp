// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "platform/settings.h"
#include "platform/settings_loader.h"
#include "workspace/workspace.h"
#include "platform/texts.h"
#include "instrument/analyser_models.h"
#include "instrument/port_search.h"
#include "instrument/port_search_window.h"
#include "platform/captions_ui.h"
#include "workspace/availability_binding_ui.h"
#include "workspace/port_search_command.h"
#include "platform/date_formats.h"
#include "platform/event_pump.h"
#include "platform/program_folder.h"
#include "platform/system_commands.h"
#include "platform/user_dialogs.h"
#include "testpoints/table_layouts.h"

#include <QActionGroup>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kStripHeight = 47;
constexpr int kButtonWidth = 52;
constexpr int kButtonHeight = 45;
constexpr int kLabel57English = 1057;
constexpr int kLabel57Spanish = 1031;
constexpr int kSplashWaitMs = 2000;
const QColor kStripColour(226, 222, 205);

QPixmap Picture(const QString& name)
{
    return QPixmap(ProgramPath(QStringLiteral("images/") + name));
}

template <typename T>
T* Named(T* object, const char* name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

// A push button whose caption wraps over several lines (SetWrappedCaption).
QPushButton* StepButton(QWidget* parent, const char* name, int left)
{
    auto* button = Named(new QPushButton(parent), name);
    button->setGeometry(left, 1, kButtonWidth, kButtonHeight);
    QFont font = button->font();
    font.setPointSizeF(6.5);
    button->setFont(font);
    return button;
}

using namespace texts;
constexpr CaptionPart kWrapped = CaptionPart::WrappedText;
constexpr CaptionPart kTip = CaptionPart::ToolTip;

// Every caption the language commands set; the rest keep their design texts.
constexpr CaptionRow kCaptions[] = {
    {"File1", &kFile1},
    {"LoadReport1", &kLoadReport1},
    {"ReportViewer1", &kReportViewer1},
    {"MinMaxAvg1", &kMinMaxAvg},
    {"byTime1", &kByTime},
    {"byTestPoint1", &kByTestPoint},
    {"byAlarm1", &kByAlarm},
    {"SaveTP1", &kSaveTestPointSet},
    {"Exit1", &kExit1},
    {"Model", &kModel},
    {"EUStandard", &kEUStandard},
    {"Reports", &kReports},
    {"NewReport", &kNewReport},
    {"OpenReport", &kOpenTableReport},
    {"Exporttocsv1", &kExporttocsv1},
    {"TestPoints1", &kTestPoints1},
    {"OpenTestPoint", &kOpenTestPointSet},
    {"NewTestPoint", &kNewTestPoint},
    {"TPointConfig1", &kTPointConfig1},
    {"EditTPTable", &kEditTPTable},
    {"View1", &kView1},
    {"TestPoint1", &kTestPoint1},
    {"TableReport1", &kTableReport1},
    {"OpenAddChFromExploration1", &kOpenAddChFromExploration1},
    {"Config", &kConfig},
    {"OperatingMode", &kOperating},
    {"Mail", &kMail},
    {"EMailConfig", &kEMailConfig},
    {"TestSendMail", &kTestSendMail},
    {"DataReport1", &kDataReport1},
    {"OpenAlarms", &kOpenAlarms},
    {"Shutdown1", &kShutdown1},
    {"Language1", &kLanguage1},
    {"English1", &kEnglish1},
    {"Spanish1", &kSpanish1},
    {"Help1", &kHelp1},
    {"About1", &kAbout1},

    {"NewReportBtn", &kNewReportBtn, kWrapped},
    {"OpenReportBtn", &kOpenTableReport, kWrapped},
    {"NewAcqButton", &kNewAcqButton, kWrapped},
    {"OpenAcquisition", &kOpenTestPointSet, kWrapped},
    {"SaveTP", &kSaveTestPointSet, kWrapped},
    {"SearchComBtn", &kSearchComBtn, kWrapped},
    {"Label58", &kLabel58},
    {"ViewFilteredReportBtn", &kMinMaxAvg, kWrapped},
    {"ViewCompletedReportBtn", &kByTime, kWrapped},
    {"ViewGroupedReportBtn", &kViewGroupedReportBtn, kWrapped},
    {"ViewAlarmReportBtn", &kByAlarm, kWrapped},
    {"Label57", &kLabel57},
    {"PanelInfo", &kStopped},

    {"RunMeasureBtn", &kRunMeasureBtnTip, kTip},
    {"StopMeasureBtn", &kStopMeasureBtnTip, kTip},
    {"AvisEstatAlarma", &kAvisEstatAlarmaTip, kTip},
    {"AvisTurnOFF", &kAvisTurnOFFTip, kTip},
};

QLabel* StepLabel(QWidget* parent, const char* name, const char* text, int left)
{
    auto* label = Named(new QLabel(QLatin1String(text), parent), name);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(16);
    label->setFont(font);
    label->setGeometry(left, 8, 22, 30);
    return label;
}
}  // namespace

TVigilo::TVigilo(Workspace& workspace, bool waitForSplash, QWidget* parent)
    : QMainWindow(parent), m_workspace(workspace)
{
    setObjectName(QStringLiteral("TVigilo"));
    setWindowTitle(QStringLiteral("Vigilo"));
    setWindowState(Qt::WindowMaximized);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    central->setAutoFillBackground(true);
    QPalette palette = central->palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    central->setPalette(palette);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* strip = new QWidget(central);
    strip->setObjectName(QStringLiteral("ToolbarStrip"));
    strip->setFixedHeight(kStripHeight);
    strip->setAutoFillBackground(true);
    QPalette stripPalette = strip->palette();
    stripPalette.setColor(QPalette::Window, kStripColour);
    strip->setPalette(stripPalette);
    layout->addWidget(strip);

    auto* line = new QFrame(central);
    line->setObjectName(QStringLiteral("ToolbarLine"));
    line->setFrameShape(QFrame::HLine);
    line->setFixedHeight(2);
    layout->addWidget(line);

    auto* background = new QLabel(central);
    background->setObjectName(QStringLiteral("BackgroundPicture"));
    background->setAlignment(Qt::AlignCenter);
    background->setPixmap(Picture(QStringLiteral("background.jpg")));
    layout->addWidget(background, 1);
    setCentralWidget(central);

    BuildToolbar(strip);
    BuildStatusArea(strip);
    BuildMenus();
    InstallPortDisplayRules(SelPortCB);
    connect(SearchComBtn, &QPushButton::clicked, this, &TVigilo::SearchComBtnClick);
    // Only a user's choice counts as a change; the search's display does not.
    connect(SelPortCB, &QComboBox::activated, this, &TVigilo::SelPortCBChange);

    Timer1 = Named(new QTimer(this), "Timer1");
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TVigilo::Timer1Timer);
    TimerSendReportsEvery = Named(new QTimer(this), "TimerSendReportsEvery");

    // FormCreate, in its order.
    if (waitForSplash)
        m_workspace.pump.Sleep(kSplashWaitMs);
    RegisterDatabaseNames();
    m_workspace.AcquiredTable.SetDatabaseName(QString::fromUtf8(dbnames::kTestPoints));
    m_workspace.ReportTable.SetDatabaseName(QString::fromUtf8(dbnames::kMeasurements));
    m_workspace.FilterTable.SetDatabaseName(QString::fromUtf8(dbnames::kFilter));
    m_workspace.FilterTable.SetTableName(QStringLiteral("Filter"));
    BindCommands();
    AvisEstatAlarma->hide();
    AvisTurnOFF->hide();
    EUStandardClick();
    ShowClock();
    Timer1->start();
}

void TVigilo::BuildToolbar(QWidget* strip)
{
    StepLabel(strip, "Step1Label", "1.", 2);
    NewReportBtn = StepButton(strip, "NewReportBtn", 24);
    OpenReportBtn = StepButton(strip, "OpenReportBtn", 77);
    StepLabel(strip, "Step2Label", "2.", 136);
    NewAcqButton = StepButton(strip, "NewAcqButton", 160);
    OpenAcquisition = StepButton(strip, "OpenAcquisition", 213);
    SaveTP = StepButton(strip, "SaveTP", 266);
    StepLabel(strip, "Step3Label", "3.", 328);
    SearchComBtn = StepButton(strip, "SearchComBtn", 352);

    SelPortCB = Named(new QComboBox(strip), "SelPortCB");
    SelPortCB->setGeometry(405, 12, 80, 22);
    SelPortCB->setEditable(true);
    for (int i = 1; i <= 40; ++i)
        SelPortCB->addItem(QStringLiteral("COM%1").arg(i));
    SelPortCB->setCurrentIndex(-1);
    SelPortCB->setEditText(QStringLiteral("<none>"));
    SelPortCB->setEnabled(false);
    SelPortCB->lineEdit()->setReadOnly(true);

    StepLabel(strip, "Step4Label", "4.", 480);
    RunMeasureBtn = Named(new QToolButton(strip), "RunMeasureBtn");
    RunMeasureBtn->setGeometry(504, 1, kButtonWidth, kButtonHeight);
    RunMeasureBtn->setCheckable(true);
    RunMeasureBtn->setIcon(Picture(QStringLiteral("run.jpg")));
    RunMeasureBtn->setIconSize(QSize(40, 36));
    StopMeasureBtn = Named(new QToolButton(strip), "StopMeasureBtn");
    StopMeasureBtn->setGeometry(557, 1, kButtonWidth, kButtonHeight);
    StopMeasureBtn->setCheckable(true);
    StopMeasureBtn->setIcon(Picture(QStringLiteral("stop.jpg")));
    StopMeasureBtn->setIconSize(QSize(40, 36));
    // One of the two is always down; Stop starts down and disabled.
    m_runStopGroup = new QButtonGroup(this);
    m_runStopGroup->setObjectName(QStringLiteral("RunStopGroup"));
    m_runStopGroup->setExclusive(true);
    m_runStopGroup->addButton(RunMeasureBtn);
    m_runStopGroup->addButton(StopMeasureBtn);
    StopMeasureBtn->setChecked(true);

    StepLabel(strip, "Step5Label", "5.", 624);
    Label58 = Named(new QLabel(strip), "Label58");
    Label58->setGeometry(648, 6, 92, 34);
    Label58->setWordWrap(true);
    ViewFilteredReportBtn = StepButton(strip, "ViewFilteredReportBtn", 744);
    ViewCompletedReportBtn = StepButton(strip, "ViewCompletedReportBtn", 797);
    ViewGroupedReportBtn = StepButton(strip, "ViewGroupedReportBtn", 850);
    ViewAlarmReportBtn = StepButton(strip, "ViewAlarmReportBtn", 902);
}

void TVigilo::BuildStatusArea(QWidget* strip)
{
    AvisEstatAlarma = Named(new QLabel(strip), "AvisEstatAlarma");
    // Both indicators end left of the Spanish "Status Information" caption
    // (its left edge moves to 1031).
    AvisEstatAlarma->setGeometry(958, 5, 34, 34);
    AvisEstatAlarma->setScaledContents(true);
    AvisEstatAlarma->setPixmap(Picture(QStringLiteral("alarm_mailing.jpg")));
    AvisTurnOFF = Named(new QLabel(strip), "AvisTurnOFF");
    AvisTurnOFF->setGeometry(995, 5, 34, 34);
    AvisTurnOFF->setScaledContents(true);
    AvisTurnOFF->setPixmap(Picture(QStringLiteral("shutdown.jpg")));

    Label57 = Named(new QLabel(strip), "Label57");
    Label57->setGeometry(kLabel57English, 1, 185, 16);
    PanelInfo = Named(new QLabel(strip), "PanelInfo");
    PanelInfo->setGeometry(kLabel57English, 18, 185, 25);
    PanelInfo->setFixedSize(185, 25);
    PanelInfo->setAlignment(Qt::AlignCenter);
    PanelInfo->setAutoFillBackground(true);
    QFont bold = PanelInfo->font();
    bold.setBold(true);
    PanelInfo->setFont(bold);
    SetPanelInfo(QStringLiteral("STOPPED"), Qt::red);

    EditSystemClock = Named(new QLineEdit(strip), "EditSystemClock");
    EditSystemClock->setGeometry(1250, 2, 80, 20);
    EditSystemClock->setReadOnly(true);
    EditSystemClock->setFocusPolicy(Qt::NoFocus);
    EditSystemDate = Named(new QLineEdit(strip), "EditSystemDate");
    EditSystemDate->setGeometry(1250, 24, 80, 20);
    EditSystemDate->setReadOnly(true);
    EditSystemDate->setFocusPolicy(Qt::NoFocus);
}

void TVigilo::BuildMenus()
{
    QMenuBar* bar = menuBar();
    auto newMenu = [this](const char* name) {
        auto* m = new QMenu(this);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("Item"));
        return m;
    };
    auto topMenu = [&](const char* name) {
        QMenu* m = newMenu(name);
        bar->addMenu(m);
        return m;
    };
    auto subMenu = [&](QMenu* parentMenu, const char* name) {
        QMenu* m = newMenu(name);
        parentMenu->addMenu(m);
        return m;
    };
    auto item = [this](QMenu* m, const char* name, const char* fixedCaption = nullptr) {
        auto* a = new QAction(this);
        a->setObjectName(QLatin1String(name));
        if (fixedCaption)
            a->setText(QString::fromUtf8(fixedCaption));
        m->addAction(a);
        return a;
    };

    File1 = topMenu("File1");
    LoadReport1 = item(File1, "LoadReport1");
    File1->addSeparator();
    ReportViewer1 = subMenu(File1, "ReportViewer1");
    MinMaxAvg1 = item(ReportViewer1, "MinMaxAvg1");
    byTime1 = item(ReportViewer1, "byTime1");
    byTestPoint1 = item(ReportViewer1, "byTestPoint1");
    byAlarm1 = item(ReportViewer1, "byAlarm1");
    File1->addSeparator();
    SaveTP1 = item(File1, "SaveTP1");
    File1->addSeparator();
    Exit1 = item(File1, "Exit1");

    Model = topMenu("Model");
    EUStandard = item(Model, "EUStandard");
    USAStandard = item(Model, "USAStandard", "ATSC");
    BRASILStandard = item(Model, "BRASILStandard", "ISDB-T");
    CHINAStandard = item(Model, "CHINAStandard", "DTMB");
    m_modelGroup = new QActionGroup(this);
    m_modelGroup->setExclusive(true);
    for (QAction* a : {EUStandard, USAStandard, BRASILStandard, CHINAStandard}) {
        a->setCheckable(true);
        m_modelGroup->addAction(a);
    }

    Reports = topMenu("Reports");
    NewReport = item(Reports, "NewReport");
    OpenReport = item(Reports, "OpenReport");
    Reports->addSeparator();
    Exporttocsv1 = item(Reports, "Exporttocsv1");

    TestPoints1 = topMenu("TestPoints1");
    OpenTestPoint = item(TestPoints1, "OpenTestPoint");
    NewTestPoint = item(TestPoints1, "NewTestPoint");
    TestPoints1->addSeparator();
    TPointConfig1 = item(TestPoints1, "TPointConfig1");
    TestPoints1->addSeparator();
    EditTPTable = item(TestPoints1, "EditTPTable");

    View1 = topMenu("View1");
    TestPoint1 = item(View1, "TestPoint1");
    TableReport1 = item(View1, "TableReport1");
    View1->addSeparator();
    OpenAddChFromExploration1 = item(View1, "OpenAddChFromExploration1");

    Config = topMenu("Config");
    OperatingMode = item(Config, "OperatingMode");
    Config->addSeparator();
    Mail = subMenu(Config, "Mail");
    EMailConfig = item(Mail, "EMailConfig");
    Mail->addSeparator();
    TestSendMail = item(Mail, "TestSendMail");
    Config->addSeparator();
    DataReport1 = item(Config, "DataReport1");
    Config->addSeparator();
    OpenAlarms = subMenu(Config, "OpenAlarms");
    AutoAlarm1 = item(OpenAlarms, "AutoAlarm1", "Auto");
    OpenAlarms->addSeparator();
    ManualAlarm1 = item(OpenAlarms, "ManualAlarm1", "Manual");
    Config->addSeparator();
    GPS1 = item(Config, "GPS1", "GPS");
    Config->addSeparator();
    Shutdown1 = item(Config, "Shutdown1");

    Language1 = topMenu("Language1");
    English1 = item(Language1, "English1");
    Spanish1 = item(Language1, "Spanish1");

    Help1 = topMenu("Help1");
    Tutorial1 = item(Help1, "Tutorial1", "&Tutorial");
    About1 = item(Help1, "About1");

    connect(Exit1, &QAction::triggered, this, &TVigilo::Exit1Click);
    connect(EUStandard, &QAction::triggered, this, &TVigilo::EUStandardClick);
    connect(USAStandard, &QAction::triggered, this, &TVigilo::USAStandardClick);
    connect(BRASILStandard, &QAction::triggered, this, &TVigilo::BRASILStandardClick);
    connect(CHINAStandard, &QAction::triggered, this, &TVigilo::CHINAStandardClick);
    connect(English1, &QAction::triggered, this, &TVigilo::English1Click);
    connect(Spanish1, &QAction::triggered, this, &TVigilo::Spanish1Click);
    connect(About1, &QAction::triggered, this, &TVigilo::About1Click);
    connect(Tutorial1, &QAction::triggered, this, &TVigilo::Tutorial1Click);

    // The captions the English command sets, so the window reads well before
    // the settings are loaded.
    ApplyLanguage(Language::English);
    connect(&m_workspace, &Workspace::languageChanged, this, &TVigilo::ApplyLanguage);
}

void TVigilo::BindCommands()
{
    auto* bind = new AvailabilityBinding(m_workspace.availability, this);
    const struct {
        QWidget* button;
        QAction* item;
        Command command;
    } pairs[] = {
        {NewReportBtn, NewReport, Command::NewMeasurements},
        {OpenReportBtn, OpenReport, Command::OpenMeasurements},
        {NewAcqButton, NewTestPoint, Command::NewTestPointSet},
        {OpenAcquisition, OpenTestPoint, Command::OpenTestPointSet},
        {SaveTP, SaveTP1, Command::SaveTestPointSet},
        {ViewFilteredReportBtn, MinMaxAvg1, Command::ReportMinMaxAvg},
        {ViewCompletedReportBtn, byTime1, Command::ReportByTime},
        {ViewGroupedReportBtn, byTestPoint1, Command::ReportByTestPoint},
        {ViewAlarmReportBtn, byAlarm1, Command::ReportByAlarm},
        {SearchComBtn, nullptr, Command::SearchCom},
        {RunMeasureBtn, nullptr, Command::Run},
        {StopMeasureBtn, nullptr, Command::Stop},
        {nullptr, Exporttocsv1, Command::ExportCsv},
        {nullptr, EditTPTable, Command::EditTestPointTable},
        {nullptr, TPointConfig1, Command::TestPointEditor},
        {nullptr, OpenAddChFromExploration1, Command::ExplorationImport},
        {nullptr, DataReport1, Command::CompanyData},
        {nullptr, EMailConfig, Command::MailSettings},
        {nullptr, TestSendMail, Command::TestMail},
        {nullptr, GPS1, Command::GpsWindow},
        {nullptr, OperatingMode, Command::OperatingModeWindow},
    };
    for (const auto& pair : pairs) {
        if (pair.button)
            bind->Enable(pair.button, pair.command);
        if (pair.item)
            bind->Enable(pair.item, pair.command);
    }
    const std::pair<QMenu*, Command> menus[] = {
        {File1, Command::FileMenu},       {Model, Command::ModelMenu},         {OpenAlarms, Command::AlarmsMenu},
        {Mail, Command::MailMenu},        {Language1, Command::LanguageMenu},  {TestPoints1, Command::TestPointsMenu},
        {Reports, Command::ReportsMenu}};
    for (const auto& [menu, command] : menus)
        bind->Enable(menu, command);
    const std::pair<QAction*, Command> hidden[] = {{LoadReport1, Command::LoadReport},
                                                   {Exit1, Command::Exit},
                                                   {English1, Command::EnglishLanguage},
                                                   {Spanish1, Command::SpanishLanguage},
                                                   {About1, Command::About}};
    for (const auto& [item, command] : hidden)
        bind->Show(item, command);
    bind->Show(RunMeasureBtn, Command::Run);
    bind->Show(StopMeasureBtn, Command::Stop);
}

void TVigilo::SetPanelInfo(const QString& text, const QColor& ground)
{
    PanelInfo->setText(text);
    QPalette palette = PanelInfo->palette();
    palette.setColor(QPalette::Window, ground);
    palette.setColor(QPalette::WindowText, ground == Qt::yellow ? Qt::black : Qt::white);
    PanelInfo->setPalette(palette);
    PanelInfo->repaint();
}

void TVigilo::SetPanelInfo(const Text& text, const QColor& ground)
{
    if (auto shown = Pick(m_workspace.settings, text))
        SetPanelInfo(*shown, ground);
}

void TVigilo::SelectFamily(QAction* item, int modelCode)
{
    item->setChecked(true);
    m_workspace.modelCode = modelCode;
}

void TVigilo::EUStandardClick() { SelectFamily(EUStandard, RepresentativeModelCode(ModelFamily::DVB)); }
void TVigilo::USAStandardClick() { SelectFamily(USAStandard, RepresentativeModelCode(ModelFamily::ATSC)); }
void TVigilo::BRASILStandardClick() { SelectFamily(BRASILStandard, RepresentativeModelCode(ModelFamily::ISDBT)); }
void TVigilo::CHINAStandardClick() { SelectFamily(CHINAStandard, RepresentativeModelCode(ModelFamily::DTMB)); }

void TVigilo::ApplyLanguage(Language language)
{
    ApplyCaptions(*this, kCaptions, language);
    const int left = language == Language::Spanish ? kLabel57Spanish : kLabel57English;
    Label57->move(left, Label57->y());
}

void TVigilo::RunLanguageCommand(Language language)
{
    // This window follows the announcement like every other.
    m_workspace.AnnounceLanguage(language);
    m_workspace.settings.Replace(Settings::kLanguageLine, LanguageWord(language));
    SaveSettingsReporting(m_workspace.settings, m_workspace.dialogs);
}

void TVigilo::English1Click() { RunLanguageCommand(Language::English); }
void TVigilo::Spanish1Click() { RunLanguageCommand(Language::Spanish); }

void TVigilo::About1Click()
{
    if (showAboutBox)
        showAboutBox();
}

void TVigilo::Tutorial1Click()
{
    const Language language = CurrentLanguage(m_workspace.settings);
    if (language == Language::Other)
        return;
    const QString manual = ProgramPath(texts::kManualFile.In(language));
    if (!m_workspace.system.OpenDocument(manual))
        m_workspace.dialogs.ShowMessage(texts::kUnableToOpenManual.In(language));
}

void TVigilo::Exit1Click()
{
    close();
}

void TVigilo::SearchComBtnClick()
{
    PortSearchView view;
    view.showSearching = [this](bool searching) {
        if (searching)
            SetPanelInfo(texts::kSearchingCom, Qt::blue);
        else
            SetPanelInfo(texts::kStopped, Qt::red);
    };
    view.showPortIndex = [this](int index) {
        SelPortCB->setCurrentIndex(index);
        SelPortCB->repaint();
    };
    view.portName = [this] { return SelPortCB->currentText(); };
    view.reportModelName = reportModelName;
    RunPortSearch(m_workspace, view);
}

void TVigilo::SelPortCBChange()
{
    m_workspace.availability.PortChosen();
}

void TVigilo::ShowClock()
{
    const QDateTime now = m_workspace.pump.Now();
    EditSystemClock->setText(SystemLongTime(now.time()));
    EditSystemDate->setText(SystemShortDate(now.date()));
}

void TVigilo::Timer1Timer()
{
    ShowClock();
    if (scheduledStopCheck && scheduledStopCheck())
        return;
    for (const auto& task : timer1Tasks)
        task();
}

void TVigilo::FormActivate()
{
    m_workspace.availability.MainWindowActivated(m_workspace.AcquiredTable.IsOpen());
}

void TVigilo::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    emit shown();
}

void TVigilo::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}
