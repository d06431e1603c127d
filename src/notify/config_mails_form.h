// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Settings;
class UserDialogs;
class Workspace;
struct MailSettings;
enum class Language;

// The mail settings window: modal, on top, without a system menu. Its
// controls edit the one MailSettings object as the user types, so a Cancel
// keeps the typed values for later sendings; Accept also writes them to
// config.cfg.
class TConfigMails : public QDialog {
    Q_OBJECT

public:
    TConfigMails(Workspace& workspace, MailSettings& mail, QWidget* parent = nullptr);

    QLabel* Label10;  // "Email Data :"
    QLabel* Label6;   // "Sending Mail :"
    QRadioButton* sinGestorMail;
    QRadioButton* conGestorMail;
    QLabel* FRAddLabel;
    QLineEdit* FromAddress;
    QLabel* UsNameLabel;
    QLineEdit* Username;
    QLabel* PassLabel;
    QLineEdit* Password;
    QLabel* HostLabel;
    QLineEdit* Host;
    QLabel* AuthTypeLabel;
    QComboBox* AuthType;
    QLabel* LabelDestinyAddress;
    QLineEdit* EditDestinyAddress;
    QLabel* LabelDestiny2Address;
    QLineEdit* EditDestiny2Address;
    QCheckBox* Mail2;
    QLabel* LabelDestiny3Address;
    QLineEdit* EditDestiny3Address;
    QCheckBox* Mail3;
    QLabel* FromAddressHint;
    QLabel* UsernameHint;
    QLabel* PasswordHint;
    QLabel* HostHint;
    QLabel* DestinyAddressHint;
    QPushButton* AcceptBtn;
    QPushButton* CancelBtn;

    // Menu item EMailConfig: shows the window modally.
    void EMailConfigClick();
    void sinGestorMailClick();
    void conGestorMailClick();
    void Mail2Click();
    void AcceptBtnClick();
    void CancelBtnClick();

    // The settings into the controls, as the start-up loader fills them:
    // a route or a check box switched on runs its click handling.
    void ShowSettings();
    void ApplyLanguage(Language language);

private:
    void EnableServerFields(bool on);

    Settings& m_settings;
    UserDialogs& m_dialogs;
    MailSettings& m_mail;
};
