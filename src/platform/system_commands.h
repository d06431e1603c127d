// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Outside programs: the document viewer, the shutdown command, the desktop's
// mail client. Tests use a recording fake.
class SystemCommands {
public:
    virtual ~SystemCommands() = default;
    // Opens a document with the desktop's associated program; false when the
    // file is missing or no program could take it.
    virtual bool OpenDocument(const QString& path) = 0;
    // Runs a program with its arguments and waits for it; the exit code, or -1
    // when it could not be started or crashed.
    virtual int RunCommand(const QString& program, const QStringList& arguments) = 0;
};

class QtSystemCommands final : public SystemCommands {
public:
    bool OpenDocument(const QString& path) override;
    int RunCommand(const QString& program, const QStringList& arguments) override;
};
