// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/user_dialogs.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

// Records every message and question and answers from a script; an unscripted
// question answers No, an unscripted file dialog is cancelled.
class RecordingDialogs final : public UserDialogs {
public:
    void ShowMessage(const QString& text) override { messages.append(text); }
    bool AskYesNo(const QString& caption, const QString& text) override;
    QString AskOpenFile(const FileDialogRequest& request) override;
    QString AskSaveFile(const FileDialogRequest& request) override;

    QStringList messages;
    QStringList questions;               // "caption|text"
    std::deque<bool> answers;
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
};
