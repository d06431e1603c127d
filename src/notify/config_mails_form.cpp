// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/config_mails_form.h"

#include "notify/mail_settings.h"
#include "platform/captions_ui.h"
#include "platform/settings_loader.h"
#include "platform/texts.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
constexpr CaptionRow kCaptions[] = {
    {"Label10", &texts::kConfigMailsLabel10},
    {"Label6", &texts::kConfigMailsLabel6},
    {"sinGestorMail", &texts::kSinGestorMail},
    {"conGestorMail", &texts::kConGestorMail},
    {"FRAddLabel", &texts::kFRAddLabel},
    {"UsNameLabel", &texts::kUsNameLabel},
    {"PassLabel", &texts::kPassLabel},
    {"HostLabel", &texts::kHostLabel},
    {"AuthTypeLabel", &texts::kAuthTypeLabel},
    {"LabelDestinyAddress", &texts::kLabelDestinyAddress},
    {"LabelDestiny2Address", &texts::kLabelDestiny2Address},
    {"LabelDestiny3Address", &texts::kLabelDestiny3Address},
    {"Mail2", &texts::kMailActivate},
    {"Mail3", &texts::kMailActivate},
};

template <typename T>
T* Named(T* object, const char* name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

constexpr int kLabelX = 16;
constexpr int kLabelWidth = 190;
constexpr int kEditX = 210;
constexpr int kEditWidth = 230;
constexpr int kHintX = 452;
constexpr int kRowHeight = 24;
}  // namespace

TConfigMails::TConfigMails(Workspace& workspace, MailSettings& mail, QWidget* parent)
    : QDialog(parent), m_settings(workspace.settings), m_dialogs(workspace.dialogs), m_mail(mail)
{
    setObjectName(QStringLiteral("TConfigMails"));
    // No system menu: the window is left through Accept or Cancel.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(texts::kConfigMailsTitle.English());
    setModal(true);
    setFixedSize(800, 440);

    const auto label = [this](const char* name, int x, int y, int width) {
        auto* l = Named(new QLabel(this), name);
        l->setGeometry(x, y, width, kRowHeight);
        return l;
    };
    const auto edit = [this](const char* name, int y) {
        auto* e = Named(new QLineEdit(this), name);
        e->setGeometry(kEditX, y, kEditWidth, kRowHeight);
        return e;
    };
    const auto hint = [this](const char* name, const Text& text, int y) {
        auto* l = Named(new QLabel(text.English(), this), name);
        l->setGeometry(kHintX, y, 300, kRowHeight);
        l->setEnabled(false);  // drawn grey: an example, not a value
        return l;
    };

    Label10 = label("Label10", kLabelX, 10, 300);
    QFont heading = Label10->font();
    heading.setBold(true);
    Label10->setFont(heading);

    Label6 = label("Label6", kLabelX, 44, kLabelWidth);
    sinGestorMail = Named(new QRadioButton(this), "sinGestorMail");
    sinGestorMail->setGeometry(kEditX, 44, 330, kRowHeight);
    conGestorMail = Named(new QRadioButton(this), "conGestorMail");
    conGestorMail->setGeometry(kEditX, 70, 330, kRowHeight);
    // A settings file may leave both clear, which exclusive buttons cannot show.
    sinGestorMail->setAutoExclusive(false);
    conGestorMail->setAutoExclusive(false);

    FRAddLabel = label("FRAddLabel", kLabelX, 110, kLabelWidth);
    FromAddress = edit("FromAddress", 110);
    FromAddressHint = hint("FromAddressHint", texts::kFromAddressHint, 110);
    UsNameLabel = label("UsNameLabel", kLabelX, 140, kLabelWidth);
    Username = edit("Username", 140);
    UsernameHint = hint("UsernameHint", texts::kUsernameHint, 140);
    PassLabel = label("PassLabel", kLabelX, 170, kLabelWidth);
    Password = edit("Password", 170);
    Password->setEchoMode(QLineEdit::Password);
    Password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // '*'
    PasswordHint = hint("PasswordHint", texts::kPasswordHint, 170);
    HostLabel = label("HostLabel", kLabelX, 200, kLabelWidth);
    Host = edit("Host", 200);
    HostHint = hint("HostHint", texts::kHostHint, 200);
    AuthTypeLabel = label("AuthTypeLabel", kLabelX, 230, kLabelWidth);
    AuthType = Named(new QComboBox(this), "AuthType");
    AuthType->setGeometry(kEditX, 230, 120, kRowHeight);
    AuthType->addItems({QStringLiteral("atLogin"), QStringLiteral("atNone")});

    LabelDestinyAddress = label("LabelDestinyAddress", kLabelX, 280, kLabelWidth);
    EditDestinyAddress = edit("EditDestinyAddress", 280);
    DestinyAddressHint = hint("DestinyAddressHint", texts::kDestinyAddressHint, 280);
    LabelDestiny2Address = label("LabelDestiny2Address", kLabelX, 310, kLabelWidth);
    EditDestiny2Address = edit("EditDestiny2Address", 310);
    Mail2 = Named(new QCheckBox(this), "Mail2");
    Mail2->setGeometry(kHintX, 310, 150, kRowHeight);
    LabelDestiny3Address = label("LabelDestiny3Address", kLabelX, 340, kLabelWidth);
    EditDestiny3Address = edit("EditDestiny3Address", 340);
    Mail3 = Named(new QCheckBox(this), "Mail3");
    Mail3->setGeometry(kHintX, 340, 150, kRowHeight);

    AcceptBtn = Named(new QPushButton(texts::kMailAccept.English(), this), "AcceptBtn");
    AcceptBtn->setGeometry(kEditX, 392, 110, 30);
    AcceptBtn->setDefault(true);
    CancelBtn = Named(new QPushButton(texts::kMailCancel.English(), this), "CancelBtn");
    CancelBtn->setGeometry(kEditX + 120, 392, 110, 30);

    // The controls are the settings: every change reaches the object at once.
    const auto bindText = [](QLineEdit* control, QString& target) {
        connect(control, &QLineEdit::textChanged, control, [&target](const QString& text) { target = text; });
    };
    bindText(FromAddress, m_mail.fromAddress);
    bindText(Username, m_mail.username);
    bindText(Password, m_mail.password);
    bindText(Host, m_mail.host);
    bindText(EditDestinyAddress, m_mail.firstRecipient);
    bindText(EditDestiny2Address, m_mail.secondRecipient);
    bindText(EditDestiny3Address, m_mail.thirdRecipient);
    connect(AuthType, &QComboBox::currentIndexChanged, this, [this](int index) { m_mail.authType = index; });
    connect(sinGestorMail, &QRadioButton::toggled, this, [this](bool on) { m_mail.smtpRoute = on; });
    connect(conGestorMail, &QRadioButton::toggled, this, [this](bool on) { m_mail.clientRoute = on; });
    connect(Mail2, &QCheckBox::toggled, this, [this](bool on) { m_mail.mail2 = on; });
    connect(Mail3, &QCheckBox::toggled, this, [this](bool on) { m_mail.mail3 = on; });

    connect(sinGestorMail, &QRadioButton::clicked, this, &TConfigMails::sinGestorMailClick);
    connect(conGestorMail, &QRadioButton::clicked, this, &TConfigMails::conGestorMailClick);
    connect(Mail2, &QCheckBox::clicked, this, &TConfigMails::Mail2Click);
    connect(AcceptBtn, &QPushButton::clicked, this, &TConfigMails::AcceptBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TConfigMails::CancelBtnClick);

    ShowSettings();
    ApplyLanguage(Language::English);
    connect(&workspace, &Workspace::languageChanged, this, &TConfigMails::ApplyLanguage);
}

void TConfigMails::ApplyLanguage(Language language)
{
    ApplyCaptions(*this, kCaptions, language);
}

void TConfigMails::EMailConfigClick()
{
    exec();
}

void TConfigMails::EnableServerFields(bool on)
{
    for (QWidget* control : std::initializer_list<QWidget*>{FromAddress, Username, Password, Host, AuthType})
        control->setEnabled(on);
}

void TConfigMails::sinGestorMailClick()
{
    sinGestorMail->setChecked(true);
    conGestorMail->setChecked(false);
    EnableServerFields(true);
}

void TConfigMails::conGestorMailClick()
{
    conGestorMail->setChecked(true);
    sinGestorMail->setChecked(false);
    EnableServerFields(false);
}

void TConfigMails::Mail2Click()
{
    if (Mail2->isChecked()) {
        Mail3->setEnabled(true);
    } else {
        Mail3->setEnabled(false);
        Mail3->setChecked(false);
    }
}

void TConfigMails::AcceptBtnClick()
{
    // A failed save has shown its message; the window closes all the same,
    // and the typed values stay in force for the sendings.
    (void)WriteSettingsLines(m_settings, m_dialogs, MailSettingsLines(m_mail));
    accept();
}

void TConfigMails::CancelBtnClick()
{
    reject();
}

void TConfigMails::ShowSettings()
{
    // The controls write back into the object as they change: work from a copy.
    const MailSettings wanted = m_mail;
    EditDestinyAddress->setText(wanted.firstRecipient);
    EditDestiny2Address->setText(wanted.secondRecipient);
    EditDestiny3Address->setText(wanted.thirdRecipient);
    FromAddress->setText(wanted.fromAddress);
    Username->setText(wanted.username);
    Password->setText(wanted.password);
    Host->setText(wanted.host);
    AuthType->setCurrentIndex(wanted.authType);
    if (wanted.smtpRoute)
        sinGestorMailClick();
    else
        sinGestorMail->setChecked(false);
    if (wanted.clientRoute)
        conGestorMailClick();
    else
        conGestorMail->setChecked(false);
    Mail2->setChecked(wanted.mail2);
    Mail2Click();
    // Line 25 is read after line 24: a hand-edited file may show the third
    // recipient active without the second.
    Mail3->setChecked(wanted.mail3);
}
