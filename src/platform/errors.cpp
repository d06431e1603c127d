// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/errors.h"

#include "platform/user_dialogs.h"

#include <QLoggingCategory>

bool RunReportingErrors(UserDialogs& dialogs, const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const VigiloError& error) {
        dialogs.ShowMessage(error.Text());
    } catch (const std::exception& error) {
        dialogs.ShowMessage(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        dialogs.ShowMessage(QStringLiteral("Unknown error"));
    }
    return false;
}

bool RunLoggingErrors(const QLoggingCategory& category, const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const VigiloError& error) {
        qCWarning(category).noquote() << error.Text();
    } catch (const std::exception& error) {
        qCWarning(category).noquote() << QString::fromLocal8Bit(error.what());
    } catch (...) {
        qCWarning(category) << "unknown error";
    }
    return false;
}
