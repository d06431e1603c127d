// SPDX-License-Identifier: GPL-3.0-or-later
#include "exploration.h"

#include "instrument/analyser_link.h"
#include "platform/errors.h"
#include "platform/settings.h"
#include "platform/texts.h"
#include "testpoints/dataset.h"
#include "testpoints/table_layouts.h"
#include "workspace/workspace.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

namespace {
constexpr int kOk = 0;
constexpr int kTableProblem = 4;
constexpr int kTransferProblem = 5;

void Print(const QString& line)
{
    std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void PrintError(const QString& line)
{
    std::fprintf(stderr, "vigilo-station: %s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

std::optional<TerSat> ParseBand(const QString& text)
{
    if (text == QLatin1String("TER"))
        return TerSat::Ter;
    if (text == QLatin1String("SAT"))
        return TerSat::Sat;
    return std::nullopt;
}

bool OscillatorInRange(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= kSmallestOscillator && value <= kLargestOscillator;
}

// The set the channels go to: a copy of `setPath` (a new set when it does
// not exist yet) or the working copy as the last session left it.
void OpenTargetSet(Workspace& workspace, const QString& setPath)
{
    if (!setPath.isEmpty()) {
        if (QFileInfo::exists(setPath))
            workspace.OpenTestPointSet(setPath);
        else
            workspace.NewTestPointSet();
        return;
    }
    if (!QFileInfo::exists(WorkingCopyPath())) {
        workspace.NewTestPointSet();
        return;
    }
    workspace.AcquiredTable.SetDatabaseName(QString::fromUtf8(dbnames::kTestPoints));
    workspace.AcquiredTable.SetTableName(WorkingCopyPath());
    workspace.AcquiredTable.Open();
}
}  // namespace

ExplorationOptions::ExplorationOptions()
    : m_list(QStringLiteral("list-explorations"),
             QStringLiteral("Print the names of the explorations the analyser keeps for the band, one a line."),
             QStringLiteral("TER|SAT")),
      m_import(QStringLiteral("import-exploration"),
               QStringLiteral("Append the channels of this exploration (with --band) to the set of --testpoints, "
                              "or to the working copy."),
               QStringLiteral("name")),
      m_band(QStringLiteral("band"), QStringLiteral("Band of --import-exploration."), QStringLiteral("TER|SAT")),
      m_lowOsc(QStringLiteral("low-osc"), QStringLiteral("LNB low-band oscillator, MHz (1-20000, default 9750)."),
               QStringLiteral("MHz")),
      m_highOsc(QStringLiteral("high-osc"),
                QStringLiteral("LNB high-band oscillator, MHz (1-20000, default 10600)."), QStringLiteral("MHz"))
{
}

QList<QCommandLineOption> ExplorationOptions::All() const
{
    return {m_list, m_import, m_band, m_lowOsc, m_highOsc};
}

std::optional<ExplorationRequest> ExplorationOptions::Parse(const QCommandLineParser& parser, QString& error) const
{
    const bool list = parser.isSet(m_list);
    const bool import = parser.isSet(m_import);
    if (!list && !import) {
        if (parser.isSet(m_band) || parser.isSet(m_lowOsc) || parser.isSet(m_highOsc))
            error = QStringLiteral("--band, --low-osc and --high-osc go with --import-exploration");
        return std::nullopt;
    }
    if (list && import) {
        error = QStringLiteral("give --list-explorations or --import-exploration, not both");
        return std::nullopt;
    }
    ExplorationRequest request;
    request.list = list;
    const std::optional<TerSat> band = ParseBand(parser.value(list ? m_list : m_band));
    if (!band) {
        error = list ? QStringLiteral("--list-explorations takes TER or SAT")
                     : QStringLiteral("--import-exploration needs --band TER or SAT");
        return std::nullopt;
    }
    request.band = *band;
    if (import) {
        request.name = parser.value(m_import);
        if (request.name.isEmpty()) {
            error = QStringLiteral("--import-exploration needs a name");
            return std::nullopt;
        }
    }
    const struct {
        const QCommandLineOption& option;
        QString& target;
    } oscillators[] = {{m_lowOsc, request.oscillators.low}, {m_highOsc, request.oscillators.high}};
    for (const auto& oscillator : oscillators) {
        if (!parser.isSet(oscillator.option))
            continue;
        const QString text = parser.value(oscillator.option).trimmed();
        if (!OscillatorInRange(text)) {
            error = QStringLiteral("--%1 must be 1 to 20000 MHz").arg(oscillator.option.names().first());
            return std::nullopt;
        }
        oscillator.target = text;
    }
    return request;
}

int RunExplorationRequest(const ExplorationRequest& request, Workspace& workspace, UserDialogs& dialogs,
                          const QString& setPath)
{
    const auto fail = [&](const Text& text, int code) {
        PrintError(Pick(workspace.settings, text).value_or(text.English()));
        return code;
    };
    ExplorationImporter importer(*workspace.Link(), workspace.pump);
    // As the window does: the list first, then the chosen exploration.
    const QStringList names = importer.ReadExplorationNames(request.band);
    if (names.isEmpty())
        return fail(texts::kChannelsNotAvailable, kTransferProblem);
    importer.EndTransfer();
    if (request.list) {
        for (const QString& name : names)
            Print(name);
        return kOk;
    }
    if (!names.contains(request.name)) {
        PrintError(QStringLiteral("no exploration \"%1\" in band %2; stored: %3")
                       .arg(request.name, BandName(request.band), names.join(QStringLiteral(", "))));
        return kTransferProblem;
    }

    RegisterDatabaseNames();
    ImportResult result;
    const QString target = setPath.isEmpty() ? WorkingCopyPath() : setPath;
    bool saved = true;
    const bool done = RunReportingErrors(dialogs, [&] {
        OpenTargetSet(workspace, setPath);
        result = importer.ImportExploration(request.band, request.name, workspace.AcquiredTable,
                                            request.oscillators);
        if (result.outcome == ImportOutcome::Imported && !setPath.isEmpty())
            saved = workspace.SaveTestPointSetAs(setPath);
    });
    workspace.AcquiredTable.Close();
    if (!done || !saved)
        return kTableProblem;
    switch (result.outcome) {
    case ImportOutcome::TransferFailed: return fail(texts::kProcessFailure, kTransferProblem);
    case ImportOutcome::NoMarker:
        PrintError(QStringLiteral("the exploration block holds no channel records: nothing added"));
        return kTransferProblem;
    case ImportOutcome::Imported: break;
    }
    importer.EndTransfer();
    if (result.truncated)
        PrintError(Pick(workspace.settings, texts::kInsertedChannelsCutShort)
                       .value_or(QString())
                       .arg(result.added)
                       .arg(result.announced));
    Print(QStringLiteral("added: %1 channels from %2 into %3").arg(result.added).arg(request.name, target));
    return kOk;
}
