// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notify/mailer.h"

#include <vector>

// Records every mail handed to it; `succeed` decides what the sendings report.
class RecordingMailer : public Mailer {
public:
    struct AlarmMail {
        QString subject;
        QStringList bodyLines;
    };
    struct ReportMail {
        QString reportFile;
        QStringList alsoAttach;
    };

    bool SendAlarmMail(const QString& subject, const QStringList& bodyLines) override
    {
        alarmMails.push_back({subject, bodyLines});
        return succeed;
    }
    bool SendReportMail(const QString& reportFile, const QStringList& alsoAttach) override
    {
        reportMails.push_back({reportFile, alsoAttach});
        return succeed;
    }

    bool succeed = true;
    std::vector<AlarmMail> alarmMails;
    std::vector<ReportMail> reportMails;
};
