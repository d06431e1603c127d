// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/user_dialogs.h"

#include <QString>
#include <cstdio>

// How the headless tools talk: results on standard output, messages on
// standard error after the tool's name, each line flushed at once so a script
// or a service log sees it when it happens.
inline void PrintLine(std::FILE* stream, const QString& line)
{
    std::fprintf(stream, "%s\n", line.toUtf8().constData());
    std::fflush(stream);
}

inline void PrintToolError(const char* tool, const QString& line)
{
    PrintLine(stderr, QString::fromLatin1(tool) + QStringLiteral(": ") + line);
}

// A message box of the station becomes a line on standard error; each one is a
// reason for the tool to end with a non-zero status. Nothing is asked.
class ConsoleDialogs final : public UserDialogs {
public:
    explicit ConsoleDialogs(const char* tool) : m_tool(tool) {}

    void ShowMessage(const QString& text) override
    {
        PrintToolError(m_tool, text);
        ++shown;
    }
    bool AskYesNo(const QString&, const QString&) override { return false; }
    QString AskOpenFile(const FileDialogRequest&) override { return QString(); }
    QString AskSaveFile(const FileDialogRequest&) override { return QString(); }

    int shown = 0;

private:
    const char* m_tool;
};
