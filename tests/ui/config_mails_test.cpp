// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"
#include "app/program_ui.h"
#include "notify/config_mails_form.h"
#include "notify/mail_service.h"
#include "notify/mail_settings.h"
#include "platform/settings.h"
#include "platform/texts.h"
#include "sim/virtual_clock.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <memory>

// The mail settings window: its rules, Accept and Cancel, the file.
class ConfigMailsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<Settings> settings;
    VirtualClock clock;
    RecordingDialogs dialogs;
    FakeSystemCommands system;
    std::unique_ptr<Workspace> station;
    MailSettings mail;
    std::unique_ptr<TConfigMails> window;

    // Opens the window as the menu does and presses one of its buttons.
    void OpenAndPress(QPushButton* TConfigMails::*button, const std::function<void()>& typing = {})
    {
        QTimer::singleShot(0, window.get(), [this, button, typing] {
            if (typing)
                typing();
            QTest::mouseClick(window.get()->*button, Qt::LeftButton);
        });
        window->EMailConfigClick();
    }

    static void Type(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        edit->del();
        QTest::keyClicks(edit, text);
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        settings = std::make_unique<Settings>(folder->Path());
        settings->Replace(0, QStringLiteral("english"));
        station = std::make_unique<Workspace>(clock, dialogs, system, *settings);
        mail = MailSettings();
        window = std::make_unique<TConfigMails>(*station, mail);
    }
    void cleanup()
    {
        window.reset();
        station.reset();
    }

    void startsWithTheDefaults()
    {
        QVERIFY(window->sinGestorMail->isChecked());
        QVERIFY(!window->conGestorMail->isChecked());
        QCOMPARE(window->AuthType->currentText(), QString("atLogin"));
        QVERIFY(!window->Mail2->isChecked());
        QVERIFY(!window->Mail3->isChecked());
        QVERIFY(!window->Mail3->isEnabled());
        QCOMPARE(window->Password->echoMode(), QLineEdit::Password);
        QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(window->windowFlags() & Qt::WindowSystemMenuHint));
        QVERIFY(window->HostHint->text().startsWith("e.g.: "));
    }

    void mail2GovernsMail3()
    {
        window->Mail2->click();
        QVERIFY(window->Mail3->isEnabled());
        QVERIFY(!window->Mail3->isChecked());
        window->Mail3->click();
        QVERIFY(mail.mail3);
        window->Mail2->click();  // off: Mail3 off and disabled
        QVERIFY(!window->Mail3->isEnabled());
        QVERIFY(!window->Mail3->isChecked());
        QVERIFY(!mail.mail3);
        window->Mail2->click();  // on again: enabled, still off
        QVERIFY(window->Mail3->isEnabled());
        QVERIFY(!window->Mail3->isChecked());
    }

    void routesClearEachOtherAndLockTheServerFields()
    {
        const QList<QWidget*> server{window->FromAddress, window->Username, window->Password, window->Host,
                                    window->AuthType};
        window->conGestorMail->click();
        QVERIFY(!window->sinGestorMail->isChecked());
        QVERIFY(mail.clientRoute && !mail.smtpRoute);
        for (QWidget* w : server)
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        window->sinGestorMail->click();
        QVERIFY(!window->conGestorMail->isChecked());
        QVERIFY(mail.smtpRoute && !mail.clientRoute);
        for (QWidget* w : server)
            QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    }

    void acceptWritesTheMailLinesOwnerOnly()
    {
        settings->Replace(14, QStringLiteral("measure point"));
        OpenAndPress(&TConfigMails::AcceptBtn, [this] {
            Type(window->EditDestinyAddress, "ops@example.org");
            Type(window->Password, "two words");
            Type(window->Host, "mail.example.org:2525");
            window->AuthType->setCurrentIndex(1);
            window->Mail2->click();
            window->conGestorMail->click();
        });
        QVERIFY(!window->isVisible());
        Settings file(folder->Path());
        QCOMPARE(file.Load(), Settings::LoadResult::Loaded);
        QCOMPARE(file.Line(13), QString("ops@example.org"));
        QCOMPARE(file.Line(14), QString("measure point"));
        QCOMPARE(file.Line(19), QString("two words"));
        QCOMPARE(file.Line(20), QString("mail.example.org:2525"));
        QCOMPARE(file.Line(21), QString("1"));
        QCOMPARE(file.Lines().mid(22, 4), (QStringList{"false", "true", "true", "false"}));
        QCOMPARE(QFile(file.FilePath()).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                                         QFileDevice::WriteGroup | QFileDevice::WriteOther),
                 QFileDevice::Permissions());
        QVERIFY(dialogs.messages.isEmpty());
    }

    void cancelKeepsTheTypedValuesForSendingButNotInTheFile()
    {
        settings->Replace(20, QStringLiteral("old.example.org"));
        QVERIFY(settings->Save());
        OpenAndPress(&TConfigMails::CancelBtn, [this] { Type(window->Host, "new.example.org"); });
        QVERIFY(!window->isVisible());
        QCOMPARE(mail.host, QString("new.example.org"));
        Settings file(folder->Path());
        file.Load();
        QCOMPARE(file.Line(20), QString("old.example.org"));
    }

    void aFailedSaveIsShownInTheLanguageAndTheWindowStillCloses()
    {
        settings->Replace(0, QStringLiteral("spanish"));
        // A folder where the file should be: the save cannot replace it.
        QVERIFY(QDir(folder->Path()).mkdir("config.cfg"));
        OpenAndPress(&TConfigMails::AcceptBtn);
        QVERIFY(!window->isVisible());
        QCOMPARE(dialogs.messages,
                 QStringList{"No se puede guarda fichero " + QDir::toNativeSeparators(settings->FilePath())});
    }

    void showSettingsRunsTheClickHandlingOfWhatTheFileSwitchesOn()
    {
        const struct {
            QStringList lines;  // 22..25
            bool sin, con, mail2, mail3, mail3Enabled, serverEnabled;
        } cases[] = {
            {{"false", "true", "true", "true"}, false, true, true, true, true, false},
            {{"", "", "", ""}, false, false, false, false, false, true},
            {{"true", "false", "false", "true"}, true, false, false, true, false, true},  // hand-edited
        };
        for (const auto& c : cases) {
            mail = MailSettings();
            window = std::make_unique<TConfigMails>(*station, mail);
            for (int i = 0; i < 4; ++i)
                CopyMailSettingsLine(mail, 22 + i, c.lines[i]);
            CopyMailSettingsLine(mail, 21, "x");
            window->ShowSettings();
            QCOMPARE(window->sinGestorMail->isChecked(), c.sin);
            QCOMPARE(window->conGestorMail->isChecked(), c.con);
            QCOMPARE(window->Mail2->isChecked(), c.mail2);
            QCOMPARE(window->Mail3->isChecked(), c.mail3);
            QCOMPARE(window->Mail3->isEnabled(), c.mail3Enabled);
            QCOMPARE(window->Host->isEnabled(), c.serverEnabled);
            QCOMPARE(window->AuthType->currentIndex(), -1);
            QCOMPARE(mail.mail3, c.mail3);
        }
    }

    // The start-up loader fills the window from config.cfg, Test Mailing
    // sends with what the window holds, and the run's mailer is the same.
    void startUpLoadsTheMailLinesAndTheMenuSendsWithThem()
    {
        Settings file(folder->Path());
        file.Replace(0, QStringLiteral("spanish"));
        file.Replace(13, QStringLiteral("ops@example.org"));
        file.Replace(14, QStringLiteral("measure point"));
        file.Replace(20, QStringLiteral("127.0.0.1:1"));  // nothing listens on port 1
        file.Replace(21, QStringLiteral("1"));
        file.Replace(22, QStringLiteral("true"));
        file.Replace(24, QStringLiteral("true"));
        QVERIFY(file.Save());

        Program program(clock, dialogs, system, folder->Path());
        program.CreateWindows(false);
        QCOMPARE(program.workspace.mailer, static_cast<Mailer*>(&program.Mail->delivery));
        TConfigMails& mails = *program.ConfigMails;
        QCOMPARE(mails.EditDestinyAddress->text(), QString("ops@example.org"));
        QCOMPARE(mails.Host->text(), QString("127.0.0.1:1"));
        QCOMPARE(mails.AuthType->currentText(), QString("atNone"));
        QVERIFY(mails.sinGestorMail->isChecked());
        QVERIFY(mails.Mail3->isEnabled());
        QCOMPARE(mails.Label10->text(), QString("Datos de Correo :"));

        dialogs.messages.clear();
        program.VigiloForm->TestSendMail->trigger();
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages[0].startsWith("Exception class: ESmtpConnectError\nMessage: "),
                 qPrintable(dialogs.messages[0]));
    }

    void captionsFollowTheLanguage()
    {
        station->AnnounceLanguage(Language::Spanish);
        QCOMPARE(window->conGestorMail->text(), QString("Usar mi cliente de correo electrónico"));
        QCOMPARE(window->Mail3->text(), QString("Activar"));
        QCOMPARE(window->AcceptBtn->text(), QString("&Accept"));
        station->AnnounceLanguage(Language::English);
        QCOMPARE(window->sinGestorMail->text(), QString("Do not use my email client"));
        QCOMPARE(window->LabelDestiny3Address->text(), QString("Third Recipient :"));
    }
};

QTEST_MAIN(ConfigMailsTest)
#include "config_mails_test.moc"
