// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// vigilo-station as a child process for the integration tests: its lines as
// they come, its exit, and the rows of the tables it wrote.

#include "support/sim_process.h"
#include "testpoints/dataset.h"

#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

struct StationResult {
    int exitCode = -1;  // -1: killed by a signal
    QStringList lines;
    QString errors;
    qint64 elapsedMs = 0;
    QStringList Rows() const { return lines.filter(QRegularExpression(QStringLiteral("^row: "))); }
};

// Runs the station on the program folder's ports only (never the machine's
// serial devices); `onLine` may act on each output line as it comes;
// `locale` names the environment's locale (LC_ALL) when not empty; `onPoll`
// runs at least every 100 ms while the station lives. A station still
// running after `timeoutMs` is killed and the test fails.
inline StationResult RunStation(const QStringList& arguments, int timeoutMs,
                                const std::function<void(const QString&, QProcess&)>& onLine = {},
                                const QString& locale = QString(),
                                const std::function<void(QProcess&)>& onPoll = {})
{
    QProcess station;
    if (!locale.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), locale);
        station.setProcessEnvironment(environment);
    }
    station.start(QStringLiteral(VIGILO_PROGRAM_DIR "/vigilo-station"),
                  QStringList{QString::fromLatin1(SimProcess::kStationPortsOnly)} + arguments);
    StationResult result;
    QElapsedTimer timer;
    timer.start();
    QByteArray pending;
    const auto takeLines = [&] {
        pending += station.readAllStandardOutput();
        int end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end));
            pending.remove(0, end + 1);
            result.lines << line;
            if (onLine)
                onLine(line, station);
        }
    };
    while (station.state() != QProcess::NotRunning && timer.elapsed() < timeoutMs) {
        station.waitForReadyRead(onPoll ? 10 : 100);
        takeLines();
        if (onPoll && station.state() != QProcess::NotRunning)
            onPoll(station);
    }
    if (station.state() != QProcess::NotRunning) {
        station.kill();
        station.waitForFinished(5000);
        ADD_FAILURE() << "the station did not end in time";
    }
    result.elapsedMs = timer.elapsed();
    takeLines();
    if (!pending.isEmpty())
        result.lines << QString::fromUtf8(pending);
    result.errors = QString::fromUtf8(station.readAllStandardError());
    result.exitCode = station.exitStatus() == QProcess::NormalExit ? station.exitCode() : -1;
    return result;
}

// The fields of a printed "row: name=value<TAB>..." line.
inline QMap<QString, QString> PrintedRow(const QString& line)
{
    QMap<QString, QString> row;
    for (const QString& part : line.mid(5).split(QLatin1Char('\t'))) {
        const int equals = part.indexOf(QLatin1Char('='));
        if (equals > 0)
            row[part.left(equals)] = part.mid(equals + 1);
    }
    return row;
}

// Every row of a table file, field name → text.
inline std::vector<QMap<QString, QString>> StoredRows(const QString& path)
{
    std::vector<QMap<QString, QString>> rows;
    Dataset table(QString(), path);
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) {
        QMap<QString, QString> row;
        for (const QString& name : table.FieldNames())
            row[name] = table.Text(name);
        rows.push_back(row);
    }
    return rows;
}
