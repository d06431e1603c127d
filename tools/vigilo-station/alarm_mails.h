// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "alarms/alarm_evaluation.h"

#include <QCommandLineOption>

class QCommandLineParser;
class Workspace;

// The alarm evaluation of the station without windows: the mailing switch
// (off unless --send-alarm-mails) and the mail body buffer live here, and
// each alarm mail is reported on the console as it goes.
class StationAlarms {
public:
    StationAlarms();

    void AddOptions(QCommandLineParser& parser) const;
    void ReadOptions(const QCommandLineParser& parser);

    // The run host's EvaluateAlarms: the current test point and the
    // completed Measurements row of `workspace`.
    void Evaluate(Workspace& workspace);

    AlarmMailValues mail;

private:
    QCommandLineOption m_sendOption;
    bool m_warnedNoMailer = false;
};
