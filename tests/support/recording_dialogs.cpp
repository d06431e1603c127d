// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/recording_dialogs.h"

bool RecordingDialogs::AskYesNo(const QString& caption, const QString& text)
{
    questions.append(caption + QLatin1Char('|') + text);
    if (answers.empty())
        return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

QString RecordingDialogs::AskOpenFile(const FileDialogRequest& request)
{
    openRequests.push_back(request);
    if (openAnswers.empty())
        return QString();
    QString answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString RecordingDialogs::AskSaveFile(const FileDialogRequest& request)
{
    saveRequests.push_back(request);
    if (saveAnswers.empty())
        return QString();
    QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}
