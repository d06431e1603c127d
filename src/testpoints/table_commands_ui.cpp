// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/table_commands_ui.h"

#include "workspace/workspace.h"
#include "platform/texts.h"
#include "platform/errors.h"
#include "platform/program_folder.h"
#include "platform/user_dialogs.h"
#include "reports/report_table_window.h"
#include "testpoints/acq_table_window.h"
#include "testpoints/table_layouts.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTableView>

namespace {
void ShowOnTop(QWidget* window)
{
    window->show();
    window->raise();
}
}  // namespace

TableCommands::TableCommands(Workspace& workspace, TFAcqTable& acqTable, TFRepTable& repTable)
    : m_workspace(workspace), m_acqTable(acqTable), m_repTable(repTable)
{
    setObjectName(QStringLiteral("TableCommands"));
    m_workspace.AcquiredTable.afterInsert = [this] { AcquiredTableAfterInsert(); };
}

void TableCommands::Report(const std::function<void()>& body)
{
    RunReportingErrors(m_workspace.dialogs, body);
}

void TableCommands::AcquiredTableAfterInsert()
{
    m_workspace.availability.TestPointRowInserted();
}

void TableCommands::NewAcqButtonClick()
{
    Report([this] {
        if (!m_workspace.CloseTestPointSet())
            return;
        m_acqTable.setWindowTitle(WorkingCopyPath());
        m_workspace.NewTestPointSet();
        ShowOnTop(&m_acqTable);
    });
}

void TableCommands::OpenAcquisitionClick()
{
    Report([this] {
        m_workspace.availability.OpenTestPointSetChosen();
        const QString chosen =
            m_workspace.dialogs.AskOpenFile(Workspace::TableDialog(TestPointsFolder(), true, false));
        if (chosen.isEmpty())
            return;
        Workspace::RequireUsableTestPointSet(chosen);
        if (!m_workspace.CloseTestPointSet())
            return;
        m_workspace.OpenTestPointSet(chosen);
        m_acqTable.setWindowTitle(m_workspace.TestPointSetFile());
        ShowOnTop(&m_acqTable);
    });
}

void TableCommands::SaveTPClick()
{
    Report([this] {
        m_workspace.SaveTestPointSet();
        m_acqTable.setWindowTitle(m_workspace.TestPointSetFile());
    });
}

void TableCommands::NewReportBtnClick()
{
    Report([this] {
        const QString chosen =
            m_workspace.dialogs.AskSaveFile(Workspace::TableDialog(MeasurementsFolder(), true, true));
        // Cancelling keeps the open Measurements table open.
        if (chosen.isEmpty())
            return;
        if (!m_workspace.CreateMeasurementsTable(chosen))
            return;
        m_repTable.setWindowTitle(QFileInfo(chosen).absoluteFilePath());
        ShowOnTop(&m_repTable);
    });
}

void TableCommands::OpenReportBtnClick()
{
    Report([this] {
        const QString chosen =
            m_workspace.dialogs.AskOpenFile(Workspace::TableDialog(MeasurementsFolder(), false, false));
        if (chosen.isEmpty())
            return;
        if (!m_workspace.OpenMeasurementsTable(chosen))
            return;
        m_repTable.setWindowTitle(QFileInfo(chosen).absoluteFilePath());
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
