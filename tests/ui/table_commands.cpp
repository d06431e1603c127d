// SPDX-License-Identifier: GPL-3.0-or-later
// The test point set and Measurements table commands of the main window, with
// scripted file dialogs and questions.
#include "app/main_window.h"
#include "app/program_ui.h"
#include "sim/virtual_clock.h"
#include "reports/report_table_window.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"
#include "testpoints/acq_table_window.h"
#include "testpoints/data_module.h"
#include "testpoints/dataset_model.h"
#include "testpoints/hidden_files.h"
#include "testpoints/table_commands_ui.h"
#include "testpoints/table_layouts.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QToolButton>
#include <QTableView>
#include <QtTest>

#include <memory>

class TableCommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<VirtualClock> m_clock;
    std::unique_ptr<RecordingDialogs> m_dialogs;
    std::unique_ptr<FakeSystemCommands> m_system;
    std::unique_ptr<Program> m_program;

    TVigilo& Main() { return *m_program->VigiloForm; }
    TableCommands& Commands() { return *m_program->TableCommandsOfMain; }
    QString TestPoints(const QString& name) { return TestPointsFolder() + QLatin1Char('/') + name; }
    QString Measurements(const QString& name) { return MeasurementsFolder() + QLatin1Char('/') + name; }

    // A test point set file with the given channels, written outside the program.
    void WriteSet(const QString& path, const QStringList& channels, const std::vector<FieldDef>& layout)
    {
        Dataset set(QString(), path);
        set.CreateTable(layout);
        set.Open();
        for (const QString& ch : channels) {
            set.Append();
            set.SetText(QStringLiteral("ch"), ch);
            set.Post();
        }
        set.Close();
    }

    static QStringList Channels(Dataset& table)
    {
        QStringList out;
        for (table.First(); !table.Eof(); table.Next())
            out.append(table.Text(QStringLiteral("ch")));
        return out;
    }

    void AddRow(const QString& ch)
    {
        m_program->workspace.AcquiredTable.Append();
        m_program->workspace.AcquiredTable.SetText(QStringLiteral("ch"), ch);
        m_program->workspace.AcquiredTable.Post();
        m_program->workspace.testPointSetModified = true;
    }

    void NewMeasurements(const QString& name = QStringLiteral("m.db"))
    {
        m_dialogs->saveAnswers.push_back(Measurements(name));
        Commands().NewReportBtnClick();
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempProgramFolder>();
        m_clock = std::make_unique<VirtualClock>();
        m_dialogs = std::make_unique<RecordingDialogs>();
        m_system = std::make_unique<FakeSystemCommands>();
        m_program = std::make_unique<Program>(*m_clock, *m_dialogs, *m_system, m_folder->Path());
        m_program->CreateWindows(false);
        m_dialogs->messages.clear();  // the missing settings file at first start
    }

    void cleanup()
    {
        m_program.reset();
        m_folder.reset();
    }

    void startUpCreatesFoldersAndWindowsWithTableCommandsDisabled()
    {
        for (const char* sub : {"TestPoints", "Terrestrial", "Satellite", "Measurements", "Filter", "SaveReports"})
            QVERIFY2(QFileInfo(m_folder->File(QStringLiteral("Database/") + QLatin1String(sub))).isDir(), sub);
        QVERIFY(m_program->FAcqTable && m_program->FRepTable && m_program->DataModule1);
        QCOMPARE(m_program->DataModule1->SatTable.TableName(), QStringLiteral("13E_HOTBIRD.DB"));
        QVERIFY(!m_program->FAcqTable->DBGrid1->isEnabled());
        for (QWidget* w : {static_cast<QWidget*>(Main().NewAcqButton), static_cast<QWidget*>(Main().OpenAcquisition),
                           static_cast<QWidget*>(Main().SaveTP), static_cast<QWidget*>(Main().SearchComBtn)})
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        QVERIFY(!m_program->workspace.AcquiredTable.IsOpen());
        QVERIFY(m_dialogs->messages.isEmpty());
    }

    void stepsBecomeAvailableInOrder()
    {
        NewMeasurements();
        QVERIFY(m_program->workspace.ReportTable.IsOpen());
        QVERIFY(Main().NewAcqButton->isEnabled() && Main().OpenAcquisition->isEnabled());
        QVERIFY(Main().NewTestPoint->isEnabled() && Main().OpenTestPoint->isEnabled());
        QVERIFY(Main().Exporttocsv1->isEnabled());
        QVERIFY(!Main().SaveTP->isEnabled() && !Main().SearchComBtn->isEnabled());
        QCOMPARE(m_program->FRepTable->windowTitle(), Measurements(QStringLiteral("m.db")));

        Commands().NewAcqButtonClick();
        QVERIFY(m_dialogs->questions.isEmpty());
        QVERIFY(m_program->workspace.AcquiredTable.IsOpen());
        QVERIFY(Main().SaveTP->isEnabled() && Main().SaveTP1->isEnabled());
        QVERIFY(Main().SearchComBtn->isEnabled() && Main().EditTPTable->isEnabled());
        QVERIFY(!Main().RunMeasureBtn->isEnabled());
        QCOMPARE(m_program->FAcqTable->windowTitle(), WorkingCopyPath());
        QVERIFY(IsTableHidden(WorkingCopyPath()));

        // The grid stays disabled until the first row of the empty set.
        QVERIFY(!m_program->FAcqTable->DBGrid1->isEnabled());
        m_program->workspace.AcquiredTable.Append();
        QVERIFY(m_program->FAcqTable->DBGrid1->isEnabled());
        m_program->workspace.AcquiredTable.Post();
        QCOMPARE(m_program->workspace.AcquiredTable.Text(QStringLiteral("index")), QStringLiteral("1"));
        QVERIFY(m_dialogs->messages.isEmpty());
    }

    void newSetWithoutOpenSetReplacesWorkingCopyWithoutPrompt()
    {
        WriteSet(WorkingCopyPath(), {QStringLiteral("OLD")}, TestPointFields());
        NewMeasurements();
        Commands().NewAcqButtonClick();
        QVERIFY(m_dialogs->questions.isEmpty());
        QCOMPARE(m_program->workspace.AcquiredTable.RecordCount(), 0);
    }

    void answeringNoLosesTheChanges_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("new") << false;
        QTest::newRow("open") << true;
    }
    void answeringNoLosesTheChanges()
    {
        QFETCH(bool, open);
        WriteSet(TestPoints(QStringLiteral("saved.db")), {QStringLiteral("S1")}, TestPointFields());
        NewMeasurements();
        Commands().NewAcqButtonClick();
        AddRow(QStringLiteral("LOST"));
        m_dialogs->answers.push_back(false);
        if (open) {
            m_dialogs->openAnswers.push_back(TestPoints(QStringLiteral("saved.db")));
            Commands().OpenAcquisitionClick();
        } else {
            Commands().NewAcqButtonClick();
        }
        QCOMPARE(m_dialogs->questions,
                 QStringList{QStringLiteral("Save as|The test point table has been modified, do you want to save change?")});
        QVERIFY(m_dialogs->saveRequests.size() == 1);  // only the Measurements table's
        QCOMPARE(Channels(m_program->workspace.AcquiredTable), open ? QStringList{QStringLiteral("S1")} : QStringList{});
        QVERIFY(!m_program->workspace.testPointSetModified);
        Dataset saved(QString(), TestPoints(QStringLiteral("saved.db")));
        saved.Open();
        QCOMPARE(Channels(saved), QStringList{QStringLiteral("S1")});
    }

    void answeringYesSavesBeforeANewSet()
    {
        NewMeasurements();
        Commands().NewAcqButtonClick();
        AddRow(QStringLiteral("KEEP"));
        m_dialogs->answers.push_back(true);
        m_dialogs->saveAnswers.push_back(TestPoints(QStringLiteral("kept.db")));
        Commands().NewAcqButtonClick();
        Dataset kept(QString(), TestPoints(QStringLiteral("kept.db")));
        kept.Open();
        QCOMPARE(Channels(kept), QStringList{QStringLiteral("KEEP")});
        QCOMPARE(m_program->workspace.AcquiredTable.RecordCount(), 0);
    }

    // Yes asks for the changes to be kept: a save that fails or a refused name
    // ends the new or open command before it replaces the working copy.
    void unsavedChangesSurviveAFailedSaveFromThePrompt_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("refusedName");
        QTest::newRow("new, save fails") << false << false;
        QTest::newRow("open, save fails") << true << false;
        QTest::newRow("new, working copy name") << false << true;
        QTest::newRow("open, working copy name") << true << true;
    }
    void unsavedChangesSurviveAFailedSaveFromThePrompt()
    {
        QFETCH(bool, open);
        QFETCH(bool, refusedName);
        WriteSet(TestPoints(QStringLiteral("other.db")), {QStringLiteral("O1")}, TestPointFields());
        NewMeasurements();
        Commands().NewAcqButtonClick();
        AddRow(QStringLiteral("KEEP"));
        m_dialogs->answers.push_back(true);
        m_dialogs->saveAnswers.push_back(refusedName ? WorkingCopyPath()
                                                     : TestPoints(QStringLiteral("no/such/folder/kept.db")));
        if (open) {
            m_dialogs->openAnswers.push_back(TestPoints(QStringLiteral("other.db")));
            Commands().OpenAcquisitionClick();
        } else {
            Commands().NewAcqButtonClick();
        }
        QCOMPARE(m_dialogs->messages.size(), 1);
        QVERIFY(m_program->workspace.AcquiredTable.IsOpen());
        QCOMPARE(Channels(m_program->workspace.AcquiredTable), QStringList{QStringLiteral("KEEP")});
        QVERIFY(m_program->workspace.testPointSetModified);
    }

    void saveOverExistingFileReplacesItVisibleAndKeepsWorkingCopyHidden()
    {
        const QString target = TestPoints(QStringLiteral("set.db"));
        WriteSet(target, {QStringLiteral("X"), QStringLiteral("Y")}, TestPointFields());
        QFile side(TestPoints(QStringLiteral("set.VAL")));
        QVERIFY(side.open(QIODevice::WriteOnly));
        side.close();
        NewMeasurements();
        Commands().NewAcqButtonClick();
        AddRow(QStringLiteral("A"));
        AddRow(QStringLiteral("B"));

        m_dialogs->saveAnswers.push_back(target);
        Commands().SaveTPClick();
        QVERIFY(m_dialogs->messages.isEmpty());
        QVERIFY(!m_program->workspace.testPointSetModified);
        QCOMPARE(m_program->FAcqTable->windowTitle(), target);
        QVERIFY(!IsTableHidden(target));
        QVERIFY(IsTableHidden(WorkingCopyPath()));
        QVERIFY(!side.exists());
        QVERIFY(m_program->workspace.AcquiredTable.IsOpen());
        QCOMPARE(m_program->workspace.AcquiredTable.FilePath(), WorkingCopyPath());
        Dataset saved(QString(), target);
        saved.Open();
        QCOMPARE(Channels(saved), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));

        // Numbers continue in the saved set after it is opened again.
        m_dialogs->openAnswers.push_back(target);
        Commands().OpenAcquisitionClick();
        m_program->workspace.AcquiredTable.Append();
        m_program->workspace.AcquiredTable.Post();
        QCOMPARE(m_program->workspace.AcquiredTable.Text(QStringLiteral("index")), QStringLiteral("3"));

        // The working copy itself is no name to save under.
        m_dialogs->saveAnswers.push_back(WorkingCopyPath());
        Commands().SaveTPClick();
        QCOMPARE(m_dialogs->messages.size(), 1);
        QVERIFY(m_program->workspace.AcquiredTable.IsOpen());
        QCOMPARE(m_program->workspace.AcquiredTable.RecordCount(), 3);
    }

    void tablesOpenInTheStationAreNotReplaced_data()
    {
        QTest::addColumn<bool>("saveSet");
        QTest::newRow("set saved onto the open Measurements table") << true;
        QTest::newRow("Measurements table created onto the working copy") << false;
    }
    void tablesOpenInTheStationAreNotReplaced()
    {
        QFETCH(bool, saveSet);
        NewMeasurements();
        Dataset& report = m_program->workspace.ReportTable;
        report.Append();
        report.SetText(QStringLiteral("ch"), QStringLiteral("R1"));
        report.Post();
        Commands().NewAcqButtonClick();
        AddRow(QStringLiteral("A"));

        if (saveSet) {
            m_dialogs->saveAnswers.push_back(Measurements(QStringLiteral("m.db")));
            Commands().SaveTPClick();
        } else {
            m_dialogs->saveAnswers.push_back(WorkingCopyPath());
            Commands().NewReportBtnClick();
        }
        QCOMPARE(m_dialogs->messages.size(), 1);
        QVERIFY2(m_dialogs->messages.front().endsWith(QStringLiteral(" is open in the station and cannot be replaced.")),
                 qPrintable(m_dialogs->messages.front()));
        QVERIFY(m_program->workspace.AcquiredTable.IsOpen());
        QCOMPARE(Channels(m_program->workspace.AcquiredTable), QStringList{QStringLiteral("A")});
        // The refusal comes before anything is closed.
        QVERIFY(report.IsOpen());
        QCOMPARE(Channels(report), QStringList{QStringLiteral("R1")});
        Dataset measurements(QString(), Measurements(QStringLiteral("m.db")));
        measurements.Open();
        QCOMPARE(Channels(measurements), QStringList{QStringLiteral("R1")});
    }

    void newMeasurementsTableOverExistingFileStartsEmpty()
    {
        const QString path = Measurements(QStringLiteral("old.db"));
        WriteSet(path, {QStringLiteral("R1"), QStringLiteral("R2")}, MeasurementFields());
        m_dialogs->saveAnswers.push_back(path);
        Commands().NewReportBtnClick();
        QVERIFY(m_program->workspace.ReportTable.IsOpen());
        QCOMPARE(m_program->workspace.ReportTable.RecordCount(), 0);
        QCOMPARE(m_program->workspace.ReportTable.Fields().size(), MeasurementFields().size());
    }

    void cancelledDialogsChangeNothing()
    {
        NewMeasurements(QStringLiteral("kept.db"));
        Commands().NewReportBtnClick();  // cancelled
        Commands().OpenReportBtnClick();  // cancelled
        QVERIFY(m_program->workspace.ReportTable.IsOpen());
        QCOMPARE(m_program->workspace.ReportTable.FilePath(), Measurements(QStringLiteral("kept.db")));
        Commands().OpenAcquisitionClick();  // cancelled
        QVERIFY(!m_program->workspace.AcquiredTable.IsOpen());
        QVERIFY(Main().TPointConfig1->isEnabled());  // enabled before the dialog
        Commands().NewAcqButtonClick();
        AddRow(QStringLiteral("A"));
        Commands().SaveTPClick();  // cancelled
        QVERIFY(m_program->workspace.testPointSetModified);
        QVERIFY(m_dialogs->messages.isEmpty());
    }

    void fileDialogsOfferTablesInTheirFolders()
    {
        NewMeasurements();
        Commands().OpenReportBtnClick();
        Commands().NewAcqButtonClick();
        Commands().OpenAcquisitionClick();
        Commands().SaveTPClick();
        QCOMPARE(m_dialogs->saveRequests.size(), size_t(2));
        QCOMPARE(m_dialogs->openRequests.size(), size_t(2));
        const auto& saveReport = m_dialogs->saveRequests[0];
        const auto& saveSet = m_dialogs->saveRequests[1];
        const auto& openReport = m_dialogs->openRequests[0];
        const auto& openSet = m_dialogs->openRequests[1];
        for (const FileDialogRequest* r : {&saveReport, &saveSet, &openReport, &openSet})
            QCOMPARE(r->filter, QStringLiteral("Paradox(*.db)"));
        QCOMPARE(saveReport.initialFolder, MeasurementsFolder());
        QCOMPARE(openReport.initialFolder, MeasurementsFolder());
        QCOMPARE(saveSet.initialFolder, TestPointsFolder());
        QCOMPARE(openSet.initialFolder, TestPointsFolder());
        QVERIFY(saveReport.confirmOverwrite && saveSet.confirmOverwrite);
        QCOMPARE(saveReport.defaultExtension, QStringLiteral("db"));
        QCOMPARE(openSet.defaultExtension, QStringLiteral("db"));
        QVERIFY(openReport.defaultExtension.isEmpty());
    }

    void openReportEnablesByTimeOnly()
    {
        const QString path = Measurements(QStringLiteral("run.db"));
        WriteSet(path, {QStringLiteral("R1")}, MeasurementFields());
        Main().MinMaxAvg1->setEnabled(true);
        m_dialogs->openAnswers.push_back(path);
        Commands().OpenReportBtnClick();
        QCOMPARE(m_program->workspace.ReportTable.RecordCount(), 1);
        QVERIFY(Main().ViewCompletedReportBtn->isEnabled() && Main().byTime1->isEnabled());
        QVERIFY(!Main().ViewGroupedReportBtn->isEnabled() && !Main().ViewFilteredReportBtn->isEnabled());
        QVERIFY(!Main().MinMaxAvg1->isEnabled() && !Main().byTestPoint1->isEnabled() && !Main().byAlarm1->isEnabled());
        QCOMPARE(m_program->FRepTable->DBGrid2->model()->rowCount(), 1);
    }

    void setWithoutLayerOpensAndNonTableFileIsRefused()
    {
        std::vector<FieldDef> older = TestPointFields();
        older.erase(older.begin() + 2);  // no `layer`
        const QString path = TestPoints(QStringLiteral("older.db"));
        WriteSet(path, {QStringLiteral("E21")}, older);
        NewMeasurements();
        m_dialogs->openAnswers.push_back(path);
        Commands().OpenAcquisitionClick();
        QVERIFY(m_program->workspace.AcquiredTable.IsOpen());
        QVERIFY(!m_program->workspace.AcquiredTable.HasField(QStringLiteral("layer")));
        QCOMPARE(Channels(m_program->workspace.AcquiredTable), QStringList{QStringLiteral("E21")});
        QCOMPARE(m_program->FAcqTable->windowTitle(), path);
        QVERIFY(m_program->FAcqTable->DBGrid1->isEnabled());

        const QString junk = TestPoints(QStringLiteral("junk.db"));
        QFile file(junk);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("plain text, not a table");
        file.close();
        m_dialogs->openAnswers.push_back(junk);
        Commands().OpenAcquisitionClick();
        QCOMPARE(m_dialogs->messages.size(), 1);
        QVERIFY(m_dialogs->messages.first().contains(QStringLiteral("junk.db")));
        Dataset working(QString(), WorkingCopyPath());
        working.Open();
        QCOMPARE(Channels(working), QStringList{QStringLiteral("E21")});
    }

    void gridsShowColumnsWithTheirWidthsAndClickSelectsTheTestPoint()
    {
        NewMeasurements();
        Commands().NewAcqButtonClick();
        for (const char* ch : {"E21", "E22", "E23"})
            AddRow(QString::fromLatin1(ch));
        QTableView* grid = m_program->FAcqTable->DBGrid1;
        QCOMPARE(grid->model()->columnCount(), 31);
        QCOMPARE(grid->model()->headerData(25, Qt::Horizontal).toString(), QStringLiteral("minCBER"));
        QCOMPARE(grid->columnWidth(14), 85);  // plan
        QCOMPARE(grid->columnWidth(2), 64);   // layer: default
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
        QTableView* reports = m_program->FRepTable->DBGrid2;
        QCOMPARE(reports->columnWidth(25), 79);  // Longitude
        QCOMPARE(reports->columnWidth(19), 64);  // VBER: default

        int loads = 0;
        m_program->FAcqTable->loadAlarmWindow = [&] { ++loads; };
        m_program->FAcqTable->DBGrid1CellClick(grid->model()->index(1, 3));
        QCOMPARE(m_program->workspace.AcquiredTable.Text(QStringLiteral("ch")), QStringLiteral("E22"));
        QCOMPARE(loads, 1);
        QCOMPARE(grid->model()->headerData(1, Qt::Vertical).toString(), QStringLiteral("\u25B6"));
        m_program->workspace.AcquiredTable.First();
        QCOMPARE(grid->selectionModel()->selectedRows().value(0).row(), 0);
    }
};

QTEST_MAIN(TableCommandsTest)
#include "table_commands.moc"
