// SPDX-License-Identifier: GPL-3.0-or-later
// Serves a simulated analyser (and optionally a GPS receiver) on
// pseudo-terminals linked as ports/COMn in a program folder, so the station
// (or anything else) can talk to it without hardware.

#include "sim/analyser_sim.h"
#include "sim/gps_sim.h"
#include "sim/pty_server.h"
#include "sim/sim_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <atomic>
#include <csignal>
#include <cstdio>

namespace {
std::atomic<bool> g_stop{false};
std::atomic<int> g_plugRequest{PtyServer::Plugging::kNone};

void OnSignal(int)
{
    g_stop = true;
}

void OnPlugSignal(int signal)
{
    g_plugRequest = signal == SIGUSR1 ? PtyServer::Plugging::kPull : PtyServer::Plugging::kPlugBack;
}

int Fail(const QString& text)
{
    std::fprintf(stderr, "vigilo-analyser-sim: %s\n", qPrintable(text));
    return 2;
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vigilo-analyser-sim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated signal analyser (and GPS receiver) on pseudo-terminals.\n"
        "The analyser is linked as <folder>/ports/COM<n>; the station started from that\n"
        "folder finds it with \"Search COM PORT\". Stop with Ctrl+C.\n\n"
        "Faults (--faults, comma separated):\n"
        "  no-xon              never signals ready\n"
        "  refuse              answers every command with NAK after XOFF\n"
        "  noise[=N]           N stray bytes before it signals ready (default 5)\n"
        "  silent              sends nothing at all\n"
        "  crlf                reply lines end in CR LF\n"
        "  slow[=MS]           pause between ACK and the reply line (default 3000)\n"
        "  block-pieces=B:MS   stored explorations arrive in pieces of B bytes, MS apart\n"
        "  block-short=B       stored explorations stop B bytes short\n"
        "  block-stall[=MS]    stored explorations stall MS after their first piece (default 8000)\n\n"
        "Cables: --unplug-after pulls every cable, --replug-after plugs them back in\n"
        "(a new pty behind the same ports/ link); SIGUSR1 pulls and SIGUSR2 plugs back\n"
        "at any moment.\n\n"
        "Scenario file: one channel per line, '#' comments:\n"
        "  <frequency MHz> <level dBuV> [fade=<dB per minute>]\n"
        "  <frequency MHz> off"));
    parser.addHelpOption();
    const QCommandLineOption folder({QStringLiteral("f"), QStringLiteral("folder")},
                                    QStringLiteral("Program folder whose ports/ gets the links (default: current)."),
                                    QStringLiteral("dir"), QDir::currentPath());
    const QCommandLineOption com({QStringLiteral("c"), QStringLiteral("com")},
                                 QStringLiteral("COM number of the analyser, 1-40 (default 1)."), QStringLiteral("n"),
                                 QStringLiteral("1"));
    const QCommandLineOption model({QStringLiteral("m"), QStringLiteral("model")},
                                   QStringLiteral("Model name it reports (default \"ORBIMETER HD+\")."),
                                   QStringLiteral("name"), QStringLiteral("ORBIMETER HD+"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the measurements (default 1)."),
                                  QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption scenario({QStringLiteral("s"), QStringLiteral("scenario")},
                                      QStringLiteral("Scenario file (levels per frequency)."), QStringLiteral("file"));
    const QCommandLineOption settling(QStringLiteral("settling"),
                                      QStringLiteral("Milliseconds to lock after a tuning change (default 2000)."),
                                      QStringLiteral("ms"), QStringLiteral("2000"));
    const QCommandLineOption faults(QStringLiteral("faults"), QStringLiteral("Faults, see above."),
                                    QStringLiteral("list"));
    const QCommandLineOption unplug(QStringLiteral("unplug-after"),
                                    QStringLiteral("Pull the cables (close the ptys) after this many ms."),
                                    QStringLiteral("ms"));
    const QCommandLineOption replug(QStringLiteral("replug-after"),
                                    QStringLiteral("Plug the cables back in this many ms after the start "
                                                   "(after --unplug-after)."),
                                    QStringLiteral("ms"));
    const QCommandLineOption noAnalyser(QStringLiteral("no-analyser"), QStringLiteral("Serve no analyser."));
    const QCommandLineOption gpsCom(QStringLiteral("gps-com"),
                                    QStringLiteral("Also serve a GPS receiver on this COM number."),
                                    QStringLiteral("n"));
    const QCommandLineOption gpsMode(QStringLiteral("gps-mode"),
                                     QStringLiteral("fix, nofix, badsum or silent (default fix)."),
                                     QStringLiteral("mode"), QStringLiteral("fix"));
    const QCommandLineOption gpsLower(QStringLiteral("gps-lowercase"),
                                      QStringLiteral("GPS checksums in lower case."));
    const QCommandLineOption gpsTalker(QStringLiteral("gps-talker"),
                                       QStringLiteral("GP (GPS only, default) or GN (several satellite systems)."),
                                       QStringLiteral("id"), QStringLiteral("GP"));
    const QCommandLineOption gpsPosition(
        QStringLiteral("gps-position"),
        QStringLiteral("Position as the sentences carry it (default 4807.038,N,01131.000,E)."),
        QStringLiteral("lat,N|S,lon,E|W"));
    const QCommandLineOption gpsPeriod(QStringLiteral("gps-period"),
                                       QStringLiteral("Milliseconds between GGA sentences (default 1000)."),
                                       QStringLiteral("ms"), QStringLiteral("1000"));
    parser.addOptions({folder, com, model, seed, scenario, settling, faults, unplug, replug, noAnalyser, gpsCom, gpsMode,
                       gpsLower, gpsTalker, gpsPosition, gpsPeriod});
    parser.process(app);

    const QString portsDir = QDir(parser.value(folder)).filePath(QStringLiteral("ports"));
    PtyServer server;
    QString error;

    if (!parser.isSet(noAnalyser)) {
        const int n = parser.value(com).toInt();
        if (n < 1 || n > 40)
            return Fail(QStringLiteral("--com must be 1 to 40"));
        auto analyser = std::make_shared<SimAnalyser>(parser.value(model), parser.value(seed).toUInt());
        analyser->SetSettlingMs(parser.value(settling).toInt());
        if (parser.isSet(scenario) && !LoadScenario(parser.value(scenario), *analyser, &error))
            return Fail(error);
        if (parser.isSet(faults) && !ParseFaults(parser.value(faults), analyser->faults, &error))
            return Fail(error);
        if (!server.Add(analyser, QStringLiteral("%1/COM%2").arg(portsDir).arg(n), &error))
            return Fail(error);
    }
    if (parser.isSet(gpsCom)) {
        const int n = parser.value(gpsCom).toInt();
        if (n < 1 || n > 40)
            return Fail(QStringLiteral("--gps-com must be 1 to 40"));
        if (!parser.isSet(noAnalyser) && n == parser.value(com).toInt())
            return Fail(QStringLiteral("--gps-com must differ from the analyser's --com"));
        auto gps = std::make_shared<SimGpsReceiver>();
        const QString mode = parser.value(gpsMode);
        if (mode == QLatin1String("nofix"))
            gps->mode = SimGpsReceiver::Mode::NoFix;
        else if (mode == QLatin1String("badsum"))
            gps->mode = SimGpsReceiver::Mode::BadChecksum;
        else if (mode == QLatin1String("silent"))
            gps->mode = SimGpsReceiver::Mode::Silent;
        else if (mode != QLatin1String("fix"))
            return Fail(QStringLiteral("unknown --gps-mode %1").arg(mode));
        gps->lowerCaseChecksum = parser.isSet(gpsLower);
        if (!ParseGpsTalker(parser.value(gpsTalker), *gps, &error))
            return Fail(error);
        if (parser.isSet(gpsPosition) && !ParseGpsPosition(parser.value(gpsPosition), *gps, &error))
            return Fail(error);
        gps->periodMs = std::max(1, parser.value(gpsPeriod).toInt());
        if (!server.Add(gps, QStringLiteral("%1/COM%2").arg(portsDir).arg(n), &error))
            return Fail(error);
    }

    PtyServer::Plugging plugging;
    plugging.request = &g_plugRequest;
    bool timesOk = true;
    if (parser.isSet(unplug))
        plugging.unplugAfterMs = parser.value(unplug).toLongLong(&timesOk);
    if (timesOk && parser.isSet(replug)) {
        plugging.replugAfterMs = parser.value(replug).toLongLong(&timesOk);
        if (!parser.isSet(unplug) || plugging.replugAfterMs <= plugging.unplugAfterMs)
            return Fail(QStringLiteral("--replug-after needs an earlier --unplug-after"));
    }
    if (!timesOk || (parser.isSet(unplug) && plugging.unplugAfterMs < 0))
        return Fail(QStringLiteral("--unplug-after and --replug-after take milliseconds"));

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGUSR1, OnPlugSignal);
    std::signal(SIGUSR2, OnPlugSignal);
    for (const QString& device : server.DeviceNames())
        std::printf("serving %s\n", qPrintable(device));
    std::printf("ready\n");
    std::fflush(stdout);
    server.Run(g_stop, plugging);
    return 0;
}
