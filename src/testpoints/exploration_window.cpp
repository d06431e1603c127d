// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/exploration_window.h"

#include "platform/captions_ui.h"
#include "platform/digit_edit_ui.h"
#include "platform/event_pump.h"
#include "platform/settings.h"
#include "platform/texts.h"
#include "platform/user_dialogs.h"
#include "testpoints/exploration_import.h"
#include "workspace/availability_binding_ui.h"
#include "workspace/workspace.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {
constexpr CaptionRow kCaptions[] = {
    {"TRepCanals", &texts::kRepCanalsTitle},
    {"AskChan", &texts::kAskChan},
    {"Label54", &texts::kLabel54Wait},
    {"Label50", &texts::kLabel50ChannelsList},
    {"Label47", &texts::kLabel47LowOsc},
    {"Label48", &texts::kLabel48HighOsc},
    {"ReceiveCha", &texts::kReceiveCha},
    {"ChannelsCANCEL", &texts::kChannelsCANCEL},
};

template <typename T>
T* Named(T* object, const char* name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

// The countdown is only shown: typed keys are thrown away.
class DiscardKeys final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

// Sets a flag for the life of a scope, also when an error leaves it.
class BusyScope {
public:
    BusyScope(bool& busy, Availability& availability) : m_busy(busy), m_availability(availability)
    {
        m_busy = true;
        m_availability.ExplorationTransferBegun();
    }
    ~BusyScope()
    {
        m_busy = false;
        m_availability.ExplorationTransferEnded();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_busy;
    Availability& m_availability;
};
}  // namespace

TRepCanals::TRepCanals(Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_lastLowOsc(QString::fromLatin1(kDefaultLowOscillator)),
      m_lastHighOsc(QString::fromLatin1(kDefaultHighOscillator))
{
    setObjectName(QStringLiteral("TRepCanals"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    setFixedSize(400, 312);

    const auto step = [this](const char* name, const char* number, int y) {
        auto* label = Named(new QLabel(QString::fromLatin1(number), this), name);
        QFont bold = label->font();
        bold.setBold(true);
        bold.setPointSize(bold.pointSize() + 2);
        label->setFont(bold);
        label->setGeometry(10, y, 24, 24);
        return label;
    };
    Label1 = step("Label1", "1.", 18);
    Label2 = step("Label2", "2.", 66);
    Label3 = step("Label3", "3.", 102);
    Label4 = step("Label4", "4.", 196);
    Label5 = step("Label5", "5.", 234);
    Label6 = step("Label6", "6.", 272);

    SelTERSAT = Named(new QGroupBox(this), "SelTERSAT");
    SelTERSAT->setGeometry(40, 6, 190, 46);
    SelTERSATTer = Named(new QRadioButton(QStringLiteral("TER"), SelTERSAT), "SelTERSATTer");
    SelTERSATTer->setGeometry(14, 14, 70, 24);
    SelTERSATSat = Named(new QRadioButton(QStringLiteral("SAT"), SelTERSAT), "SelTERSATSat");
    SelTERSATSat->setGeometry(100, 14, 70, 24);
    auto* bandGroup = new QButtonGroup(SelTERSAT);
    bandGroup->setObjectName(QStringLiteral("SelTERSATItems"));
    bandGroup->addButton(SelTERSATTer, 0);
    bandGroup->addButton(SelTERSATSat, 1);

    AskChan = Named(new QPushButton(this), "AskChan");
    AskChan->setGeometry(40, 62, 190, 30);

    Label54 = Named(new QLabel(this), "Label54");
    Label54->setGeometry(40, 102, 100, 24);
    waitChannels = Named(new QLineEdit(this), "waitChannels");
    waitChannels->setGeometry(146, 102, 50, 24);
    waitChannels->setReadOnly(true);
    waitChannels->setFocusPolicy(Qt::NoFocus);
    waitChannels->installEventFilter(new DiscardKeys(waitChannels));

    Label50 = Named(new QLabel(this), "Label50");
    Label50->setGeometry(40, 132, 250, 20);
    ChannelsList = Named(new QComboBox(this), "ChannelsList");
    ChannelsList->setGeometry(40, 154, 250, 26);

    Label47 = Named(new QLabel(this), "Label47");
    Label47->setGeometry(40, 196, 76, 24);
    LowOsc = Named(new QLineEdit(m_lastLowOsc, this), "LowOsc");
    LowOsc->setGeometry(118, 196, 64, 24);
    Label48 = Named(new QLabel(this), "Label48");
    Label48->setGeometry(196, 196, 84, 24);
    HighOsc = Named(new QLineEdit(m_lastHighOsc, this), "HighOsc");
    HighOsc->setGeometry(282, 196, 64, 24);
    DigitEdit::Install(LowOsc, kOscillatorDigits, [this] { LowOscExit(); }, true);
    DigitEdit::Install(HighOsc, kOscillatorDigits, [this] { HighOscExit(); }, true);

    ReceiveCha = Named(new QPushButton(this), "ReceiveCha");
    ReceiveCha->setGeometry(40, 230, 190, 30);
    ChannelsCANCEL = Named(new QPushButton(this), "ChannelsCANCEL");
    ChannelsCANCEL->setGeometry(40, 268, 190, 30);

    m_controls = {AskChan, ChannelsList, ReceiveCha, ChannelsCANCEL, LowOsc, HighOsc};

    connect(SelTERSATTer, &QRadioButton::clicked, this, &TRepCanals::SelTERSATClick);
    connect(SelTERSATSat, &QRadioButton::clicked, this, &TRepCanals::SelTERSATClick);
    connect(AskChan, &QPushButton::clicked, this, &TRepCanals::AskChanClick);
    connect(ChannelsList, &QComboBox::activated, this, &TRepCanals::ChannelsListSelect);
    connect(ReceiveCha, &QPushButton::clicked, this, &TRepCanals::ReceiveChaClick);
    connect(ChannelsCANCEL, &QPushButton::clicked, this, &TRepCanals::ChannelsCANCELClick);

    m_transferAllowed = m_workspace.availability.IsEnabled(Command::ExplorationTransfer);
    auto* binding = new AvailabilityBinding(m_workspace.availability, this);
    binding->Rule([this](const Availability&) { FollowAvailability(); });

    ApplyLanguage(Language::English);
    connect(&m_workspace, &Workspace::languageChanged, this, &TRepCanals::ApplyLanguage);
}

void TRepCanals::ApplyLanguage(Language language)
{
    ApplyCaptions(*this, kCaptions, language);
}

void TRepCanals::OpenAddChFromExploration1Click()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

// ---- Which control is available ------------------------------------------------------

void TRepCanals::Offer(Control control, bool offered)
{
    m_offered[control] = offered;
    // The window offers a transfer control again (a band chosen after a run):
    // the model's lock is the window's to lift.
    if (offered)
        m_workspace.availability.Grant(Command::ExplorationTransfer);
    ShowEnabled();
}

void TRepCanals::OfferBand(bool offered)
{
    if (offered)
        m_workspace.availability.Grant(Command::ExplorationBand);
    else
        m_workspace.availability.Revoke(Command::ExplorationBand);
}

// The port search, the run and a failed identification take the transfer
// controls away; they stay away until the window's own steps offer them.
void TRepCanals::FollowAvailability()
{
    const Availability& availability = m_workspace.availability;
    const bool allowed = availability.IsEnabled(Command::ExplorationTransfer);
    if (m_transferAllowed && !allowed) {
        m_offered.fill(false);
        if (availability.RunInProgress())
            ChannelsList->clear();
    }
    m_transferAllowed = allowed;
    ShowEnabled();
}

void TRepCanals::ShowEnabled()
{
    const Availability& availability = m_workspace.availability;
    // A port search is the link's one user while it lasts.
    const bool linkFree = !availability.PortSearchInProgress();
    SelTERSAT->setEnabled(linkFree && availability.IsEnabled(Command::ExplorationBand));
    const bool transfer = linkFree && availability.IsEnabled(Command::ExplorationTransfer);
    for (int i = 0; i < kControls; ++i)
        m_controls[i]->setEnabled(transfer && m_offered[i]);
}

TerSat TRepCanals::ChosenBand() const
{
    return SelTERSATSat->isChecked() ? TerSat::Sat : TerSat::Ter;
}

void TRepCanals::Show(const Text& text, const QString& argument1, const QString& argument2)
{
    std::optional<QString> shown = Pick(m_workspace.settings, text);
    if (!shown)
        return;
    if (!argument1.isNull())
        *shown = shown->arg(argument1, argument2);
    m_workspace.dialogs.ShowMessage(*shown);
}

// ---- The steps ---------------------------------------------------------------------

void TRepCanals::SelTERSATClick()
{
    Offer(kChannelsList, false);
    Offer(kReceiveCha, false);
    Offer(kChannelsCANCEL, false);
    Offer(kAskChan, true);
}

void TRepCanals::AskChanClick()
{
    RequestExplorationList();
}

void TRepCanals::ChannelsListSelect()
{
    Offer(kReceiveCha, true);
}

void TRepCanals::ReceiveChaClick()
{
    ImportExploration();
}

void TRepCanals::ChannelsCANCELClick()
{
    OfferBand(true);
    ChannelsList->clear();
    for (Control control : {kChannelsList, kReceiveCha, kChannelsCANCEL, kLowOsc, kHighOsc})
        Offer(control, false);
}

void TRepCanals::HoldOscillator(QLineEdit* edit, QString& lastValue)
{
    const std::optional<QString> held = HeldOscillator(edit->text());
    // An emptied edit gets its last value back rather than leaving a text
    // that the correction of satellite rows could not read.
    const QString value = held.value_or(lastValue);
    if (value != edit->text())
        edit->setText(value);
    lastValue = value;
}

void TRepCanals::LowOscExit()
{
    HoldOscillator(LowOsc, m_lastLowOsc);
}

void TRepCanals::HighOscExit()
{
    HoldOscillator(HighOsc, m_lastHighOsc);
}

void TRepCanals::RequestExplorationList()
{
    if (m_busy || !m_workspace.Link())
        return;
    BusyScope busy(m_busy, m_workspace.availability);
    const TerSat band = ChosenBand();
    ChannelsList->clear();
    OfferBand(false);
    m_offered.fill(false);
    if (band == TerSat::Sat) {
        Offer(kLowOsc, true);
        Offer(kHighOsc, true);
    }
    ShowEnabled();

    ExplorationImporter importer(*m_workspace.Link(), m_workspace.pump);
    importer.countdown = [this](int remaining) { waitChannels->setText(QString::number(remaining)); };
    const QStringList names = importer.ReadExplorationNames(band);
    if (names.isEmpty()) {
        Show(texts::kChannelsNotAvailable);
        OfferBand(true);
        return;
    }
    ChannelsList->addItems(names);
    // Nothing is chosen until the user picks a name.
    ChannelsList->setCurrentIndex(-1);
    Show(texts::kCompletedAcquisitions);
    Offer(kChannelsList, true);
    Offer(kAskChan, false);
    Offer(kChannelsCANCEL, true);
    importer.EndTransfer();
}

void TRepCanals::ImportExploration()
{
    if (m_busy || !m_workspace.Link())
        return;
    BusyScope busy(m_busy, m_workspace.availability);
    const QString name = ChannelsList->currentText();
    ExplorationImporter importer(*m_workspace.Link(), m_workspace.pump);
    const ImportResult result = importer.ImportExploration(ChosenBand(), name, m_workspace.AcquiredTable,
                                                           Oscillators{LowOsc->text(), HighOsc->text()});
    switch (result.outcome) {
    case ImportOutcome::TransferFailed:
        Show(texts::kProcessFailure);
        OfferBand(true);
        return;
    case ImportOutcome::NoMarker: return;
    case ImportOutcome::Imported: break;
    }
    // The new rows are in the working copy only: replacing the set must ask
    // before they go, as it does for rows typed in or taken from a plan.
    if (result.added > 0)
        m_workspace.testPointSetModified = true;
    OfferBand(true);
    ChannelsCANCELClick();
    if (result.truncated)
        Show(texts::kInsertedChannelsCutShort, QString::number(result.added), QString::number(result.announced));
    else
        Show(texts::kInsertedChannels);
    importer.EndTransfer();
}
