#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// vigilo-analyser-sim as a child process serving a program folder: started
// with `arguments`, waited for until it says "ready", terminated on scope exit.
class SimProcess {
public:
    SimProcess(const QString& folder, QStringList arguments)
    {
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
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool Ready() const { return m_output.contains("ready\n"); }
    QByteArray Output() const { return m_output; }

private:
    QProcess m_process;
    QByteArray m_output;
};
