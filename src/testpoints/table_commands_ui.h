// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class TFAcqTable;
class TFRepTable;
class Workspace;

// The main window's commands for test point sets and Measurements tables:
// the file dialogs and the grid windows around the workspace's workflow.
// Every command reports an error of the table engine or the file system
// through the general error handler and ends at the failing step.
class TableCommands : public QObject {
    Q_OBJECT

public:
    TableCommands(Workspace& workspace, TFAcqTable& acqTable, TFRepTable& repTable);

    void NewReportBtnClick();
    void OpenReportBtnClick();
    void NewAcqButtonClick();
    void OpenAcquisitionClick();
    void SaveTPClick();
    void AcquiredTableAfterInsert();
    void TestPoint1Click();
    void TableReport1Click();

private:
    void Report(const std::function<void()>& body);

    Workspace& m_workspace;
    TFAcqTable& m_acqTable;
    TFRepTable& m_repTable;
};
