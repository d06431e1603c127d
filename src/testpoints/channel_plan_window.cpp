// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/channel_plan_window.h"

#include "platform/captions_ui.h"
#include "platform/fields.h"
#include "platform/texts.h"
#include "platform/user_dialogs.h"
#include "testpoints/dataset.h"
#include "testpoints/dataset_model.h"
#include "testpoints/pick_list_ui.h"
#include "testpoints/table_layouts.h"
#include "testpoints/test_point_rules.h"
#include "workspace/workspace.h"

#include <QFontMetrics>
#include <QComboBox>
#include <QHeaderView>
#include <QBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>

#include <algorithm>

using namespace fields;

namespace {
constexpr CaptionRow kTerCaptions[] = {
    {"TTerChannelsForm", &texts::kTerChannelsTitle},
    {"AddAnalog", &texts::kAddAnalog},
    {"ButtonAddDVBC", &texts::kAddDVBC},
    {"ButtonAddDVBT", &texts::kAddDVBT},
    {"AddJ83", &texts::kAddJ83},
    {"Add8VSB", &texts::kAdd8VSB},
    {"AddDVBT2", &texts::kAddDVBT2},
    {"AddISDBT", &texts::kAddISDBT},
    {"AddDTMB", &texts::kAddDTMB},
    {"ButtonAddDAB", &texts::kAddDAB},
};

constexpr CaptionRow kSatCaptions[] = {
    {"TSatChannelsForm", &texts::kSatChannelsTitle},
    {"Button1", &texts::kAddSatChannel},
};

// The analogue system list fills itself each time it drops down.
class DropDownList final : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> dropDown;

    void showPopup() override
    {
        if (dropDown)
            dropDown();
        QComboBox::showPopup();
    }
};

constexpr int kButtonWidth = 130;
constexpr int kButtonHeight = 28;
}  // namespace

// ---- Both plan windows ------------------------------------------------------------

ChannelPlanWindow::ChannelPlanWindow(Workspace& workspace, Dataset& plan, TestPointEditing& editing,
                                     const char* name, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_plan(plan), m_editing(editing)
{
    setObjectName(QLatin1String(name));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new DatasetModel(plan, this);
    DBGrid1->setModel(m_model);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setWordWrap(false);
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 4);
    // The selection stays visible while the add buttons have the focus.
    QPalette palette = DBGrid1->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    DBGrid1->setPalette(palette);

    connect(m_model, &QAbstractItemModel::modelReset, this, &ChannelPlanWindow::ApplyColumnWidths);
    // The clicked row becomes the plan's current row, the one the adds read.
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && m_plan.IsOpen() && current.row() != m_model->CurrentRow())
                    m_plan.MoveTo(current.row());
            });
    connect(m_model, &DatasetModel::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            DBGrid1->selectRow(row);
    });
}

void ChannelPlanWindow::FitColumnTitles()
{
    // A column is at least as wide as its title, so no title is clipped.
    QFont font = DBGrid1->horizontalHeader()->font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    for (auto& [field, width] : m_columnWidths)
        width = std::max(width, metrics.horizontalAdvance(QLatin1String(field)) + 14);
}

int ChannelPlanWindow::GridWidth() const
{
    int width = 40;  // the row indicator and the scroll bar
    for (const auto& column : m_columnWidths)
        width += column.second;
    return width;
}

void ChannelPlanWindow::ApplyColumnWidths()
{
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const QString header = m_model->headerData(column, Qt::Horizontal).toString();
        bool shown = false;
        for (const auto& [field, width] : m_columnWidths) {
            if (header.compare(QLatin1String(field), Qt::CaseInsensitive) == 0) {
                // Wide enough for the values of the rows in view too.
                DBGrid1->setColumnWidth(column, std::max(width, static_cast<QAbstractItemView*>(DBGrid1)->sizeHintForColumn(column)));
                shown = true;
            }
        }
        // Only the plan's own columns are shown, in the order of the table.
        DBGrid1->setColumnHidden(column, !shown);
    }
    if (m_model->CurrentRow() >= 0)
        DBGrid1->selectRow(m_model->CurrentRow());
}

bool ChannelPlanWindow::ChoosePlan(const QString& folder)
{
    FileDialogRequest request = Workspace::TableDialog(folder, false, false);
    const QString file = m_workspace.dialogs.AskOpenFile(request);
    if (file.isEmpty())
        return false;
    if (m_plan.IsOpen())
        m_plan.Close();
    m_plan.SetTableName(file);
    m_plan.Open();
    return true;
}

bool ChannelPlanWindow::HasPlanRow() const
{
    return m_plan.IsOpen() && m_plan.HasCurrentRow();
}

// ---- Terrestrial --------------------------------------------------------------------

TTerChannelsForm::TTerChannelsForm(Workspace& workspace, Dataset& terTable, TestPointEditing& editing,
                                   QWidget* parent)
    : ChannelPlanWindow(workspace, terTable, editing, "TTerChannelsForm", parent)
{
    m_columnWidths = {{kCh, 57},         {kAnalogFreq, 77}, {kDigitalFreq, 86},
                      {kChannelSpacing, 94}, {kSystem, 67}, {kPlan, 78}};
    FitColumnTitles();
    const int gridWidth = GridWidth();
    // The buttons stand in a column beside the grid, which takes what the
    // window's width leaves.
    auto* panel = new QWidget(this);
    const int x = 0;
    int y = 0;
    const auto button = [panel, x, &y](const char* name) {
        auto* b = new QPushButton(panel);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->setGeometry(x, y, kButtonWidth, kButtonHeight);
        y += kButtonHeight + 6;
        return b;
    };
    auto* analog = new DropDownList(panel);
    analog->setObjectName(QStringLiteral("CBAddAnalog"));
    analog->dropDown = [this] { CBAddAnalogDropDown(); };
    DiscardKeyPresses(analog);
    CBAddAnalog = analog;
    CBAddAnalog->setGeometry(x, y, kButtonWidth, kButtonHeight);
    y += kButtonHeight + 4;
    AddAnalog = button("AddAnalog");
    y += 6;
    ButtonAddDVBC = button("ButtonAddDVBC");
    ButtonAddDVBT = button("ButtonAddDVBT");
    AddJ83 = button("AddJ83");
    Add8VSB = button("Add8VSB");
    AddDVBT2 = button("AddDVBT2");
    ButtonAddDAB = button("ButtonAddDAB");
    y += 6;
    Layer = new QComboBox(panel);
    Layer->setObjectName(QStringLiteral("Layer"));
    Layer->addItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    DiscardKeyPresses(Layer);
    Layer->setGeometry(x, y, kButtonWidth, kButtonHeight);
    y += kButtonHeight + 4;
    AddISDBT = button("AddISDBT");
    y += 6;
    AddDTMB = button("AddDTMB");
    panel->setFixedSize(kButtonWidth, y);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(panel, 0, Qt::AlignTop);
    setMinimumHeight(y + 16);
    resize(gridWidth + 60 + kButtonWidth + 24, std::max(y, 420) + 16);

    connect(AddAnalog, &QPushButton::clicked, this, &TTerChannelsForm::AddAnalogClick);
    connect(ButtonAddDVBC, &QPushButton::clicked, this, &TTerChannelsForm::ButtonAddDVBCClick);
    connect(ButtonAddDVBT, &QPushButton::clicked, this, &TTerChannelsForm::ButtonAddDVBTClick);
    connect(AddJ83, &QPushButton::clicked, this, &TTerChannelsForm::AddJ83Click);
    connect(Add8VSB, &QPushButton::clicked, this, &TTerChannelsForm::Add8VSBClick);
    connect(AddDVBT2, &QPushButton::clicked, this, &TTerChannelsForm::AddDVBT2Click);
    connect(ButtonAddDAB, &QPushButton::clicked, this, &TTerChannelsForm::ButtonAddDABClick);
    connect(AddISDBT, &QPushButton::clicked, this, &TTerChannelsForm::AddISDBTClick);
    connect(AddDTMB, &QPushButton::clicked, this, &TTerChannelsForm::AddDTMBClick);

    ApplyColumnWidths();
    ApplyLanguage(Language::English);
    connect(&workspace, &Workspace::languageChanged, this, &TTerChannelsForm::ApplyLanguage);
}

void TTerChannelsForm::ApplyLanguage(Language language)
{
    ApplyCaptions(*this, kTerCaptions, language);
    CBAddAnalog->setPlaceholderText(texts::kCBAddAnalog.In(language));
}

void TTerChannelsForm::OpenPlan()
{
    if (!ChoosePlan(DatabaseSubFolder(QString::fromUtf8(dbnames::kTerrestrial))))
        return;
    EnableButtonsForPlan();
}

void TTerChannelsForm::EnableButtonsForPlan()
{
    QPushButton* const standards[] = {ButtonAddDVBC, ButtonAddDVBT, AddJ83, Add8VSB, AddDVBT2, AddISDBT, AddDTMB};
    if (m_plan.HasCurrentRow() && m_plan.Text(QLatin1String(kPlan)) == QLatin1String("DAB")) {
        ButtonAddDAB->setEnabled(true);
        for (QPushButton* b : standards)
            b->setEnabled(false);
        AddAnalog->setEnabled(false);
        CBAddAnalog->setEnabled(false);
        Layer->setEnabled(false);
        return;
    }
    if (const auto allowed = PlanButtonsFor(m_workspace.modelCode)) {
        AddJ83->setEnabled(allowed->j83);
        Add8VSB->setEnabled(allowed->vsb8);
        ButtonAddDVBC->setEnabled(allowed->dvbc);
        ButtonAddDVBT->setEnabled(allowed->dvbth);
        AddDVBT2->setEnabled(allowed->dvbt2);
        AddISDBT->setEnabled(allowed->isdbt);
        Layer->setEnabled(allowed->isdbt);
        AddDTMB->setEnabled(allowed->dtmb);
    }
    ButtonAddDAB->setEnabled(false);
    CBAddAnalog->setEnabled(true);
    AddAnalog->setEnabled(true);
}

void TTerChannelsForm::CBAddAnalogDropDown()
{
    const QString chosen = CBAddAnalog->currentIndex() >= 0 ? CBAddAnalog->currentText() : QString();
    const QStringList systems = tprules::PlanAnalogSystems(m_workspace.modelCode);
    CBAddAnalog->clear();
    CBAddAnalog->addItems(systems);
    CBAddAnalog->setCurrentIndex(systems.indexOf(chosen));
}

void TTerChannelsForm::Add(PlanStandard standard)
{
    if (!HasPlanRow())
        return;
    m_editing.AddTerrestrialChannel(m_plan, standard, CBAddAnalog->currentText(), Layer->currentText());
}

void TTerChannelsForm::AddAnalogClick()
{
    if (CBAddAnalog->currentIndex() < 0) {
        ShowText(m_workspace.dialogs, m_workspace.settings, texts::kSelectTheSystem);
        return;
    }
    Add(PlanStandard::Analog);
}

void TTerChannelsForm::ButtonAddDVBCClick() { Add(PlanStandard::DvbC); }
void TTerChannelsForm::ButtonAddDVBTClick() { Add(PlanStandard::DvbTH); }
void TTerChannelsForm::AddJ83Click() { Add(PlanStandard::J83); }
void TTerChannelsForm::Add8VSBClick() { Add(PlanStandard::Vsb8); }
void TTerChannelsForm::AddDVBT2Click() { Add(PlanStandard::DvbT2); }
void TTerChannelsForm::ButtonAddDABClick() { Add(PlanStandard::Dab); }
void TTerChannelsForm::AddISDBTClick() { Add(PlanStandard::IsdbT); }
void TTerChannelsForm::AddDTMBClick() { Add(PlanStandard::Dtmb); }

void TTerChannelsForm::done(int result)
{
    // The close box and Escape both end here.
    if (m_plan.IsOpen())
        m_plan.Close();
    QDialog::done(result);
}

// ---- Satellite ----------------------------------------------------------------------

TSatChannelsForm::TSatChannelsForm(Workspace& workspace, Dataset& satTable, TestPointEditing& editing,
                                   QWidget* parent)
    : ChannelPlanWindow(workspace, satTable, editing, "TSatChannelsForm", parent)
{
    m_columnWidths = {{kId, 31},       {kCh, 36},         {kFreqLNB, 52},        {kFreq, 44},  {kPolarity, 42},
                      {kLnb, 46},      {kChannelSpacing, 82}, {kModulation, 58}, {kType, 46},  {kSymbolRate, 56},
                      {kCodeRate, 48}, {kSatellite, 95},  {kInvspec, 42},        {kTypeBanda, 62}};
    FitColumnTitles();
    const int gridWidth = GridWidth();
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button1->setFixedSize(kButtonWidth, kButtonHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(Button1, 0, Qt::AlignRight);
    // Room for values wider than the design's columns.
    resize(gridWidth + 16 + 100, 420 + kButtonHeight + 24);
    connect(Button1, &QPushButton::clicked, this, &TSatChannelsForm::Button1Click);

    ApplyColumnWidths();
    ApplyLanguage(Language::English);
    connect(&workspace, &Workspace::languageChanged, this, &TSatChannelsForm::ApplyLanguage);
}

void TSatChannelsForm::ApplyLanguage(Language language)
{
    ApplyCaptions(*this, kSatCaptions, language);
}

void TSatChannelsForm::OpenPlan()
{
    ChoosePlan(DatabaseSubFolder(QString::fromUtf8(dbnames::kSatellite)));
}

void TSatChannelsForm::Button1Click()
{
    if (HasPlanRow())
        m_editing.AddSatelliteChannel(m_plan);
}
