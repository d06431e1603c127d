// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/oper_mode_window.h"

#include "workspace/workspace.h"
#include "platform/texts.h"
#include "platform/captions_ui.h"
#include "workspace/availability_binding_ui.h"
#include "platform/digit_edit_ui.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace {
using namespace texts;

constexpr CaptionRow kCaptions[] = {
    {"TOperMode", &kOperating},
    {"Continuous", &kContinuous},
    {"CheckBoxBucleRepeticiones", &kCheckBoxBucleRepeticiones},
    {"ContadorStartStop", &kContadorStartStop},
    {"Only1TP", &kOnly1TP},
    {"Label1", &kOperLabel1},
    {"Label2", &kOperLabel2},
    {"Label5", &kOperLabel5},
    {"Label55", &kOperLabel55},
    {"Label56", &kOperLabel56},
    {"BtnStop", &kBtnStop},
    {"ReportsEverySeconds", &kReportsEverySeconds},
    {"EveryFilteredReport", &kMinMaxAvg},
    {"EveryCompletedReport", &kByTime},
    {"EveryGroupedReport", &kByTestPoint},
    {"EveryAlarmReport", &kByAlarm},
    {"cbAutoAlarm", &kCbAutoAlarm},
};

template <typename T>
T* Named(T* object, const char* name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

QCheckBox* Box(QWidget* parent, const char* name, int x, int y, int w = 160)
{
    auto* box = Named(new QCheckBox(parent), name);
    box->setGeometry(x, y, w, 20);
    return box;
}

QLabel* Caption(QWidget* parent, const char* name, const QString& text, int x, int y, int w = 220)
{
    auto* label = Named(new QLabel(text, parent), name);
    label->setGeometry(x, y, w, 20);
    return label;
}

QLineEdit* NumberEdit(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* edit = Named(new QLineEdit(text, parent), name);
    edit->setGeometry(x, y, 56, 22);
    return edit;
}

QTimeEdit* Picker(QWidget* parent, const char* name, int x, int y)
{
    auto* picker = Named(new QTimeEdit(QTime(0, 0, 0), parent), name);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    picker->setGeometry(x, y, 90, 22);
    return picker;
}
}  // namespace

TOperMode::TOperMode(Workspace& workspace, QWidget* parent) : QDialog(parent), m_workspace(workspace)
{
    setObjectName(QStringLiteral("TOperMode"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setFixedSize(470, 400);

    Continuous = Box(this, "Continuous", 16, 12);
    CheckBoxBucleRepeticiones = Box(this, "CheckBoxBucleRepeticiones", 16, 40, 120);
    BucleRepeticiones = NumberEdit(this, "BucleRepeticiones", QStringLiteral("1"), 150, 38);
    ContadorStartStop = Box(this, "ContadorStartStop", 16, 68);
    Label55 = Caption(this, "Label55", QString(), 36, 94, 70);
    ContadorStop = Picker(this, "ContadorStop", 110, 92);
    Label56 = Caption(this, "Label56", QString(), 210, 94, 70);
    ContadorStart = Picker(this, "ContadorStart", 284, 92);
    BtnStop = Named(new QPushButton(this), "BtnStop");
    BtnStop->setGeometry(384, 90, 70, 26);
    Only1TP = Box(this, "Only1TP", 16, 124, 220);

    Label5 = Caption(this, "Label5", QString(), 16, 164, 260);
    TimeForMeasure = NumberEdit(this, "TimeForMeasure", QStringLiteral("0"), 290, 162);
    Label6 = Caption(this, "Label6", QStringLiteral("s"), 352, 164, 20);
    Label1 = Caption(this, "Label1", QString(), 16, 194, 260);
    TimeBetweenTP = NumberEdit(this, "TimeBetweenTP", QStringLiteral("0"), 290, 192);
    Label3 = Caption(this, "Label3", QStringLiteral("s"), 352, 194, 20);
    Label2 = Caption(this, "Label2", QString(), 16, 224, 260);
    TimeBetweenTable = NumberEdit(this, "TimeBetweenTable", QStringLiteral("0"), 290, 222);
    Label4 = Caption(this, "Label4", QStringLiteral("s"), 352, 224, 20);

    ReportsEverySeconds = Box(this, "ReportsEverySeconds", 16, 264, 170);
    TimeEvery = NumberEdit(this, "TimeEvery", QStringLiteral("60"), 190, 262);
    Label7 = Caption(this, "Label7", QStringLiteral("m"), 252, 264, 20);
    // Two columns: the Spanish captions do not fit four in a row.
    EveryFilteredReport = Box(this, "EveryFilteredReport", 36, 292, 160);
    EveryCompletedReport = Box(this, "EveryCompletedReport", 220, 292, 160);
    EveryGroupedReport = Box(this, "EveryGroupedReport", 36, 316, 180);
    EveryAlarmReport = Box(this, "EveryAlarmReport", 220, 316, 160);

    cbAutoAlarm = Box(this, "cbAutoAlarm", 16, 356, 300);

    // Handlers run for ticks by hand and by code alike, as the exclusivity
    // rules require.
    connect(Continuous, &QCheckBox::toggled, this, &TOperMode::ContinuousClick);
    connect(CheckBoxBucleRepeticiones, &QCheckBox::toggled, this, &TOperMode::CheckBoxBucleRepeticionesClick);
    connect(ContadorStartStop, &QCheckBox::toggled, this, &TOperMode::ContadorStartStopClick);
    connect(Only1TP, &QCheckBox::toggled, this, &TOperMode::Only1TPClick);
    connect(ReportsEverySeconds, &QCheckBox::toggled, this, &TOperMode::ReportsEverySecondsClick);
    connect(BtnStop, &QPushButton::clicked, this, [this] {
        if (onBtnStopClick)
            onBtnStopClick();
    });

    DigitEdit::Install(TimeForMeasure, LimitsOf(OperModeEdit::TimeForMeasure).maxLength,
                       [this] { TimeForMeasureExit(); }, true);
    DigitEdit::Install(TimeBetweenTP, LimitsOf(OperModeEdit::TimeBetweenTP).maxLength,
                       [this] { TimeBetweenTPExit(); }, true);
    DigitEdit::Install(TimeBetweenTable, LimitsOf(OperModeEdit::TimeBetweenTable).maxLength,
                       [this] { TimeBetweenTableExit(); }, true);
    DigitEdit::Install(TimeEvery, LimitsOf(OperModeEdit::TimeEvery).maxLength, [this] { TimeEveryExit(); },
                       true);
    DigitEdit::Install(BucleRepeticiones, LimitsOf(OperModeEdit::BucleRepeticiones).maxLength,
                       [this] { BucleRepeticionesExit(); }, false);

    FormCreate();
    BindCommands();
    ApplyLanguage(Language::English);
    connect(&m_workspace, &Workspace::languageChanged, this, &TOperMode::ApplyLanguage);
}

void TOperMode::FormCreate()
{
    for (QWidget* w : std::initializer_list<QWidget*>{ContadorStop, ContadorStart, Label55, Label56,
                                                      EveryFilteredReport, EveryCompletedReport,
                                                      EveryGroupedReport, EveryAlarmReport, TimeEvery, Label7})
        w->setEnabled(false);
    Continuous->setChecked(true);
}

void TOperMode::BindCommands()
{
    auto* bind = new AvailabilityBinding(m_workspace.availability, this);
    for (QWidget* w : std::initializer_list<QWidget*>{ContadorStartStop, Continuous, TimeBetweenTP, TimeBetweenTable,
                                                      Label1, Label2, Label3, Label4})
        bind->Enable(w, Command::RepeatChoice);
    bind->Enable(CheckBoxBucleRepeticiones, Command::LoopChoice);
    bind->Enable(Only1TP, Command::LoopChoice);
    bind->Enable(BtnStop, Command::CycleStop);
    // The loop count is editable only in "Loops" mode, and not while a run
    // has the repetition settings locked.
    bind->Rule([this](const Availability& availability) {
        BucleRepeticiones->setEnabled(availability.IsEnabled(Command::LoopChoice) &&
                                      CheckBoxBucleRepeticiones->isChecked());
    });
    m_binding = bind;
}

void TOperMode::ApplyLanguage(Language language)
{
    ApplyCaptions(*this, kCaptions, language);
}

void TOperMode::ApplyModeControls()
{
    if (m_binding)
        m_binding->Apply();
    const bool cycle = ContadorStartStop->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{ContadorStop, ContadorStart, Label55, Label56})
        w->setEnabled(cycle);
    // Only a run start enables STOP, and only while the cycle is on.
    if (!cycle)
        m_workspace.availability.CycleUnticked();
}

void TOperMode::EnsureOneMode()
{
    if (!Continuous->isChecked() && !CheckBoxBucleRepeticiones->isChecked() && !ContadorStartStop->isChecked() &&
        !Only1TP->isChecked())
        Continuous->setChecked(true);
}

void TOperMode::ContinuousClick()
{
    if (Continuous->isChecked()) {
        ContadorStartStop->setChecked(false);
        CheckBoxBucleRepeticiones->setChecked(false);
        Only1TP->setChecked(false);
    }
    EnsureOneMode();
    ApplyModeControls();
}

void TOperMode::CheckBoxBucleRepeticionesClick()
{
    if (CheckBoxBucleRepeticiones->isChecked()) {
        ContadorStartStop->setChecked(false);
        Continuous->setChecked(false);
        Only1TP->setChecked(false);
    }
    EnsureOneMode();
    ApplyModeControls();
}

void TOperMode::ContadorStartStopClick()
{
    if (ContadorStartStop->isChecked()) {
        CheckBoxBucleRepeticiones->setChecked(false);
        Continuous->setChecked(false);
        Only1TP->setChecked(false);
        if (untickScheduledStop)
            untickScheduledStop();
    }
    EnsureOneMode();
    ApplyModeControls();
}

void TOperMode::Only1TPClick()
{
    if (Only1TP->isChecked()) {
        ContadorStartStop->setChecked(false);
        CheckBoxBucleRepeticiones->setChecked(false);
        Continuous->setChecked(false);
    }
    EnsureOneMode();
    ApplyModeControls();
}

void TOperMode::ReportsEverySecondsClick()
{
    const bool on = ReportsEverySeconds->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{EveryFilteredReport, EveryCompletedReport, EveryGroupedReport,
                                                      EveryAlarmReport, TimeEvery, Label7})
        w->setEnabled(on);
}

void TOperMode::ValidateEdit(QLineEdit* edit, OperModeEdit which)
{
    const QString valid = ValidateOperModeEdit(which, edit->text());
    if (valid != edit->text())
        edit->setText(valid);
}

void TOperMode::TimeForMeasureExit() { ValidateEdit(TimeForMeasure, OperModeEdit::TimeForMeasure); }
void TOperMode::TimeBetweenTPExit() { ValidateEdit(TimeBetweenTP, OperModeEdit::TimeBetweenTP); }
void TOperMode::TimeBetweenTableExit() { ValidateEdit(TimeBetweenTable, OperModeEdit::TimeBetweenTable); }
void TOperMode::TimeEveryExit() { ValidateEdit(TimeEvery, OperModeEdit::TimeEvery); }
void TOperMode::BucleRepeticionesExit() { ValidateEdit(BucleRepeticiones, OperModeEdit::BucleRepeticiones); }

RepeatMode TOperMode::Mode() const
{
    if (CheckBoxBucleRepeticiones->isChecked())
        return RepeatMode::Loops;
    if (ContadorStartStop->isChecked())
        return RepeatMode::OnOffCycle;
    if (Only1TP->isChecked())
        return RepeatMode::SingleTestPoint;
    return RepeatMode::Continuous;
}

void TOperMode::SetMode(RepeatMode mode)
{
    switch (mode) {
    case RepeatMode::Continuous:
        if (ContadorStartStop->isChecked())
            ContadorStartStop->setChecked(false);  // unticking the cycle falls back to Continuous
        Continuous->setChecked(true);
        break;
    case RepeatMode::Loops: CheckBoxBucleRepeticiones->setChecked(true); break;
    case RepeatMode::OnOffCycle: ContadorStartStop->setChecked(true); break;
    case RepeatMode::SingleTestPoint: Only1TP->setChecked(true); break;
    }
}

int TOperMode::LoopsLeft() const { return ReadOperModeEdit(OperModeEdit::BucleRepeticiones, BucleRepeticiones->text()); }
void TOperMode::SetLoopsLeft(int count) { BucleRepeticiones->setText(QString::number(count)); }
int TOperMode::MeasureDelay() const { return ReadOperModeEdit(OperModeEdit::TimeForMeasure, TimeForMeasure->text()); }
int TOperMode::WaitBetweenPoints() const { return ReadOperModeEdit(OperModeEdit::TimeBetweenTP, TimeBetweenTP->text()); }
int TOperMode::WaitBetweenLoops() const
{
    return ReadOperModeEdit(OperModeEdit::TimeBetweenTable, TimeBetweenTable->text());
}
bool TOperMode::ReportsEveryOn() const { return ReportsEverySeconds->isChecked(); }
int TOperMode::ReportPeriodMinutes() const { return ReadOperModeEdit(OperModeEdit::TimeEvery, TimeEvery->text()); }

PeriodicReportChoice TOperMode::PeriodicReports() const
{
    return {EveryFilteredReport->isChecked(), EveryCompletedReport->isChecked(), EveryGroupedReport->isChecked(),
            EveryAlarmReport->isChecked()};
}

bool TOperMode::AutoAlarmPass() const { return cbAutoAlarm->isChecked(); }
void TOperMode::SetAutoAlarmPass(bool on) { cbAutoAlarm->setChecked(on); }
QTime TOperMode::OnDuration() const { return ContadorStop->time(); }
void TOperMode::SetOnDuration(const QTime& time) { ContadorStop->setTime(time); }
QTime TOperMode::OffDuration() const { return ContadorStart->time(); }
void TOperMode::SetOffDuration(const QTime& time) { ContadorStart->setTime(time); }
