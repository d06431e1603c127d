// SPDX-License-Identifier: GPL-3.0-or-later
#include "gps/gps_window.h"

#include "workspace/workspace.h"
#include "platform/captions_ui.h"
#include "platform/texts.h"
#include "gps/serial_gps.h"
#include "platform/event_pump.h"
#include "platform/user_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int kSearchPauseSteps = 5;  // 500 ms in steps of 100 ms

// Label2 is not here: it shows the search's status (below).
constexpr CaptionRow kCaptions[] = {
    {"TGPS", &texts::kGpsCaption},
    {"Label1", &texts::kGpsComPortLabel},
    {"Label3", &texts::kGpsBaudRateLabel},
    {"ActiveGPS", &texts::kActiveGPS},
    {"FindGPS", &texts::kFindGPS},
    {"CancelFindGPS", &texts::kCancelFindGPS},
};

template <typename T>
T* Named(T* object, const char* name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

void ShowNone(QComboBox* combo)
{
    combo->setEditable(true);
    combo->setCurrentIndex(-1);
    combo->setEditText(QStringLiteral("<none>"));
    combo->lineEdit()->setReadOnly(true);
}
}  // namespace

TGPS::TGPS(Workspace& workspace, SerialDeviceFactory ports, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_ports(std::move(ports))
{
    setObjectName(QStringLiteral("TGPS"));
    setWindowTitle(QStringLiteral("GPS"));
    setFixedSize(330, 190);

    Label1 = Named(new QLabel(this), "Label1");
    Label1->setGeometry(16, 12, 140, 16);
    CBGPSCom = Named(new QComboBox(this), "CBGPSCom");
    CBGPSCom->setGeometry(16, 30, 130, 22);
    for (int i = 1; i <= 40; ++i)
        CBGPSCom->addItem(QStringLiteral("COM%1").arg(i));
    ShowNone(CBGPSCom);
    CBGPSCom->setEnabled(false);

    Label3 = Named(new QLabel(this), "Label3");
    Label3->setGeometry(176, 12, 140, 16);
    baudRateGPS = Named(new QComboBox(this), "baudRateGPS");
    baudRateGPS->setGeometry(176, 30, 130, 22);
    for (const char* rate : {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "230400"})
        baudRateGPS->addItem(QLatin1String(rate));
    ShowNone(baudRateGPS);

    ActiveGPS = Named(new QCheckBox(this), "ActiveGPS");
    ActiveGPS->setGeometry(16, 70, 290, 20);
    ActiveGPS->setEnabled(false);

    FindGPS = Named(new QPushButton(this), "FindGPS");
    FindGPS->setGeometry(16, 104, 130, 28);
    FindGPS->setCheckable(true);
    FindGPS->setEnabled(false);
    CancelFindGPS = Named(new QPushButton(this), "CancelFindGPS");
    CancelFindGPS->setGeometry(176, 104, 130, 28);
    CancelFindGPS->setCheckable(true);
    CancelFindGPS->setEnabled(false);
    m_searchGroup = new QButtonGroup(this);
    m_searchGroup->setExclusive(true);
    m_searchGroup->addButton(FindGPS);
    m_searchGroup->addButton(CancelFindGPS);

    Label2 = Named(new QLabel(this), "Label2");
    Label2->setGeometry(16, 146, 290, 20);
    Label2->hide();

    connect(baudRateGPS, &QComboBox::activated, this, &TGPS::baudRateGPSChange);
    connect(CBGPSCom, &QComboBox::activated, this, &TGPS::CBGPSComChange);
    connect(ActiveGPS, &QCheckBox::clicked, this, &TGPS::ActiveGPSClick);
    connect(FindGPS, &QPushButton::clicked, this, &TGPS::FindGPSClick);

    ApplyLanguage(Language::English);
    connect(&m_workspace, &Workspace::languageChanged, this, &TGPS::ApplyLanguage);
}

TGPS::~TGPS()
{
    FormDestroy();
}

void TGPS::ApplyLanguage(Language language)
{
    using namespace texts;
    ApplyCaptions(*this, kCaptions, language);
    // "GPS signal captured" is a status the search set: it stays as it is.
    const QString shown = Label2->text();
    if (shown.isEmpty() || shown == kLookingForGpsSignal.In(Language::English)
        || shown == kLookingForGpsSignal.In(Language::Spanish))
        Label2->setText(kLookingForGpsSignal.In(language));
}

void TGPS::GPS1Click()
{
    exec();
}

void TGPS::baudRateGPSChange()
{
    CBGPSCom->setEnabled(true);
}

void TGPS::CBGPSComChange()
{
    const quint32 speed = baudRateGPS->currentText().toUInt();
    if (m_port) {
        m_port->Close();
        m_port.reset();
    }
    m_port = std::make_unique<TSerialGPS>(m_workspace.pump, m_ports);
    m_port->SelectPort(CBGPSCom->currentIndex());
    if (m_port->Open()) {
        ActiveGPS->setEnabled(true);
        m_port->Configure(TimeoutProfile::Standard, speed, 8, 0, 0);
        return;
    }
    ActiveGPS->setChecked(false);
    ActiveGPS->setEnabled(false);
    ShowText(m_workspace.dialogs, m_workspace.settings, texts::kUnableToOpenPort);
}

void TGPS::ActiveGPSClick()
{
    const bool on = ActiveGPS->isChecked();
    if (on)
        CancelFindGPS->setChecked(true);
    FindGPS->setEnabled(on);
    CancelFindGPS->setEnabled(on);
}

void TGPS::FindGPSClick()
{
    FindGPS->setChecked(true);
    baudRateGPS->setEnabled(false);
    if (auto looking = Pick(m_workspace.settings, texts::kLookingForGpsSignal))
        Label2->setText(*looking);
    bool valid = false;
    do {
        ActiveGPS->setEnabled(false);
        CBGPSCom->setEnabled(false);
        GpsFix fix;
        valid = ReadGpsFix(fix);
        // The pause ends early when the user cancels.
        for (int step = 0; step < kSearchPauseSteps && !CancelFindGPS->isChecked(); ++step)
            m_workspace.pump.Sleep(100);
        Label2->setVisible(!Label2->isVisible());
        if (valid)
            CancelFindGPS->setChecked(true);
    } while (!CancelFindGPS->isChecked());
    if (valid) {
        if (auto captured = Pick(m_workspace.settings, texts::kGpsSignalCaptured))
            Label2->setText(*captured);
        Label2->show();
    } else {
        Label2->hide();
    }
    ActiveGPS->setEnabled(true);
    CBGPSCom->setEnabled(true);
    baudRateGPS->setEnabled(true);
}

void TGPS::done(int result)
{
    if (FindGPS->isChecked())
        CancelFindGPS->setChecked(true);
    QDialog::done(result);
}

void TGPS::FormDestroy()
{
    if (m_port) {
        m_port->Close();
        m_port.reset();
    }
}

bool TGPS::ReceptionEnabled() const
{
    return ActiveGPS->isChecked();
}

bool TGPS::ReadGpsFix(GpsFix& fix)
{
    return m_port && ::ReadGpsFix(*m_port, fix);
}

bool TGPS::ReceiverLost() const
{
    return m_port && m_port->DeviceGone();
}
