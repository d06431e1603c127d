// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarms_window.h"

#include "platform/captions_ui.h"
#include "platform/fields.h"
#include "platform/texts.h"
#include "platform/up_down_ui.h"
#include "testpoints/dataset.h"
#include "testpoints/field_values.h"
#include "workspace/availability_binding_ui.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

namespace {
using namespace texts;

constexpr CaptionRow kCaptions[] = {
    {"TFormAlarms", &kFormAlarmsTitle},
    {"Label8", &kAlarmSwitchLabel},
    {"Label14", &kAlarmMinimum},
    {"Label15", &kAlarmMaximum},
    {"Label17", &kAlarmMaximum},
    {"Label16", &kAlarmMinimum},
    {"Label19", &kAlarmCberLabel},
    {"Label18", &kAlarmVberLabel},
    {"Label10", &kAlarmLevelLabel},
    {"Label11", &kAlarmMerLabel},
    {"Label12", &kAlarmCnLabel},
    {"Label13", &kAlarmVaLabel},
    {"Label33", &kAlarmIndexLabel},
    {"Label32", &kAlarmLberLabel},
    {"SendAlarm", &kSendAlarm},
    {"Insert", &kAlarmInsert},
};

const QStringList kCberItems = {"1.0E-1", "1.0E-2", "1.0E-3", "1.0E-4", "1.0E-5", "1.0E-6", "OFF"};
const QStringList kBerItems = {"1.0E-1", "1.0E-2", "1.0E-3", "1.0E-4", "1.0E-5",
                               "1.0E-6", "1.0E-7", "1.0E-8", "OFF"};

template <typename T>
T* Named(T* object, const char* name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

// A list the user picks from: typed characters never choose an item (the
// arrow keys and the mouse still do).
class TypedKeysDiscarded final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->text().trimmed().isEmpty())
            return true;
        return QObject::eventFilter(watched, event);
    }
};

QComboBox* PickList(QWidget* parent, const char* name, const QStringList& items, QRect geometry)
{
    auto* list = Named(new QComboBox(parent), name);
    list->addItems(items);
    list->setCurrentIndex(-1);
    list->setGeometry(geometry);
    list->installEventFilter(new TypedKeysDiscarded(list));
    return list;
}

QString Field(const char* name)
{
    return QString::fromLatin1(name);
}
}  // namespace

TFormAlarms::TFormAlarms(Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_table(workspace.AcquiredTable)
{
    setObjectName(QStringLiteral("TFormAlarms"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setModal(false);
    setFixedSize(460, 312);
    BuildControls();
    BindAvailability();

    m_listener = m_table.AddListener([this](DatasetEvent event) {
        if (event == DatasetEvent::Opened || event == DatasetEvent::Closed)
            ForgetTestPoint();
        ShowBoundFields();
    });
    ShowBoundFields();

    ApplyLanguage(Language::English);
    connect(&workspace, &Workspace::languageChanged, this, &TFormAlarms::ApplyLanguage);
}

TFormAlarms::~TFormAlarms()
{
    m_table.RemoveListener(m_listener);
}

void TFormAlarms::BuildControls()
{
    const auto label = [this](const char* name, QRect geometry) {
        auto* l = Named(new QLabel(this), name);
        l->setGeometry(geometry);
        return l;
    };
    Label8 = label("Label8", {12, 14, 70, 20});
    DBWarning = PickList(this, "DBWarning", {QStringLiteral("ON"), QStringLiteral("OFF")}, {86, 12, 70, 24});
    Label33 = label("Label33", {196, 14, 110, 20});
    TextIndex = Named(new QLineEdit(this), "TextIndex");
    TextIndex->setGeometry(310, 12, 60, 24);
    TextIndex->setReadOnly(true);

    Label14 = label("Label14", {120, 48, 76, 18});
    Label15 = label("Label15", {214, 48, 76, 18});
    const auto numeric = [this, &label](const char* labelName, QLabel*& rowLabel, int y, const char* minEdit,
                                        const char* maxEdit, const char* minArrows, const char* maxArrows,
                                        int largest, QLineEdit*& minE, QLineEdit*& maxE, UpDown*& minA,
                                        UpDown*& maxA) {
        rowLabel = label(labelName, {12, y + 2, 104, 20});
        const auto edit = [this, y, largest](const char* editName, const char* arrowsName, int x, QLineEdit*& e,
                                            UpDown*& a) {
            e = Named(new QLineEdit(QStringLiteral("0"), this), editName);
            e->setGeometry(x, y, 58, 24);
            a = Named(new UpDown(e, 0, largest, this), arrowsName);
            a->setGeometry(x + 58, y, 18, 24);
            a->hide();
        };
        edit(minEdit, minArrows, 120, minE, minA);
        edit(maxEdit, maxArrows, 214, maxE, maxA);
    };
    numeric("Label10", Label10, 70, "EditminLV", "EditmaxLV", "UpDownMinLV", "UpDownMaxLV", 120, EditminLV,
            EditmaxLV, UpDownMinLV, UpDownMaxLV);
    numeric("Label11", Label11, 100, "EditminMER", "EditmaxMER", "UpDownMinMER", "UpDownMaxMER", 38, EditminMER,
            EditmaxMER, UpDownMinMER, UpDownMaxMER);
    numeric("Label12", Label12, 130, "EditminCN", "EditmaxCN", "UpDownMinCN", "UpDownMaxCN", 100, EditminCN,
            EditmaxCN, UpDownMinCN, UpDownMaxCN);
    numeric("Label13", Label13, 160, "EditminVA", "EditmaxVA", "UpDownMinVA", "UpDownMaxVA", 100, EditminVA,
            EditmaxVA, UpDownMinVA, UpDownMaxVA);

    Label16 = label("Label16", {120, 196, 90, 18});
    Label17 = label("Label17", {214, 196, 90, 18});
    Label19 = label("Label19", {12, 220, 104, 20});
    DBminCBER = PickList(this, "DBminCBER", kCberItems, {120, 218, 86, 24});
    DBmaxCBER = PickList(this, "DBmaxCBER", kCberItems, {214, 218, 86, 24});
    Label18 = label("Label18", {12, 250, 104, 20});
    DBminVBER = PickList(this, "DBminVBER", kBerItems, {120, 248, 86, 24});
    DBmaxVBER = PickList(this, "DBmaxVBER", kBerItems, {214, 248, 86, 24});
    Label32 = label("Label32", {12, 280, 104, 20});
    DBminLBER = PickList(this, "DBminLBER", kBerItems, {120, 278, 86, 24});
    DBmaxLBER = PickList(this, "DBmaxLBER", kBerItems, {214, 278, 86, 24});

    SendAlarm = Named(new QCheckBox(this), "SendAlarm");
    SendAlarm->setGeometry(320, 70, 136, 24);
    Insert = Named(new QPushButton(this), "Insert");
    Insert->setGeometry(320, 276, 124, 28);

    m_numeric = {{EditminLV, fields::kMinLV}, {EditmaxLV, fields::kMaxLV},   {EditminMER, fields::kMinMER},
                 {EditmaxMER, fields::kMaxMER}, {EditminCN, fields::kMinCN}, {EditmaxCN, fields::kMaxCN},
                 {EditminVA, fields::kMinVA}, {EditmaxVA, fields::kMaxVA}};
    m_lists = {{DBmaxCBER, fields::kMaxCBER}, {DBminCBER, fields::kMinCBER}, {DBmaxVBER, fields::kMaxVBER},
               {DBminVBER, fields::kMinVBER}, {DBmaxLBER, fields::kMaxLBER}, {DBminLBER, fields::kMinLBER}};

    // Only the user's picks count as changes; showing a field does not.
    connect(DBWarning, &QComboBox::activated, this, &TFormAlarms::DBWarningChange);
    connect(DBmaxCBER, &QComboBox::activated, this, &TFormAlarms::DBmaxCBERChange);
    connect(DBminCBER, &QComboBox::activated, this, &TFormAlarms::DBminCBERChange);
    connect(DBmaxVBER, &QComboBox::activated, this, &TFormAlarms::DBmaxVBERChange);
    connect(DBminVBER, &QComboBox::activated, this, &TFormAlarms::DBminVBERChange);
    connect(DBmaxLBER, &QComboBox::activated, this, &TFormAlarms::DBmaxLBERChange);
    connect(DBminLBER, &QComboBox::activated, this, &TFormAlarms::DBminLBERChange);
    connect(Insert, &QPushButton::clicked, this, &TFormAlarms::InsertClick);
    // Also when a test or a script ticks the box: the indicator never lies.
    connect(SendAlarm, &QCheckBox::toggled, this, &TFormAlarms::SendAlarmClick);
}

void TFormAlarms::BindAvailability()
{
    auto* bind = new AvailabilityBinding(m_workspace.availability, this);
    bind->Enable(DBWarning, Command::AlarmSwitch);
    // The thresholds follow both the run's lock and what the current test
    // point's standard measures; Insert moves the test point table's cursor,
    // so it waits while a run walks that table.
    bind->Rule([this](const Availability&) { ApplyThresholdState(); });
}

void TFormAlarms::ApplyThresholdState()
{
    const bool unlocked = m_workspace.availability.IsEnabled(Command::AlarmThresholds);
    const auto set = [&](ThresholdGroup group, std::initializer_list<QWidget*> controls) {
        for (QWidget* control : controls)
            control->setEnabled(unlocked && Offered(m_offer, group));
    };
    set(ThresholdGroup::Level, {EditminLV, EditmaxLV});
    set(ThresholdGroup::MER, {EditminMER, EditmaxMER});
    set(ThresholdGroup::CN, {EditminCN, EditmaxCN});
    set(ThresholdGroup::VA, {EditminVA, EditmaxVA});
    set(ThresholdGroup::CBER, {DBmaxCBER, DBminCBER});
    set(ThresholdGroup::VBER, {DBmaxVBER, DBminVBER});
    set(ThresholdGroup::LBER, {DBmaxLBER, DBminLBER});
    Insert->setEnabled(m_insertAllowed && !m_workspace.availability.RunInProgress());
}

void TFormAlarms::ApplyLanguage(Language language)
{
    ApplyCaptions(*this, kCaptions, language);
}

bool TFormAlarms::MailingOn() const
{
    return SendAlarm->isChecked();
}

bool TFormAlarms::HasTestPoint() const
{
    return m_table.IsOpen() && m_table.HasCurrentRow();
}

void TFormAlarms::ShowBoundFields()
{
    const auto show = [this](QComboBox* list, const char* field) {
        const QString name = Field(field);
        const bool bound = HasTestPoint() && m_table.HasField(name);
        list->setCurrentIndex(bound ? list->findText(m_table.Text(name)) : -1);
    };
    show(DBWarning, fields::kAlarm);
    for (const ListRow& row : m_lists)
        show(row.list, row.field);
}

void TFormAlarms::ManualAlarm1Click()
{
    show();
    raise();
}

void TFormAlarms::LoadAlarmWindow()
{
    const Availability& availability = m_workspace.availability;
    if (!HasTestPoint() || !availability.IsEnabled(Command::TestPointGrid) ||
        !availability.IsEnabled(Command::TestPointGridWindow) || !isVisible())
        return;
    m_table.Edit();
    if (m_table.Text(Field(fields::kAlarm)) == QLatin1String("ON"))
        EnableAlarmControls();
    else
        DisableAlarmControls();
    for (const NumericRow& row : m_numeric)
        row.edit->setText(m_table.Text(Field(row.field)));
    TextIndex->setText(m_table.Text(Field(fields::kIndex)));
    m_insertAllowed = true;
    ShowBoundFields();
    ApplyThresholdState();
}

void TFormAlarms::EnableAlarmControls()
{
    for (UpDown* arrows : {UpDownMinLV, UpDownMaxLV, UpDownMinMER, UpDownMaxMER, UpDownMinCN, UpDownMaxCN,
                           UpDownMinVA, UpDownMaxVA})
        arrows->show();
    if (HasTestPoint()) {
        const ThresholdSubject subject{m_table.Text(Field(fields::kType)), m_table.Text(Field(fields::kBand)),
                                       m_table.Text(Field(fields::kSystem)), m_table.Text(Field(fields::kPlan))};
        if (const std::optional<ThresholdOffer> offer = OfferedThresholds(subject))
            m_offer = *offer;
    }
    m_workspace.availability.Grant(Command::AlarmThresholds);
    ApplyThresholdState();
}

void TFormAlarms::DisableAlarmControls()
{
    m_workspace.availability.Revoke(Command::AlarmThresholds);
    ApplyThresholdState();
}

void TFormAlarms::DBWarningChange()
{
    // An empty set has no test point to switch.
    if (!HasTestPoint() || DBWarning->currentIndex() < 0) {
        ShowBoundFields();
        return;
    }
    // Picking the switch's own value again is no change: it must not wipe
    // the rates set since it was switched on.
    if (DBWarning->currentText() == m_table.Text(Field(fields::kAlarm)))
        return;
    m_table.Edit();
    if (DBWarning->currentText() == QLatin1String("ON")) {
        EnableAlarmControls();
        m_table.SetText(Field(fields::kAlarm), QStringLiteral("ON"));
        for (const ListRow& row : m_lists)
            m_table.SetText(Field(row.field), QStringLiteral("OFF"));
    } else {
        m_table.SetText(Field(fields::kAlarm), QStringLiteral("OFF"));
        DisableAlarmControls();
    }
    ThresholdsChanged();
    m_table.Refresh();
    m_table.Edit();
    ShowBoundFields();
}

void TFormAlarms::PostListPick(QComboBox* list, const char* field)
{
    if (list->currentIndex() < 0 || !HasTestPoint())
        return;
    m_table.Edit();
    m_table.SetText(Field(field), list->currentText());
    ThresholdsChanged();
    m_table.Refresh();
    m_table.Edit();
}

void TFormAlarms::DBmaxCBERChange() { PostListPick(DBmaxCBER, fields::kMaxCBER); }
void TFormAlarms::DBminCBERChange() { PostListPick(DBminCBER, fields::kMinCBER); }
void TFormAlarms::DBmaxVBERChange() { PostListPick(DBmaxVBER, fields::kMaxVBER); }
void TFormAlarms::DBminVBERChange() { PostListPick(DBminVBER, fields::kMinVBER); }
void TFormAlarms::DBmaxLBERChange() { PostListPick(DBmaxLBER, fields::kMaxLBER); }
void TFormAlarms::DBminLBERChange() { PostListPick(DBminLBER, fields::kMinLBER); }

void TFormAlarms::InsertClick()
{
    if (!HasTestPoint())
        return;
    m_table.Edit();
    // Every text is converted before any is written: a text that is no
    // number stops Insert with the engine's message and leaves the test point
    // as it was, not half written.
    std::vector<std::pair<QString, QVariant>> values;
    for (const NumericRow& row : m_numeric) {
        const QString name = Field(row.field);
        const FieldDef& def = m_table.Fields()[static_cast<size_t>(m_table.FieldIndex(name))];
        values.emplace_back(name, StoredFieldValue(def, QVariant(row.edit->text())));
    }
    for (const auto& [name, value] : values)
        m_table.SetValue(name, value);
    ThresholdsChanged();
    m_table.Refresh();
    m_table.Next();
    LoadAlarmWindow();
}

void TFormAlarms::ForgetTestPoint()
{
    // The edits hold copies of a test point of the table as it was: another
    // set (or the same one reopened by a run, on its first row) must not
    // receive them through Insert before a test point is chosen again.
    m_insertAllowed = false;
    TextIndex->clear();
    DisableAlarmControls();
}

void TFormAlarms::ThresholdsChanged()
{
    // The changes live in the working copy only: opening or creating another
    // set must offer to save them, as it does for the editor's changes.
    m_workspace.testPointSetModified = true;
}

void TFormAlarms::SendAlarmClick()
{
    if (showMailingIndicator)
        showMailingIndicator(SendAlarm->isChecked());
}
