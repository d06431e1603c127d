// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"
#include "app/program_ui.h"
#include "platform/settings.h"
#include "reports/acquired_report.h"
#include "reports/company_data_window.h"
#include "sim/virtual_clock.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

// The company data window as start-up builds it, with the settings file of a
// station that has been used before.
class CompanyDataWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<RecordingDialogs> dialogs;
    std::unique_ptr<FakeSystemCommands> system;
    std::unique_ptr<Program> program;

    TDataCompany& Company() { return *program->DataCompany; }
    TAcquiredQReport& Report() { return program->workspace.AcquiredQReport(); }

    void Start(const QByteArray& language)
    {
        QByteArray lines = language + "\r\n";
        for (int line = 1; line <= 25; ++line)
            lines += "line" + QByteArray::number(line) + "\r\n";
        QFile file(folder->File(QStringLiteral("config.cfg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(lines);
        file.close();
        program = std::make_unique<Program>(*clock, *dialogs, *system, folder->Path());
        program->CreateWindows(false);
        QVERIFY(program->DataCompany);
    }

    QStringList StoredLines() const
    {
        Settings stored(folder->Path());
        stored.Load();
        return stored.Lines().mid(0, 16);
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        clock = std::make_unique<VirtualClock>();
        dialogs = std::make_unique<RecordingDialogs>();
        system = std::make_unique<FakeSystemCommands>();
    }
    void cleanup()
    {
        program.reset();
        folder.reset();
    }

    void StartUpFillsTheEditsAndLeavesTheReportNumberEmpty()
    {
        Start("english");
        QCOMPARE(Company().EditName->text(), QStringLiteral("line1"));
        QCOMPARE(Company().EditWebsite->text(), QStringLiteral("line10"));
        QCOMPARE(Company().EditTechnicianName->text(), QStringLiteral("line11"));
        QCOMPARE(Company().EditSerialNumber->text(), QStringLiteral("line12"));
        QCOMPARE(Company().EditMeasurePoint->text(), QStringLiteral("line14"));
        QVERIFY(Company().EditReportNumber->text().isEmpty());
        // The header waits for the accept action.
        QCOMPARE(Report().LabelText(QStringLiteral("QRLabelName1")), TAcquiredQReport::NoData());
    }

    void EditsRefuseTextBeyondTheirLimit_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("limit");
        QTest::newRow("name") << "EditName" << 43;
        QTest::newRow("website") << "EditWebsite" << 43;
        QTest::newRow("technician") << "EditTechnicianName" << 40;
        QTest::newRow("report number") << "EditReportNumber" << 40;
        QTest::newRow("serial") << "EditSerialNumber" << 40;
    }
    void EditsRefuseTextBeyondTheirLimit()
    {
        QFETCH(QString, edit);
        QFETCH(int, limit);
        Start("english");
        auto* box = Company().findChild<QLineEdit*>(edit);
        QVERIFY(box);
        box->clear();
        QTest::keyClicks(box, QString(50, QLatin1Char('x')));
        QCOMPARE(box->text().size(), limit);
    }

    void AcceptCopiesToTheHeaderAndStoresAllButTheReportNumber()
    {
        Start("english");
        Company().EditName->setText(QStringLiteral("Acme"));
        Company().EditReportNumber->setText(QStringLiteral("R7"));
        Company().EditMeasurePoint->setText(QStringLiteral("Roof"));
        // Through the menu item, as the user does: the window is modal.
        QTimer::singleShot(0, &Company(), [this] {
            QVERIFY(Company().isVisible());
            Company().BitBtnAcceptData->click();
        });
        program->VigiloForm->DataReport1->trigger();
        QVERIFY(!Company().isVisible());
        QCOMPARE(Report().LabelText(QStringLiteral("QRLabelName1")), QStringLiteral("Acme"));
        QCOMPARE(Report().LabelText(QStringLiteral("QRLabelReportNumber1")), QStringLiteral("R7"));
        QCOMPARE(Report().LabelText(QStringLiteral("QRLabelMeasurePoint1")), QStringLiteral("Roof"));
        QCOMPARE(Report().LabelText(QStringLiteral("QRLabelSerial1")), QStringLiteral("line12"));
        const QStringList stored = StoredLines();
        QCOMPARE(stored.at(1), QStringLiteral("Acme"));
        QCOMPARE(stored.at(13), QStringLiteral("line13"));  // a mail setting: untouched
        QCOMPARE(stored.at(14), QStringLiteral("Roof"));
        QCOMPARE(stored.at(15), QStringLiteral("line15"));
        QVERIFY(!stored.contains(QStringLiteral("R7")));
        QVERIFY(dialogs->messages.isEmpty());
    }

    void CancelSavesNothingAndTheNextAcceptTakesTheTypedTexts()
    {
        Start("english");
        const QStringList before = StoredLines();
        QTimer::singleShot(0, &Company(), [this] {
            QTest::keyClicks(Company().EditTown, QStringLiteral("-typed"));
            Company().BitBtn1->click();
        });
        program->VigiloForm->DataReport1->trigger();
        QCOMPARE(StoredLines(), before);
        QCOMPARE(Report().LabelText(QStringLiteral("QRLabelTown1")), TAcquiredQReport::NoData());
        QCOMPARE(Company().EditTown->text(), QStringLiteral("line4-typed"));
        // Every report command runs the accept action first.
        program->workspace.acceptCompanyData();
        QCOMPARE(Report().LabelText(QStringLiteral("QRLabelTown1")), QStringLiteral("line4-typed"));
        QCOMPARE(StoredLines().at(4), QStringLiteral("line4-typed"));
    }

    void CaptionsFollowTheLanguage_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("technician");
        QTest::addColumn<QString>("group");
        QTest::newRow("english") << QByteArray("english") << "Name :" << "Technician\u00b4s Name :"
                                 << "Company's Data:";
        QTest::newRow("spanish") << QByteArray("spanish") << "Nombre :" << "Nombre del técnico :"
                                 << "Datos de la empresa:";
    }
    void CaptionsFollowTheLanguage()
    {
        QFETCH(QByteArray, language);
        QFETCH(QString, name);
        QFETCH(QString, technician);
        QFETCH(QString, group);
        Start(language);
        QCOMPARE(Company().Label1->text(), name);
        QCOMPARE(Company().Label12->text(), technician);
        QCOMPARE(Company().Label10->text(), group);
        QCOMPARE(Company().Label7->text(), QStringLiteral("Fax :"));
        QCOMPARE(Company().BitBtnAcceptData->text(), QStringLiteral("&Accept"));
        // The language commands switch it while it lives.
        program->VigiloForm->English1Click();
        QCOMPARE(Company().Label3->text(), QStringLiteral("Postcode :"));
        program->VigiloForm->Spanish1Click();
        QCOMPARE(Company().Label3->text(), QStringLiteral("Código Postal :"));
        QCOMPARE(Company().Label16->text(), QStringLiteral("Datos del medidor:"));
    }

    void ModelNameOfThePortSearchReachesTheHeader()
    {
        Start("english");
        QCOMPARE(Report().LabelText(QStringLiteral("QRLabelModel1")), TAcquiredQReport::NoData());
        program->VigiloForm->reportModelName(QStringLiteral("ORBIMETER HD+"));
        QCOMPARE(Report().LabelText(QStringLiteral("QRLabelModel1")), QStringLiteral("ORBIMETER HD+"));
    }
};

QTEST_MAIN(CompanyDataWindowTest)
#include "company_data_window_test.moc"
