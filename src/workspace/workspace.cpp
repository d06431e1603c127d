// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/workspace.h"

#include "instrument/analyser_link.h"
#include "reports/acquired_report.h"
#include "platform/texts.h"
#include "testpoints/engine_texts.h"

Workspace::Workspace(EventPump& pumpIn, UserDialogs& dialogsIn, SystemCommands& systemIn, Settings& settingsIn,
                     SerialDeviceFactory ports)
    : pump(pumpIn), dialogs(dialogsIn), system(systemIn), settings(settingsIn), serialPorts(std::move(ports))
{
    if (serialPorts)
        m_link = std::make_unique<AnalyserLink>(pump, serialPorts, modelCode);
    m_acquiredQReport = std::make_unique<TAcquiredQReport>(reportMail);
    m_acquiredQReport->currentLanguage = [this] { return CurrentLanguage(settings); };
    // Table errors reach the user through the general error handler.
    FollowLanguageOf(&settings);
}

Workspace::~Workspace()
{
    StopFollowingLanguageOf(&settings);
}

std::optional<QString> Workspace::IdentifyAnalyserOn(int com)
{
    if (!m_link || com < 1 || com > 40)
        return std::nullopt;
    TSerialPort& port = m_link->Port();
    port.SelectPort(com - 1);
    if (!port.Open())
        return std::nullopt;
    // As the port search does: a line setting the device refuses (a
    // pseudo-terminal's) is no reason to give up on the analyser.
    port.Configure(TimeoutProfile::Standard, 115200, 8, 0, 0);
    port.SettleAfterConfigure();
    QByteArray buffer("*?NA");
    if (!m_link->IdentifyAnalyser(buffer))
        return std::nullopt;
    return QString::fromLatin1(buffer).trimmed();
}
