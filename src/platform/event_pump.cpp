// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void QtEventPump::ProcessMessages()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void QtEventPump::Sleep(int ms)
{
    if (ms <= 0) {
        ProcessMessages();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

QDateTime QtEventPump::Now() const
{
    return QDateTime::currentDateTime();
}
