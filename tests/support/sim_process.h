// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/com_names.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <csignal>

// vigilo-analyser-sim as a child process serving a program folder: started
// with `arguments`, waited for until it says "ready", terminated on scope exit.
// While it lives, COM names in this process resolve only through the folder's
// ports/ links, so a test never opens the machine's own /dev/ttyS* or
// /dev/ttyUSB*; a vigilo-station started beside it gets kStationPortsOnly.
class SimProcess {
public:
    static constexpr const char* kStationPortsOnly = "--ports-only";

    SimProcess(const QString& folder, QStringList arguments) : m_portsOnlyBefore(ComPortsOnly())
    {
        SetComPortsOnly(true);
        arguments << QStringLiteral("--folder") << folder;
        m_process.start(QStringLiteral(VIGILO_PROGRAM_DIR "/vigilo-analyser-sim"), arguments);
        while (m_process.waitForReadyRead(10000)) {
            m_output += m_process.readAllStandardOutput();
            if (m_output.contains("ready\n"))
                break;
        }
    }
    ~SimProcess()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
        SetComPortsOnly(m_portsOnlyBefore);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool Ready() const { return m_output.contains("ready\n"); }
    // Sends a signal to the simulator: SIGUSR1 pulls its cables, SIGUSR2
    // plugs them back in.
    void Signal(int signal) { ::kill(static_cast<pid_t>(m_process.processId()), signal); }
    QByteArray Output() const { return m_output; }

private:
    bool m_portsOnlyBefore;
    QProcess m_process;
    QByteArray m_output;
};
