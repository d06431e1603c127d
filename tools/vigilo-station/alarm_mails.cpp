// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarm_mails.h"

#include "notify/mailer.h"
#include "workspace/workspace.h"

#include <QCommandLineParser>

#include <cstdio>
#include <optional>

namespace {
// Passes each mail on and prints what became of it, so a script sees every
// alarm mail the station tried.
class ReportingMailer final : public Mailer {
public:
    explicit ReportingMailer(Mailer& inner) : m_inner(inner) {}

    bool SendAlarmMail(const QString& subject, const QStringList& bodyLines) override
    {
        const bool sent = m_inner.SendAlarmMail(subject, bodyLines);
        std::fprintf(stdout, "alarm mail: %s: %s\n", sent ? "sent" : "not sent", subject.toUtf8().constData());
        std::fflush(stdout);
        return sent;
    }
    bool SendReportMail(const QString& reportFile, const QStringList& alsoAttach) override
    {
        return m_inner.SendReportMail(reportFile, alsoAttach);
    }

private:
    Mailer& m_inner;
};
}  // namespace

StationAlarms::StationAlarms()
    : m_sendOption(QStringLiteral("send-alarm-mails"),
                   QStringLiteral("Mail every exceeded alarm threshold (the mailing switch of the alarm window), "
                                  "with the mail settings of config.cfg; each mail prints \"alarm mail: sent: "
                                  "SUBJECT\" or \"alarm mail: not sent: SUBJECT\"."))
{
}

void StationAlarms::AddOptions(QCommandLineParser& parser) const
{
    parser.addOption(m_sendOption);
}

void StationAlarms::ReadOptions(const QCommandLineParser& parser)
{
    mail.sendAlarm = parser.isSet(m_sendOption);
}

void StationAlarms::Evaluate(Workspace& workspace)
{
    if (mail.sendAlarm && !workspace.mailer && !m_warnedNoMailer) {
        m_warnedNoMailer = true;
        std::fprintf(stderr, "vigilo-station: no mail transport: alarm mails are not sent\n");
        std::fflush(stderr);
    }
    std::optional<ReportingMailer> reporting;
    if (workspace.mailer)
        reporting.emplace(*workspace.mailer);
    EvaluateAlarms(workspace.AcquiredTable, workspace.ReportTable, mail, reporting ? &*reporting : nullptr,
                   MeasurePointLine(workspace.settings));
}
