// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/tp_edition_window.h"

#include "platform/captions_ui.h"
#include "platform/texts.h"
#include "testpoints/channel_plan_window.h"
#include "testpoints/data_module.h"
#include "testpoints/pick_list_ui.h"
#include "workspace/workspace.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr CaptionRow kCaptions[] = {
    {"TTP_Edition", &texts::kTPEditionTitle},
    {"Label1", &texts::kTPEditionLabel1},
    {"Label2", &texts::kTPEditionLabel2},
    // The first six captions wrap inside their buttons.
    {"AddTERCH", &texts::kAddTERCH, CaptionPart::WrappedText},
    {"AddSATCH", &texts::kAddSATCH, CaptionPart::WrappedText},
    {"AddBLANKTP", &texts::kAddBLANKTP, CaptionPart::WrappedText},
    {"InsertBLANKTP", &texts::kInsertBLANKTP, CaptionPart::WrappedText},
    {"DelONETP", &texts::kDelONETP, CaptionPart::WrappedText},
    {"DelALLTP", &texts::kDelALLTP, CaptionPart::WrappedText},
    {"CopyTP", &texts::kCopyTP},
    {"CutTP", &texts::kCutTP},
    {"PasteTP", &texts::kPasteTP},
};

constexpr int kMargin = 12;
constexpr int kBigButton = 96;   // width and height of the wrapped buttons' faces: 96 x 52
constexpr int kBigHeight = 52;
constexpr int kGap = 8;
constexpr int kTitleHeight = 22;
}  // namespace

TTP_Edition::TTP_Edition(Workspace& workspace, TDataModule1& dataModule, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_editing(workspace)
{
    setObjectName(QStringLiteral("TTP_Edition"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(false);

    const auto button = [this](QWidget* frame, const char* name, int x, int y, int w, int h) {
        auto* b = new QPushButton(frame);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->setGeometry(x, y, w, h);
        return b;
    };
    const auto group = [this](const char* labelName, QLabel*& label, int x, int width, int height) {
        label = new QLabel(this);
        label->setObjectName(QLatin1String(labelName));
        label->setGeometry(x, kMargin, width, kTitleHeight);
        auto* frame = new QFrame(this);
        frame->setFrameShape(QFrame::StyledPanel);
        frame->setGeometry(x, kMargin + kTitleHeight, width, height);
        return frame;
    };

    const int innerHeight = kGap + kBigHeight + kGap + 30 + kGap;
    const int channelWidth = kGap + 2 * (kBigButton + kGap);
    QFrame* channel = group("Label1", Label1, kMargin, channelWidth, innerHeight);
    // The two channel buttons fill their group's height.
    const int channelHeight = innerHeight - 2 * kGap;
    AddTERCH = button(channel, "AddTERCH", kGap, kGap, kBigButton, channelHeight);
    AddSATCH = button(channel, "AddSATCH", kGap + kBigButton + kGap, kGap, kBigButton, channelHeight);

    const int pointWidth = kGap + 4 * (kBigButton + kGap);
    const int pointX = kMargin + channelWidth + kMargin;
    QFrame* point = group("Label2", Label2, pointX, pointWidth, innerHeight);
    const int step = kBigButton + kGap;
    AddBLANKTP = button(point, "AddBLANKTP", kGap, kGap, kBigButton, kBigHeight);
    InsertBLANKTP = button(point, "InsertBLANKTP", kGap + step, kGap, kBigButton, kBigHeight);
    DelONETP = button(point, "DelONETP", kGap + 2 * step, kGap, kBigButton, kBigHeight);
    DelALLTP = button(point, "DelALLTP", kGap + 3 * step, kGap, kBigButton, kBigHeight);
    const int lowRow = kGap + kBigHeight + kGap;
    CopyTP = button(point, "CopyTP", kGap, lowRow, kBigButton, 30);
    CutTP = button(point, "CutTP", kGap + step, lowRow, kBigButton, 30);
    PasteTP = button(point, "PasteTP", kGap + 2 * step, lowRow, kBigButton, 30);
    setFixedSize(pointX + pointWidth + kMargin, kMargin + kTitleHeight + innerHeight + kMargin);

    connect(AddTERCH, &QPushButton::clicked, this, &TTP_Edition::AddTERCHClick);
    connect(AddSATCH, &QPushButton::clicked, this, &TTP_Edition::AddSATCHClick);
    connect(AddBLANKTP, &QPushButton::clicked, this, &TTP_Edition::AddBLANKTPClick);
    connect(InsertBLANKTP, &QPushButton::clicked, this, &TTP_Edition::InsertBLANKTPClick);
    connect(DelONETP, &QPushButton::clicked, this, &TTP_Edition::DelONETPClick);
    connect(DelALLTP, &QPushButton::clicked, this, &TTP_Edition::DelALLTPClick);
    connect(CopyTP, &QPushButton::clicked, this, &TTP_Edition::CopyTPClick);
    connect(CutTP, &QPushButton::clicked, this, &TTP_Edition::CutTPClick);
    connect(PasteTP, &QPushButton::clicked, this, &TTP_Edition::PasteTPClick);

    TerChannelsForm = std::make_unique<TTerChannelsForm>(workspace, dataModule.TerTable, m_editing, parent);
    SatChannelsForm = std::make_unique<TSatChannelsForm>(workspace, dataModule.SatTable, m_editing, parent);

    ApplyLanguage(Language::English);
    connect(&workspace, &Workspace::languageChanged, this, &TTP_Edition::ApplyLanguage);
}

TTP_Edition::~TTP_Edition() = default;

void TTP_Edition::ApplyLanguage(Language language)
{
    ApplyCaptions(*this, kCaptions, language);
}

void TTP_Edition::EditTPTableClick()
{
    if (!isVisible())
        CentreOnDesktop(this);
    show();
    raise();
    activateWindow();
}

void TTP_Edition::BeginPlan()
{
    m_workspace.testPointSetModified = true;
    if (!m_workspace.availability.RunInProgress())
        m_workspace.availability.Grant(Command::TestPointEditor);
}

void TTP_Edition::AddTERCHClick()
{
    BeginPlan();
    if (!TerChannelsForm->isVisible())
        CentreOnDesktop(TerChannelsForm.get());
    TerChannelsForm->show();
    TerChannelsForm->raise();
    TerChannelsForm->OpenPlan();
}

void TTP_Edition::AddSATCHClick()
{
    BeginPlan();
    if (!SatChannelsForm->isVisible())
        CentreOnDesktop(SatChannelsForm.get());
    SatChannelsForm->show();
    SatChannelsForm->raise();
    SatChannelsForm->OpenPlan();
}

void TTP_Edition::AddBLANKTPClick() { m_editing.AddBlank(); }
void TTP_Edition::InsertBLANKTPClick() { m_editing.InsertBlank(); }
void TTP_Edition::DelONETPClick() { m_editing.DeleteOne(); }
void TTP_Edition::DelALLTPClick() { m_editing.DeleteAll(); }
void TTP_Edition::CopyTPClick() { m_editing.Copy(); }
void TTP_Edition::CutTPClick() { m_editing.Cut(); }
void TTP_Edition::PasteTPClick() { m_editing.Paste(); }
