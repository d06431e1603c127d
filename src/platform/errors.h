// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <stdexcept>

// An error of the table engine, the file system or a conversion inside a
// command. It escapes the command and reaches the general error handler,
// which shows its text and lets the program go on.
class VigiloError : public std::runtime_error {
public:
    explicit VigiloError(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}
    QString Text() const { return m_text; }

private:
    QString m_text;
};

#include <functional>

class QLoggingCategory;
class UserDialogs;

// The general error handler: runs a command; an error that escapes it is shown
// in a message box with its text and the program goes on. False when it caught one.
bool RunReportingErrors(UserDialogs& dialogs, const std::function<void()>& command);

// The same for work that a timer or a wait started (a periodic report, the
// scheduled actions): nobody may be asked to press OK there, so the error is
// logged as a warning of `category` and the work that follows goes on. False
// when it caught one.
bool RunLoggingErrors(const QLoggingCategory& category, const std::function<void()>& work);
