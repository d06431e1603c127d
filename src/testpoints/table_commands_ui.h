#pragma once

#include <QObject>
#include <QString>

#include <functional>

class TFAcqTable;
class TFRepTable;
class TVigilo;
class Workspace;

// Controls of windows other than the main window and the grids that the table
// commands enable or disable; each is set when its window exists.
struct TableCommandTargets {
    std::function<void(bool)> setDBWarningEnabled;     // manual alarm window
    std::function<void(bool)> setEditorEditEnabled;    // test point editor "Edit"
    std::function<void(bool)> setEditorInsertEnabled;  // test point editor "Insert"
};

// The main window's commands for test point sets and Measurements tables.
// The test point set is edited through the hidden working copy "temp.db";
// Measurements tables are created and opened in place. Every command reports
// an error of the table engine or the file system through the general error
// handler and ends at the failing step.
class TableCommands : public QObject {
    Q_OBJECT

public:
    TableCommands(Workspace& workspace, TVigilo& main, TFAcqTable& acqTable, TFRepTable& repTable);

    // Connects the toolbar buttons, their menu items and the two View items.
    void Connect();

    void NewReportBtnClick();
    void OpenReportBtnClick();
    void NewAcqButtonClick();
    void OpenAcquisitionClick();
    void SaveTPClick();
    // False when the changes could not be saved as the user asked: the
    // command that prompted must not go on and replace them.
    bool PromptSaveIfModified();
    void AcquiredTableAfterInsert();
    void TestPoint1Click();
    void TableReport1Click();

    TableCommandTargets targets;

private:
    void Report(const std::function<void()>& body);
    // The save itself; errors escape to the caller. False when the chosen
    // name was refused.
    bool SaveTestPointSet();
    void SetModified(bool modified);
    void Enable(const std::function<void(bool)>& target, bool on);

    Workspace& m_workspace;
    TVigilo& m_main;
    TFAcqTable& m_acqTable;
    TFRepTable& m_repTable;
};
