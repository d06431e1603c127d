#include "app/main_window.h"

#include "platform/settings.h"
#include "platform/settings_loader.h"
#include "workspace/workspace.h"
#include "platform/texts.h"
#include "instrument/analyser_models.h"
#include "instrument/port_search_window.h"
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

// A push button whose caption wraps over several lines.
QPushButton* StepButton(QWidget* parent, const char* name, int left)
{
    auto* button = Named(new QPushButton(parent), name);
    button->setGeometry(left, 1, kButtonWidth, kButtonHeight);
    QFont font = button->font();
    font.setPointSizeF(6.5);
    button->setFont(font);
    return button;
}

// Qt buttons do not wrap: break a caption at its spaces to fit the width.
QString Wrapped(const QString& caption, const QFont& font)
{
    const QFontMetrics metrics(font);
    QString out;
    QString line;
    for (const QString& word : caption.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > kButtonWidth - 6) {
            out += line + QLatin1Char('\n');
            line = word;
        } else {
            line = candidate;
        }
    }
    return out + line;
}

void SetCaption(QPushButton* button, const QString& caption)
{
    // The caption as given stays readable through the accessible name, which
    // tests and screen readers use; the face shows it wrapped.
    button->setAccessibleName(caption);
    button->setProperty("caption", caption);
    button->setText(Wrapped(caption, button->font()));
}

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
    isTestPointTableOpen = [this] { return m_workspace.AcquiredTable.IsOpen(); };
    SetInitialCommandState();
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
    RunMeasureBtn->setToolTip(QStringLiteral("Run"));
    StopMeasureBtn = Named(new QToolButton(strip), "StopMeasureBtn");
    StopMeasureBtn->setGeometry(557, 1, kButtonWidth, kButtonHeight);
    StopMeasureBtn->setCheckable(true);
    StopMeasureBtn->setIcon(Picture(QStringLiteral("stop.jpg")));
    StopMeasureBtn->setIconSize(QSize(40, 36));
    StopMeasureBtn->setToolTip(QStringLiteral("Stop"));
    // One of the two is always down; Stop starts down and disabled.
    m_runStopGroup = new QButtonGroup(this);
    m_runStopGroup->setObjectName(QStringLiteral("RunStopGroup"));
    m_runStopGroup->setExclusive(true);
    m_runStopGroup->addButton(RunMeasureBtn);
    m_runStopGroup->addButton(StopMeasureBtn);
    StopMeasureBtn->setChecked(true);
    StopMeasureBtn->setEnabled(false);

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
    AvisEstatAlarma->setGeometry(970, 4, 36, 36);
    AvisEstatAlarma->setScaledContents(true);
    AvisEstatAlarma->setPixmap(Picture(QStringLiteral("alarm_mailing.jpg")));
    AvisEstatAlarma->setToolTip(QStringLiteral("Alarm mailing"));
    AvisTurnOFF = Named(new QLabel(strip), "AvisTurnOFF");
    AvisTurnOFF->setGeometry(1010, 4, 36, 36);
    AvisTurnOFF->setScaledContents(true);
    AvisTurnOFF->setPixmap(Picture(QStringLiteral("shutdown.jpg")));
    AvisTurnOFF->setToolTip(QStringLiteral("Scheduled shutdown"));

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
}

void TVigilo::SetInitialCommandState()
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             ViewFilteredReportBtn, ViewCompletedReportBtn, ViewAlarmReportBtn, ViewGroupedReportBtn,
             OpenAcquisition, NewAcqButton, RunMeasureBtn, SearchComBtn, SaveTP})
        w->setEnabled(false);
    for (QAction* a : {MinMaxAvg1, byTime1, byTestPoint1, byAlarm1, Exporttocsv1, OpenTestPoint,
                       NewTestPoint, SaveTP1, TPointConfig1})
        a->setEnabled(false);
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
    using namespace texts;
    const auto set = [language](QAction* a, const Text& t) { a->setText(t.In(language)); };
    const auto title = [language](QMenu* m, const Text& t) { m->setTitle(t.In(language)); };
    title(File1, kFile1);
    set(LoadReport1, kLoadReport1);
    title(ReportViewer1, kReportViewer1);
    set(MinMaxAvg1, kMinMaxAvg1);
    set(byTime1, kByTime1);
    set(byTestPoint1, kByTestPoint1);
    set(byAlarm1, kByAlarm1);
    set(SaveTP1, kSaveTP1);
    set(Exit1, kExit1);
    title(Model, kModel);
    set(EUStandard, kEUStandard);
    title(Reports, kReports);
    set(NewReport, kNewReport);
    set(OpenReport, kOpenReport);
    set(Exporttocsv1, kExporttocsv1);
    title(TestPoints1, kTestPoints1);
    set(OpenTestPoint, kOpenTestPoint);
    set(NewTestPoint, kNewTestPoint);
    set(TPointConfig1, kTPointConfig1);
    set(EditTPTable, kEditTPTable);
    title(View1, kView1);
    set(TestPoint1, kTestPoint1);
    set(TableReport1, kTableReport1);
    set(OpenAddChFromExploration1, kOpenAddChFromExploration1);
    title(Config, kConfig);
    set(OperatingMode, kOperatingMode);
    title(Mail, kMail);
    set(EMailConfig, kEMailConfig);
    set(TestSendMail, kTestSendMail);
    set(DataReport1, kDataReport1);
    title(OpenAlarms, kOpenAlarms);
    set(Shutdown1, kShutdown1);
    title(Language1, kLanguage1);
    set(English1, kEnglish1);
    set(Spanish1, kSpanish1);
    title(Help1, kHelp1);
    set(About1, kAbout1);

    SetCaption(NewReportBtn, kNewReportBtn.In(language));
    SetCaption(OpenReportBtn, kOpenReport.In(language));
    SetCaption(NewAcqButton, kNewAcqButton.In(language));
    SetCaption(OpenAcquisition, kOpenTestPoint.In(language));
    SetCaption(SaveTP, kSaveTP1.In(language));
    SetCaption(SearchComBtn, kSearchComBtn.In(language));
    Label58->setText(kLabel58.In(language));
    SetCaption(ViewFilteredReportBtn, kMinMaxAvg1.In(language));
    SetCaption(ViewCompletedReportBtn, kByTime1.In(language));
    SetCaption(ViewGroupedReportBtn, kViewGroupedReportBtn.In(language));
    SetCaption(ViewAlarmReportBtn, kByAlarm1.In(language));
    Label57->setText(kLabel57.In(language));
    const int left = language == Language::Spanish ? kLabel57Spanish : kLabel57English;
    Label57->move(left, Label57->y());
    PanelInfo->setText(kStopped.In(language));
}

void TVigilo::RunLanguageCommand(Language language)
{
    ApplyLanguage(language);
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
    if (AnalyserLink* link = m_workspace.Link())
        RunPortSearch(*this, m_workspace, *link, portSearchHooks);
}

void TVigilo::SelPortCBChange()
{
    RunMeasureBtn->setEnabled(true);
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
    for (const auto& task : timer1Tasks)
        task();
}

void TVigilo::FormActivate()
{
    if (!isTestPointTableOpen || !isTestPointTableOpen())
        EditTPTable->setEnabled(false);
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
