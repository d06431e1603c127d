// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/user_dialogs.h"

#include <QString>
#include <deque>

// Passes every dialog to the real one, except file dialogs whose answers were
// given beforehand: start-up options open tables through the very commands a
// user would click, with the file names already chosen.
class PresetDialogs final : public UserDialogs {
public:
    explicit PresetDialogs(UserDialogs& inner) : m_inner(inner) {}

    void PresetOpenFile(const QString& path) { m_open.push_back(path); }
    void PresetSaveFile(const QString& path) { m_save.push_back(path); }

    void ShowMessage(const QString& text) override { m_inner.ShowMessage(text); }
    bool AskYesNo(const QString& caption, const QString& text) override { return m_inner.AskYesNo(caption, text); }
    QString AskOpenFile(const FileDialogRequest& request) override { return Next(m_open, request, false); }
    QString AskSaveFile(const FileDialogRequest& request) override { return Next(m_save, request, true); }

private:
    QString Next(std::deque<QString>& answers, const FileDialogRequest& request, bool save)
    {
        if (answers.empty())
            return save ? m_inner.AskSaveFile(request) : m_inner.AskOpenFile(request);
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }

    UserDialogs& m_inner;
    std::deque<QString> m_open;
    std::deque<QString> m_save;
};
