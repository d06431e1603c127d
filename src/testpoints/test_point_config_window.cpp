// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/test_point_config_window.h"

#include "platform/captions_ui.h"
#include "platform/fields.h"
#include "platform/settings.h"
#include "platform/texts.h"
#include "platform/user_dialogs.h"
#include "testpoints/dataset.h"
#include "testpoints/pick_list_ui.h"
#include "workspace/availability_binding_ui.h"
#include "workspace/workspace.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

using namespace fields;

namespace {
constexpr CaptionRow kCaptions[] = {
    {"TTPointConf", &texts::kTPointConfTitle},
    {"Edit", &texts::kEditorEdit},
    {"Insert", &texts::kEditorInsert},
    {"Label7", &texts::kEditorChannel},
    {"Label1", &texts::kEditorFreq},
    {"Label3", &texts::kEditorCodeRate},
    {"Label30", &texts::kEditorSymbolRate},
    {"Label6", &texts::kEditorBand},
    {"Label2", &texts::kEditorType},
    {"Label24", &texts::kEditorSystem},
    {"LSelectAnalogBW", &texts::kEditorBW},
    {"Label9", &texts::kEditorGuard},
    {"Label4", &texts::kEditorModulation},
    {"Label31", &texts::kEditorCarriers},
    {"Label34", &texts::kEditorInvSpect},
    {"Label27", &texts::kEditorLNB},
    {"Label5", &texts::kEditorLayer},
};

QStringList List(std::initializer_list<const char*> items)
{
    QStringList list;
    for (const char* item : items)
        list.append(QLatin1String(item));
    return list;
}

// Only the characters of `pattern` get in, typed or pasted.
void AcceptOnly(QLineEdit* edit, const char* pattern, int maxLength)
{
    edit->setMaxLength(maxLength);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QLatin1String(pattern)), edit));
}

constexpr int kLabelWidth = 90;
constexpr int kFieldWidth = 120;
constexpr int kRowHeight = 32;
constexpr int kColumnWidth = kLabelWidth + kFieldWidth + 24;
}  // namespace

TTPointConf::TTPointConf(Workspace& workspace, QWidget* parent) : QDialog(parent), m_workspace(workspace)
{
    setObjectName(QStringLiteral("TTPointConf"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(false);

    // Two columns of label and control.
    int row[2] = {0, 0};
    const auto place = [this, &row](int column, QLabel*& label, const char* labelName, QWidget* field) {
        const int x = 16 + column * kColumnWidth;
        const int y = 16 + row[column]++ * kRowHeight;
        label = new QLabel(this);
        label->setObjectName(QLatin1String(labelName));
        label->setGeometry(x, y, kLabelWidth, 24);
        field->setGeometry(x + kLabelWidth, y, kFieldWidth, 24);
    };
    const auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        return e;
    };

    EditName = edit("EditName");
    EditName->setMaxLength(8);
    EditFreq = edit("EditFreq");
    AcceptOnly(EditFreq, "[0-9.]*", 6);
    EditSRate = edit("EditSRate");
    AcceptOnly(EditSRate, "[0-9]*", 5);
    SelBand = MakePickList(this, "SelBand", List({"TER", "SAT"}), false);
    SelType = MakePickList(this, "SelType", {}, false);
    SelSystem = MakePickList(this, "SelSystem", {}, false);
    SelBW = MakePickList(this, "SelBW", List({"6", "7", "8"}), true);
    AcceptOnly(SelBW->lineEdit(), "[0-9.]*", 4);
    SelModulation = MakePickList(this, "SelModulation", {}, false);
    SelCarrier = MakePickList(this, "SelCarrier", List({"8K", "2K", "4K"}), false);
    SelCodeRate = MakePickList(this, "SelCodeRate", {}, false);
    SelInvSpec = MakePickList(this, "SelInvSpec", List({"ON", "OFF"}), false);
    SelGuarda = MakePickList(this, "SelGuarda", List({"1/4", "1/8", "1/16", "1/32"}), false);
    SelLNB = MakePickList(this, "SelLNB", List({"External", "13v", "18v", "13v22khz", "18v22khz"}), false);
    SelLayer = MakePickList(this, "SelLayer", List({"A", "B", "C"}), false);

    place(0, Label7, "Label7", EditName);
    place(0, Label1, "Label1", EditFreq);
    place(0, Label6, "Label6", SelBand);
    place(0, Label2, "Label2", SelType);
    place(0, Label24, "Label24", SelSystem);
    place(0, LSelectAnalogBW, "LSelectAnalogBW", SelBW);
    place(0, Label5, "Label5", SelLayer);
    place(1, Label30, "Label30", EditSRate);
    place(1, Label4, "Label4", SelModulation);
    place(1, Label3, "Label3", SelCodeRate);
    place(1, Label31, "Label31", SelCarrier);
    place(1, Label9, "Label9", SelGuarda);
    place(1, Label34, "Label34", SelInvSpec);
    place(1, Label27, "Label27", SelLNB);

    const int buttonsTop = 16 + 7 * kRowHeight + 12;
    Edit = new QPushButton(this);
    Edit->setObjectName(QStringLiteral("Edit"));
    Edit->setGeometry(16 + kColumnWidth - 8 - 110, buttonsTop, 110, 30);
    Insert = new QPushButton(this);
    Insert->setObjectName(QStringLiteral("Insert"));
    Insert->setGeometry(16 + kColumnWidth + 8, buttonsTop, 110, 30);
    Edit->setAutoDefault(false);
    Insert->setAutoDefault(false);
    setFixedSize(16 + 2 * kColumnWidth, buttonsTop + 30 + 16);

    connect(Edit, &QPushButton::clicked, this, &TTPointConf::EditClick);
    connect(Insert, &QPushButton::clicked, this, &TTPointConf::InsertClick);
    connect(SelType, &QComboBox::activated, this, &TTPointConf::SelTypeChange);
    connect(SelBand, &QComboBox::activated, this, &TTPointConf::SelBandChange);
    connect(SelModulation, &QComboBox::activated, this, &TTPointConf::SelModulationChange);
    connect(EditSRate, &QLineEdit::textChanged, this, &TTPointConf::EditSRateChange);

    // Edit and Insert start disabled: the availability model holds them
    // until a set is opened or a row added, and until the first "Edit".
    auto* binding = new AvailabilityBinding(workspace.availability, this);
    binding->Enable(Edit, Command::EditorEdit);
    binding->Enable(Insert, Command::EditorInsert);
    binding->Rule([this](const Availability& availability) {
        LockFields(!availability.IsEnabled(Command::EditorFields));
    });

    ApplyLanguage(Language::English);
    connect(&workspace, &Workspace::languageChanged, this, &TTPointConf::ApplyLanguage);
}

void TTPointConf::ApplyLanguage(Language language)
{
    ApplyCaptions(*this, kCaptions, language);
}

void TTPointConf::TPointConfig1Click()
{
    if (!isVisible())
        CentreOnDesktop(this);
    show();
    raise();
    activateWindow();
}

QWidget* TTPointConf::ControlOf(tprules::Control control) const
{
    using tprules::Control;
    switch (control) {
    case Control::SymbolRate: return EditSRate;
    case Control::System: return SelSystem;
    case Control::Modulation: return SelModulation;
    case Control::Carrier: return SelCarrier;
    case Control::Bandwidth: return SelBW;
    case Control::CodeRate: return SelCodeRate;
    case Control::InvSpectral: return SelInvSpec;
    case Control::GuardInterval: return SelGuarda;
    case Control::Lnb: return SelLNB;
    case Control::Layer: return SelLayer;
    }
    return nullptr;
}

namespace {
void SetControlText(QWidget* control, const QString& text)
{
    if (auto* list = qobject_cast<QComboBox*>(control))
        SetListText(list, text);
    else if (auto* line = qobject_cast<QLineEdit*>(control))
        line->setText(text);
}
}  // namespace

void TTPointConf::SetFieldEnabled(QWidget* field, bool enabled)
{
    if (m_fieldsLocked && m_enabledUnderLock.count(field))
        m_enabledUnderLock[field] = enabled;
    else
        field->setEnabled(enabled);
}

void TTPointConf::LockFields(bool locked)
{
    if (locked == m_fieldsLocked)
        return;
    // The fields a run locks: every value control but the name and the layer.
    QWidget* const lockable[] = {EditFreq,    EditSRate,   SelBand,  SelSystem,   SelModulation, SelCarrier,
                                 SelBW,       SelType,     SelCodeRate, SelInvSpec, SelLNB,       SelGuarda};
    if (locked) {
        m_enabledUnderLock.clear();
        for (QWidget* field : lockable) {
            m_enabledUnderLock[field] = field->isEnabled();
            field->setEnabled(false);
        }
    } else {
        // Each control comes back as the set-up of the type shown left it.
        for (const auto& [field, enabled] : m_enabledUnderLock)
            field->setEnabled(enabled);
        m_enabledUnderLock.clear();
    }
    m_fieldsLocked = locked;
}

void TTPointConf::ApplySetup(const std::optional<tprules::TypeSetup>& setup)
{
    if (!setup)
        return;
    for (tprules::Control control : tprules::kControls) {
        const tprules::ControlSetup& c = setup->Of(control);
        QWidget* field = ControlOf(control);
        SetFieldEnabled(field, c.enabled);
        if (c.emptied)
            SetControlText(field, QString());
        else if (c.value)
            SetControlText(field, QLatin1String(c.value));
    }
    if (setup->emptyType) {
        SetFieldEnabled(SelType, false);
        SetFieldEnabled(SelBand, true);
    }
}

void TTPointConf::RebuildTypeList()
{
    // The type shown stays, also one this analyser does not offer: a stored
    // test point keeps its type until the user picks another.
    SetListItems(SelType, tprules::TypeList(SelBand->currentText(), m_workspace.modelCode), true);
}

void TTPointConf::RebuildModulationList()
{
    SetListItems(SelModulation, tprules::ModulationList(SelType->currentText()), false);
}

void TTPointConf::RebuildCodeRateList()
{
    SetListItems(SelCodeRate, tprules::CodeRateList(SelType->currentText(), SelModulation->currentText()), false);
}

void TTPointConf::EditClick()
{
    const Dataset& table = m_workspace.AcquiredTable;
    const auto field = [&table](const char* name) { return table.Text(QLatin1String(name)); };
    const QString type = field(kType);

    EditName->setText(field(kCh));
    EditFreq->setText(field(kFreq));
    EditSRate->setText(field(kSymbolRate));
    SetListText(SelSystem, field(kSystem));
    SetListText(SelType, type);
    RebuildModulationList();
    SetListText(SelBW, field(kBw));
    SetListText(SelModulation, field(kModulation));
    RebuildCodeRateList();
    if (type == QLatin1String("ISDB-T"))
        SetListText(SelLayer, field(kLayer));
    ApplySetup(tprules::SetupOfType(type, field(kBand)));
    // The row's own values replace what the set-up put there.
    SetListText(SelCarrier, field(kCarrier));
    SetListText(SelCodeRate, field(kCodeRate));
    SetListText(SelInvSpec, field(kInvSpectral));
    SetListText(SelLNB, field(kLnb));
    SetListText(SelBand, field(kBand));
    SetListText(SelGuarda, field(kGInterval));
    RebuildTypeList();
    // A run keeps "Insert" away until it ends, also from a row loaded meanwhile.
    if (!m_workspace.availability.RunInProgress())
        m_workspace.availability.Grant(Command::EditorInsert);
}

void TTPointConf::SelTypeChange()
{
    const QString type = SelType->currentText();
    const QString band = SelBand->currentText();
    ApplySetup(tprules::SetupOfType(type, band));
    if (type == QLatin1String("DVB-S") || type == QLatin1String("DVB-S2") || type == QLatin1String("DSS"))
        RebuildCodeRateList();
    if (type == QLatin1String("Analog") && band == QLatin1String("TER")) {
        if (const auto systems = tprules::SystemList(m_workspace.modelCode))
            SetListItems(SelSystem, *systems, false);
    }
    RebuildModulationList();
}

void TTPointConf::SelBandChange()
{
    SetFieldEnabled(EditSRate, false);
    EditFreq->clear();
    for (QWidget* field : {static_cast<QWidget*>(SelSystem), static_cast<QWidget*>(SelModulation),
                           static_cast<QWidget*>(SelCarrier), static_cast<QWidget*>(SelBW)})
        SetFieldEnabled(field, false);
    SetFieldEnabled(SelType, true);
    SetListText(SelType, QString());
    for (QWidget* field : {static_cast<QWidget*>(SelCodeRate), static_cast<QWidget*>(SelInvSpec),
                           static_cast<QWidget*>(SelGuarda), static_cast<QWidget*>(SelLNB),
                           static_cast<QWidget*>(SelLayer)})
        SetFieldEnabled(field, false);
    RebuildTypeList();
}

void TTPointConf::SelModulationChange()
{
    const QString type = SelType->currentText();
    const QString modulation = SelModulation->currentText();
    if (type == QLatin1String("DVB-S2")) {
        SetListText(SelCodeRate, QString());
        RebuildCodeRateList();
    } else if (type == QLatin1String("J-83")) {
        // The J-83 annex B symbol rates.
        if (modulation == QLatin1String("64QAM"))
            EditSRate->setText(QStringLiteral("5057"));
        else if (modulation == QLatin1String("256QAM"))
            EditSRate->setText(QStringLiteral("5361"));
    }
}

void TTPointConf::EditSRateChange()
{
    Dataset& table = m_workspace.AcquiredTable;
    if (!table.IsOpen())
        return;
    table.Refresh();
    if (table.HasCurrentRow())
        table.Edit();
}

tprules::EditorValues TTPointConf::Values() const
{
    tprules::EditorValues v;
    v.freq = EditFreq->text();
    v.symbolRate = EditSRate->text();
    v.band = SelBand->currentText();
    v.type = SelType->currentText();
    v.bandwidth = SelBW->currentText();
    v.modulation = SelModulation->currentText();
    v.carrier = SelCarrier->currentText();
    v.codeRate = SelCodeRate->currentText();
    v.invSpectral = SelInvSpec->currentText();
    v.guardInterval = SelGuarda->currentText();
    v.lnb = SelLNB->currentText();
    v.system = SelSystem->currentText();
    return v;
}

bool TTPointConf::ValidateTestPoint()
{
    const tprules::Validation result = tprules::ValidateTestPoint(Values());
    if (!result.pass) {
        if (!result.message.isEmpty())
            m_workspace.dialogs.ShowMessage(result.message);
        return false;
    }
    if (!result.occupiedBandwidth.isEmpty())
        SetListText(SelBW, result.occupiedBandwidth);
    return true;
}

void TTPointConf::InsertClick()
{
    if (!ValidateTestPoint())
        return;
    Dataset& table = m_workspace.AcquiredTable;
    table.Edit();
    m_workspace.testPointSetModified = true;
    const std::pair<const char*, QString> writes[] = {
        {kCh, EditName->text()},
        {kFreq, EditFreq->text()},
        {kSymbolRate, EditSRate->text()},
        {kSystem, SelSystem->currentText()},
        {kType, SelType->currentText()},
        {kBw, SelBW->currentText()},
        {kModulation, SelModulation->currentText()},
        {kCarrier, SelCarrier->currentText()},
        {kCodeRate, SelCodeRate->currentText()},
        {kInvSpectral, SelInvSpec->currentText()},
        {kLnb, SelLNB->currentText()},
        {kGInterval, SelGuarda->currentText()},
        {kBand, SelBand->currentText()},
        {kPlan, QString()},
        {kLayer, SelLayer->currentText()},
    };
    for (const auto& [name, text] : writes)
        table.SetText(QLatin1String(name), text);
    tprules::WriteNoAlarm(table);
    table.Refresh();
    table.Edit();
    // The reports that rest on the test points no longer match the acquisitions.
    m_workspace.availability.Revoke(Command::ReportByTestPoint);
    m_workspace.availability.Revoke(Command::ReportMinMaxAvg);
}
