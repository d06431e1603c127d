// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/user_dialogs.h"

class QWidget;

// Modal Qt dialogs over the active window.
class QtUserDialogs final : public UserDialogs {
public:
    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& caption, const QString& text) override;
    QString AskOpenFile(const FileDialogRequest& request) override;
    QString AskSaveFile(const FileDialogRequest& request) override;
};
