// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/system_commands.h"

#include <QStringList>

// Records outside programs instead of starting them.
class FakeSystemCommands final : public SystemCommands {
public:
    bool OpenDocument(const QString& path) override
    {
        opened.append(path);
        return openSucceeds;
    }
    int RunCommand(const QString& program, const QStringList& arguments) override
    {
        commands.append(program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')));
        return exitCode;
    }

    bool openSucceeds = true;
    int exitCode = 0;
    QStringList opened;
    QStringList commands;
};
