// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What the alarm evaluation, the report commands and the scheduled actions
// need of mail. Both sendings are silent: the result is for logs and the
// headless tools only, and a failed mail never stops the caller (the run goes
// on, the scheduled actions go on). Each sending reads the mail settings at
// the moment it sends.
class Mailer {
public:
    virtual ~Mailer() = default;

    // One alarm mail: `subject` is the rule's subject, the body is the mail
    // body buffer's lines (joined by CR LF on the wire).
    virtual bool SendAlarmMail(const QString& subject, const QStringList& bodyLines) = 0;
    // One report mail: subject "Report of measures of the Vigilo", no body,
    // the saved report file attached, and beside it the other files given
    // (its PDF), so that a recipient without the station can read it.
    virtual bool SendReportMail(const QString& reportFile, const QStringList& alsoAttach = {}) = 0;
};
