// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testpoints/exploration_decoder.h"
#include "testpoints/exploration_import.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>

#include <optional>

class QCommandLineParser;
class UserDialogs;
class Workspace;

// The exploration transfer without a window: list the explorations stored
// for a band, or import one of them into a test point set.
struct ExplorationRequest {
    bool list = false;  // else import `name`
    TerSat band = TerSat::Ter;
    QString name;
    Oscillators oscillators;
};

class ExplorationOptions {
public:
    ExplorationOptions();
    QList<QCommandLineOption> All() const;
    // Nothing when no exploration option was given; `error` is set (and
    // nothing returned) when they do not fit together.
    std::optional<ExplorationRequest> Parse(const QCommandLineParser& parser, QString& error) const;

private:
    QCommandLineOption m_list;
    QCommandLineOption m_import;
    QCommandLineOption m_band;
    QCommandLineOption m_lowOsc;
    QCommandLineOption m_highOsc;
};

// Runs the request on the identified analyser. `setPath` is the set to
// append to (created when missing); empty: the working copy. Returns the
// process's exit status: 0 done, 4 a table problem, 5 the band holds no
// exploration, the name is not among them, or the transfer failed.
int RunExplorationRequest(const ExplorationRequest& request, Workspace& workspace, UserDialogs& dialogs,
                          const QString& setPath);
