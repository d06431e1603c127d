// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/shutdown_window.h"

#include "acquisition/oper_mode.h"
#include "platform/captions_ui.h"
#include "platform/event_pump.h"
#include "platform/texts.h"
#include "workspace/availability_binding_ui.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimeEdit>

namespace {
using namespace texts;

constexpr CaptionRow kCaptions[] = {
    {"TShutDown", &kShutdown1},
    {"CheckActiveProg", &kCheckActiveProg},
    {"Label26", &kShutdownLabel26},
    {"CheckPCoff", &kCheckPCoff},
    {"Label41", &kShutdownLabel41},
    {"CheckFilteredReport", &kMinMaxAvg},
    {"CheckCompleteReport", &kByTime},
    {"CheckGroupedReport", &kByTestPoint},
    {"CheckAlarmReport", &kByAlarm},
};

// Which typed characters a picker lets through: keys without a character
// (arrows, Tab, the calendar's Alt+Down) always pass.
class PickerKeys final : public QObject {
public:
    PickerKeys(QObject* parent, bool digits) : QObject(parent), m_digits(digits) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.isEmpty() || !text.at(0).isPrint())
            return false;
        return !(m_digits && text.size() == 1 && text.at(0).isDigit());
    }

private:
    bool m_digits;
};

void FilterKeys(QWidget* picker, bool digits)
{
    auto* filter = new PickerKeys(picker, digits);
    picker->installEventFilter(filter);
    // The picker hands keys to its edit; a key sent to the edit itself must
    // meet the same filter.
    if (auto* edit = picker->findChild<QLineEdit*>())
        edit->installEventFilter(filter);
}

template <typename T>
T* Named(T* object, const char* name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

QCheckBox* Box(QWidget* parent, const char* name, int x, int y, int w)
{
    auto* box = Named(new QCheckBox(parent), name);
    box->setGeometry(x, y, w, 22);
    return box;
}
}  // namespace

TShutDown::TShutDown(Workspace& workspace, QWidget* parent) : QDialog(parent), m_workspace(workspace)
{
    setObjectName(QStringLiteral("TShutDown"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setFixedSize(420, 210);

    CheckActiveProg = Box(this, "CheckActiveProg", 16, 14, 180);
    Label26 = Named(new QLabel(this), "Label26");
    Label26->setGeometry(16, 48, 110, 22);
    DatePicker = Named(new QDateEdit(this), "DatePicker");
    DatePicker->setGeometry(130, 46, 120, 24);
    DatePicker->setCalendarPopup(true);
    DatePicker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    TimerPicker = Named(new QTimeEdit(this), "TimerPicker");
    TimerPicker->setGeometry(260, 46, 100, 24);
    TimerPicker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    CheckPCoff = Box(this, "CheckPCoff", 16, 82, 240);

    Label41 = Named(new QLabel(this), "Label41");
    Label41->setGeometry(16, 122, 220, 22);
    CheckFilteredReport = Box(this, "CheckFilteredReport", 16, 152, 180);
    CheckCompleteReport = Box(this, "CheckCompleteReport", 210, 152, 180);
    CheckGroupedReport = Box(this, "CheckGroupedReport", 16, 178, 180);
    CheckAlarmReport = Box(this, "CheckAlarmReport", 210, 178, 180);

    FilterKeys(DatePicker, false);
    FilterKeys(TimerPicker, true);

    connect(CheckActiveProg, &QCheckBox::toggled, this, &TShutDown::CheckActiveProgClick);
    connect(CheckPCoff, &QCheckBox::toggled, this, &TShutDown::CheckPCoffClick);
    const std::pair<QCheckBox*, ReportKind> switches[] = {{CheckFilteredReport, ReportKind::MinMaxAvg},
                                                          {CheckCompleteReport, ReportKind::ByTime},
                                                          {CheckGroupedReport, ReportKind::ByTestPoint},
                                                          {CheckAlarmReport, ReportKind::ByAlarm}};
    for (const auto& [box, kind] : switches)
        connect(box, &QCheckBox::toggled, this, [this, kind = kind](bool on) { m_workspace.reportMail.Set(kind, on); });

    // A run takes the arming and the stop moment away; the pickers also wait
    // for the schedule to be armed.
    auto* bind = new AvailabilityBinding(m_workspace.availability, this);
    bind->Enable(CheckActiveProg, Command::ScheduleControls);
    bind->Rule([this](const Availability&) { ApplyArmedControls(); });

    FormCreate();
    ApplyLanguage(Language::English);
    connect(&m_workspace, &Workspace::languageChanged, this, &TShutDown::ApplyLanguage);
}

void TShutDown::FormCreate()
{
    const QDateTime now = m_workspace.pump.Now();
    DatePicker->setDate(now.date());
    TimerPicker->setTime(now.time());
    ApplyArmedControls();
}

void TShutDown::ApplyArmedControls()
{
    const bool armed = CheckActiveProg->isChecked();
    const bool unlocked = m_workspace.availability.IsEnabled(Command::ScheduleControls);
    DatePicker->setEnabled(armed && unlocked);
    TimerPicker->setEnabled(armed && unlocked);
    for (QWidget* w : std::initializer_list<QWidget*>{CheckPCoff, CheckFilteredReport, CheckCompleteReport,
                                                      CheckGroupedReport, CheckAlarmReport})
        w->setEnabled(armed);
}

void TShutDown::CheckActiveProgClick()
{
    ApplyArmedControls();
    if (CheckActiveProg->isChecked() && m_operMode && m_operMode->Mode() == RepeatMode::OnOffCycle)
        m_operMode->SetMode(RepeatMode::Continuous);
}

void TShutDown::CheckPCoffClick()
{
    if (showPowerOffIndicator)
        showPowerOffIndicator(CheckPCoff->isChecked());
}

void TShutDown::ApplyLanguage(Language language)
{
    ApplyCaptions(*this, kCaptions, language);
}

bool TShutDown::Armed() const { return CheckActiveProg->isChecked(); }
QDateTime TShutDown::StopAt() const { return StopMinute(DatePicker->date(), TimerPicker->time()); }
bool TShutDown::PowerOffAfterStop() const { return CheckPCoff->isChecked(); }
void TShutDown::Disarm() { CheckActiveProg->setChecked(false); }
