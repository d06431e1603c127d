// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Every message box, question and file dialog of the station goes through this
// port; tests plug in a recording fake that answers from a script.
struct FileDialogRequest {
    QString title;
    QString filter;           // Qt form: "Paradox(*.db)"
    QString defaultExtension; // without dot: "db"
    QString initialFolder;
    bool confirmOverwrite = true;  // save dialogs: ask before replacing a file
    bool mustExist = true;         // open dialogs: only existing files
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // A modal box with the bare text and one OK button.
    virtual void ShowMessage(const QString& text) = 0;
    // A modal Yes/No question; true for Yes.
    virtual bool AskYesNo(const QString& caption, const QString& text) = 0;
    // Empty result when the user cancels.
    virtual QString AskOpenFile(const FileDialogRequest& request) = 0;
    virtual QString AskSaveFile(const FileDialogRequest& request) = 0;
};
