// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <memory>
#include <optional>

class QCommandLineParser;
class Settings;
class Workspace;
struct MailService;

// Mail for the station without windows: the settings come from config.cfg
// in the program folder.
void AddMailOptions(QCommandLineParser& parser);

// The mail service of the run: the workspace's mailer from now on.
std::unique_ptr<MailService> InstallStationMail(Workspace& workspace, bool settingsLoaded);

// --test-mail: sends the test mail, prints its result text and gives the
// exit status (0 sent, 5 not sent); nothing when the option is absent.
std::optional<int> RunTestMail(const QCommandLineParser& parser, const Settings& settings, bool settingsLoaded);
