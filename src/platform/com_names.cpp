// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/com_names.h"

#include "platform/serial_device.h"
#include "platform/program_folder.h"

#include <QFileInfo>

#include <atomic>

namespace {
std::atomic<bool> g_portsOnly{false};
}

void SetComPortsOnly(bool on)
{
    g_portsOnly = on;
}

bool ComPortsOnly()
{
    return g_portsOnly;
}

QString DefaultComDevice(int comNumber)
{
    if (comNumber >= 1 && comNumber <= 4)
        return QStringLiteral("/dev/ttyS%1").arg(comNumber - 1);
    if (comNumber >= 5 && comNumber <= 12)
        return QStringLiteral("/dev/ttyUSB%1").arg(comNumber - 5);
    if (comNumber >= 13 && comNumber <= 20)
        return QStringLiteral("/dev/ttyACM%1").arg(comNumber - 13);
    return QString();
}

QString ResolveComDevice(const QString& portName, bool useDefaultTable)
{
    const int number = ComNumber(portName);
    if (number < 1 || number > 40)
        return QString();
    const QString link = ProgramPath(QStringLiteral("ports/COM%1").arg(number));
    // A dangling link still wins: it says "this COM number is that device",
    // and a device that is gone makes the port absent, not another one.
    const QFileInfo info(link);
    if (info.isSymLink())
        return info.symLinkTarget();
    if (info.exists())
        return link;
    return useDefaultTable && !ComPortsOnly() ? DefaultComDevice(number) : QString();
}
