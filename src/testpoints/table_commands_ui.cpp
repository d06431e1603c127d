#include "testpoints/table_commands_ui.h"

#include "app/main_window.h"
#include "workspace/workspace.h"
#include "platform/texts.h"
#include "platform/errors.h"
#include "platform/program_folder.h"
#include "platform/user_dialogs.h"
#include "reports/report_table_window.h"
#include "testpoints/acq_table_window.h"
#include "testpoints/hidden_files.h"
#include "testpoints/table_layouts.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTableView>

namespace {
// The side file an older engine kept beside a table: the name with its last
// two characters ("db") replaced by "VAL".
QString SideValFile(const QString& path)
{
    return path.left(path.size() - 2) + QStringLiteral("VAL");
}

FileDialogRequest TableDialog(const QString& folder, bool defaultExtension, bool confirmOverwrite)
{
    FileDialogRequest request;
    request.filter = texts::kParadoxFilter.English();
    request.defaultExtension = defaultExtension ? QStringLiteral("db") : QString();
    request.initialFolder = folder;
    request.confirmOverwrite = confirmOverwrite;
    request.mustExist = true;
    return request;
}

bool SameFile(const QString& a, const QString& b)
{
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

void ShowOnTop(QWidget* window)
{
    window->show();
    window->raise();
}
}  // namespace

TableCommands::TableCommands(Workspace& workspace, TVigilo& main, TFAcqTable& acqTable, TFRepTable& repTable)
    : m_workspace(workspace), m_main(main), m_acqTable(acqTable), m_repTable(repTable)
{
    setObjectName(QStringLiteral("TableCommands"));
    m_workspace.AcquiredTable.afterInsert = [this] { AcquiredTableAfterInsert(); };
}

void TableCommands::Connect()
{
    connect(m_main.NewReportBtn, &QPushButton::clicked, this, &TableCommands::NewReportBtnClick);
    connect(m_main.NewReport, &QAction::triggered, this, &TableCommands::NewReportBtnClick);
    connect(m_main.OpenReportBtn, &QPushButton::clicked, this, &TableCommands::OpenReportBtnClick);
    connect(m_main.OpenReport, &QAction::triggered, this, &TableCommands::OpenReportBtnClick);
    connect(m_main.NewAcqButton, &QPushButton::clicked, this, &TableCommands::NewAcqButtonClick);
    connect(m_main.NewTestPoint, &QAction::triggered, this, &TableCommands::NewAcqButtonClick);
    connect(m_main.OpenAcquisition, &QPushButton::clicked, this, &TableCommands::OpenAcquisitionClick);
    connect(m_main.OpenTestPoint, &QAction::triggered, this, &TableCommands::OpenAcquisitionClick);
    connect(m_main.SaveTP, &QPushButton::clicked, this, &TableCommands::SaveTPClick);
    connect(m_main.SaveTP1, &QAction::triggered, this, &TableCommands::SaveTPClick);
    connect(m_main.TestPoint1, &QAction::triggered, this, &TableCommands::TestPoint1Click);
    connect(m_main.TableReport1, &QAction::triggered, this, &TableCommands::TableReport1Click);
}

void TableCommands::Report(const std::function<void()>& body)
{
    RunReportingErrors(m_workspace.dialogs, body);
}

void TableCommands::SetModified(bool modified)
{
    m_workspace.testPointSetModified = modified;
}

void TableCommands::Enable(const std::function<void(bool)>& target, bool on)
{
    if (target)
        target(on);
}

void TableCommands::AcquiredTableAfterInsert()
{
    m_acqTable.DBGrid1->setEnabled(true);
}

bool TableCommands::PromptSaveIfModified()
{
    const QString text = Pick(m_workspace.settings, texts::kTestPointSetModified).value_or(QString());
    if (m_workspace.dialogs.AskYesNo(texts::kSaveAsCaption.English(), text))
        return SaveTestPointSet();
    return true;
}

void TableCommands::NewAcqButtonClick()
{
    Report([this] {
        Dataset& table = m_workspace.AcquiredTable;
        if (table.IsOpen()) {
            if (m_workspace.testPointSetModified && !PromptSaveIfModified())
                return;
            table.Close();
        }
        SetModified(false);
        const QString folder = TestPointsFolder();
        const QString working = WorkingCopyPath();
        m_acqTable.setWindowTitle(working);

        table.SetDatabaseName(QString::fromUtf8(dbnames::kTestPoints));
        table.SetTableName(working);
        SetTableHidden(working, false);
        table.CreateTable(TestPointFields());
        SetTableHidden(working, true);
        QFile::remove(SideValFile(working));

        m_main.EditTPTable->setEnabled(true);
        Enable(targets.setDBWarningEnabled, true);
        m_main.SearchComBtn->setEnabled(true);
        m_main.SaveTP->setEnabled(true);
        m_main.SaveTP1->setEnabled(true);
        m_acqTable.DBGrid1->setEnabled(false);
        Enable(targets.setEditorEditEnabled, false);
        Enable(targets.setEditorInsertEnabled, false);
        m_main.ViewGroupedReportBtn->setEnabled(false);
        m_main.ViewFilteredReportBtn->setEnabled(false);

        table.Open();
        ShowOnTop(&m_acqTable);
    });
}

void TableCommands::OpenAcquisitionClick()
{
    Report([this] {
        m_main.TPointConfig1->setEnabled(true);
        const QString chosen =
            m_workspace.dialogs.AskOpenFile(TableDialog(TestPointsFolder(), true, false));
        if (chosen.isEmpty())
            return;
        Dataset& table = m_workspace.AcquiredTable;
        if (table.IsOpen()) {
            if (m_workspace.testPointSetModified && !PromptSaveIfModified())
                return;
            table.Close();
        }
        SetModified(false);
        const QString working = WorkingCopyPath();
        SetTableHidden(working, false);
        // The copy replaces the working copy only once it is complete, and a
        // file that is not a table leaves the working copy as it was.
        CopyTableFile(chosen, working);
        SetTableHidden(working, true);

        table.SetDatabaseName(QString::fromUtf8(dbnames::kTestPoints));
        table.SetTableName(working);
        m_acqTable.setWindowTitle(QFileInfo(chosen).absoluteFilePath());
        table.Open();

        m_main.EditTPTable->setEnabled(true);
        Enable(targets.setDBWarningEnabled, true);
        m_acqTable.DBGrid1->setEnabled(true);
        m_main.SearchComBtn->setEnabled(true);
        Enable(targets.setEditorEditEnabled, true);
        m_main.SaveTP->setEnabled(true);
        m_main.SaveTP1->setEnabled(true);
        m_main.ViewGroupedReportBtn->setEnabled(false);
        m_main.ViewFilteredReportBtn->setEnabled(false);
        ShowOnTop(&m_acqTable);
    });
}

void TableCommands::SaveTPClick()
{
    Report([this] { SaveTestPointSet(); });
}

bool TableCommands::SaveTestPointSet()
{
    const QString working = WorkingCopyPath();
    const QString target = m_workspace.dialogs.AskSaveFile(TableDialog(TestPointsFolder(), true, true));
    if (target.isEmpty())
        return true;
    if (SameFile(target, working)) {
        // Saving onto the working copy would delete the set being saved.
        ShowText(m_workspace.dialogs, m_workspace.settings, texts::kWorkingCopyReserved);
        return false;
    }
    Dataset& table = m_workspace.AcquiredTable;
    table.Close();
    try {
        QFile::remove(SideValFile(target));
        // The old file is replaced only by a complete copy.
        CopyTableFile(working, target);
        SetTableHidden(target, false);
    } catch (...) {
        if (table.FileExists())
            table.Open();
        throw;
    }
    m_acqTable.setWindowTitle(QFileInfo(target).absoluteFilePath());
    table.Open();
    SetModified(false);
    return true;
}

void TableCommands::NewReportBtnClick()
{
    Report([this] {
        Dataset& table = m_workspace.ReportTable;
        const QString chosen = m_workspace.dialogs.AskSaveFile(TableDialog(MeasurementsFolder(), true, true));
        // Cancelling keeps the open Measurements table open.
        if (chosen.isEmpty())
            return;
        table.Close();
        const QString path = QFileInfo(chosen).absoluteFilePath();
        m_repTable.setWindowTitle(path);
        table.SetDatabaseName(QString::fromUtf8(dbnames::kMeasurements));
        table.SetTableName(path);
        table.CreateTable(MeasurementFields());
        table.Open();

        m_main.OpenAcquisition->setEnabled(true);
        m_main.Exporttocsv1->setEnabled(true);
        m_main.OpenTestPoint->setEnabled(true);
        m_main.NewTestPoint->setEnabled(true);
        m_main.NewAcqButton->setEnabled(true);
        m_main.ViewGroupedReportBtn->setEnabled(false);
        m_main.ViewFilteredReportBtn->setEnabled(false);
        ShowOnTop(&m_repTable);
    });
}

void TableCommands::OpenReportBtnClick()
{
    Report([this] {
        FileDialogRequest request = TableDialog(MeasurementsFolder(), false, false);
        const QString chosen = m_workspace.dialogs.AskOpenFile(request);
        if (chosen.isEmpty())
            return;
        Dataset& table = m_workspace.ReportTable;
        table.Close();
        const QString path = QFileInfo(chosen).absoluteFilePath();
        table.SetDatabaseName(QString::fromUtf8(dbnames::kMeasurements));
        table.SetTableName(path);
        m_repTable.setWindowTitle(path);
        table.Open();

        m_main.OpenAcquisition->setEnabled(true);
        m_main.Exporttocsv1->setEnabled(true);
        m_main.OpenTestPoint->setEnabled(true);
        m_main.NewAcqButton->setEnabled(true);
        m_main.NewTestPoint->setEnabled(true);
        m_main.ViewCompletedReportBtn->setEnabled(true);
        m_main.byTime1->setEnabled(true);
        m_main.ViewGroupedReportBtn->setEnabled(false);
        m_main.ViewFilteredReportBtn->setEnabled(false);
        m_main.MinMaxAvg1->setEnabled(false);
        m_main.byTestPoint1->setEnabled(false);
        m_main.byAlarm1->setEnabled(false);
        ShowOnTop(&m_repTable);
    });
}

void TableCommands::TestPoint1Click()
{
    ShowOnTop(&m_acqTable);
}

void TableCommands::TableReport1Click()
{
    ShowOnTop(&m_repTable);
}
