// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sim_options.h"

#include "sim/analyser_sim.h"
#include "sim/gps_sim.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <cmath>

bool ParseFaults(const QString& faultList, SimFaults& faults, QString* error)
{
    for (const QString& item : faultList.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = item.section(QLatin1Char('='), 0, 0).trimmed();
        const QString value = item.section(QLatin1Char('='), 1).trimmed();
        bool ok = true;
        if (name == QLatin1String("no-xon")) {
            faults.noXon = true;
        } else if (name == QLatin1String("refuse")) {
            faults.refuse = true;
        } else if (name == QLatin1String("silent")) {
            faults.silent = true;
        } else if (name == QLatin1String("crlf")) {
            faults.crlf = true;
        } else if (name == QLatin1String("noise")) {
            faults.noiseBeforeXon = value.isEmpty() ? 5 : value.toInt(&ok);
        } else if (name == QLatin1String("slow")) {
            faults.replyDelayMs = value.isEmpty() ? 3000 : value.toInt(&ok);
        } else if (name == QLatin1String("block-pieces")) {
            bool ok2 = true;
            faults.blockPieceBytes = value.section(QLatin1Char(':'), 0, 0).toInt(&ok);
            faults.blockPieceGapMs = value.section(QLatin1Char(':'), 1).toInt(&ok2);
            ok = ok && ok2;
        } else if (name == QLatin1String("block-stall")) {
            faults.blockStallMs = value.isEmpty() ? 8000 : value.toInt(&ok);
        } else if (name == QLatin1String("block-short")) {
            faults.blockShortBy = value.toInt(&ok);
        } else {
            if (error)
                *error = QStringLiteral("unknown fault \"%1\"").arg(name);
            return false;
        }
        if (!ok) {
            if (error)
                *error = QStringLiteral("bad value in \"%1\"").arg(item);
            return false;
        }
    }
    return true;
}

bool LoadScenario(const QString& path, SimAnalyser& analyser, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    QTextStream in(&file);
    int number = 0;
    while (!in.atEnd()) {
        ++number;
        const QString line = in.readLine().section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList words = line.split(QRegularExpression(QStringLiteral("\\s+")));
        bool ok = words.size() >= 2;
        const double mhz = ok ? words[0].toDouble(&ok) : 0.0;
        SimChannel channel;
        if (ok && words[1] == QLatin1String("off")) {
            channel.offAir = true;
        } else if (ok) {
            channel.levelDbuV = words[1].toDouble(&ok);
            for (int i = 2; ok && i < words.size(); ++i) {
                if (words[i].startsWith(QLatin1String("fade=")))
                    channel.fadeDbPerMinute = words[i].mid(5).toDouble(&ok);
                else
                    ok = false;
            }
        }
        if (!ok) {
            if (error)
                *error = QStringLiteral("%1:%2: cannot read \"%3\"").arg(path).arg(number).arg(line);
            return false;
        }
        analyser.SetChannel(std::llround(mhz * 1000.0), channel);
    }
    return true;
}

bool ParseGpsTalker(const QString& talker, SimGpsReceiver& receiver, QString* error)
{
    if (talker != QLatin1String("GP") && talker != QLatin1String("GN")) {
        if (error)
            *error = QStringLiteral("unknown GPS talker \"%1\" (GP or GN)").arg(talker);
        return false;
    }
    receiver.talker = talker.toLatin1();
    return true;
}

bool ParseGpsPosition(const QString& position, SimGpsReceiver& receiver, QString* error)
{
    static const QRegularExpression shape(
        QStringLiteral("^([0-9]{4}\\.[0-9]+),([NS]),([0-9]{5}\\.[0-9]+),([EW])$"));
    const QRegularExpressionMatch match = shape.match(position);
    if (!match.hasMatch()) {
        if (error)
            *error = QStringLiteral("bad GPS position \"%1\" (ddmm.mmmm,N|S,dddmm.mmmm,E|W)").arg(position);
        return false;
    }
    receiver.latitude = match.captured(1).toLatin1();
    receiver.ns = match.captured(2).toLatin1();
    receiver.longitude = match.captured(3).toLatin1();
    receiver.ew = match.captured(4).toLatin1();
    return true;
}
