// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workspace/test_point_editing.h"

#include <QDialog>

#include <utility>
#include <vector>

class Dataset;
class DatasetModel;
class QComboBox;
class QPushButton;
class QTableView;
class Workspace;
enum class Language;

// A channel plan window: a read-only grid over a supplied plan whose current
// row its add buttons append to the test point table. It only reads the plan.
class ChannelPlanWindow : public QDialog {
    Q_OBJECT

public:
    ChannelPlanWindow(Workspace& workspace, Dataset& plan, TestPointEditing& editing, const char* name,
                      QWidget* parent);

    QTableView* DBGrid1;

protected:
    // Asks for a plan file in `folder` and opens it in the plan's dataset;
    // false when the user cancels.
    bool ChoosePlan(const QString& folder);
    // The plan has a row to add.
    bool HasPlanRow() const;
    void ApplyColumnWidths();
    // The column widths of the design, widened to their titles where needed.
    void FitColumnTitles();
    int GridWidth() const;

    Workspace& m_workspace;
    Dataset& m_plan;
    TestPointEditing& m_editing;
    DatasetModel* m_model;
    std::vector<std::pair<const char*, int>> m_columnWidths;
};

// "Terrestrial Channels": adds a plan row as any terrestrial standard the
// analyser has, or as a DAB channel when the plan is a DAB plan.
class TTerChannelsForm : public ChannelPlanWindow {
    Q_OBJECT

public:
    TTerChannelsForm(Workspace& workspace, Dataset& terTable, TestPointEditing& editing, QWidget* parent = nullptr);

    QComboBox* CBAddAnalog;
    QPushButton* AddAnalog;
    QPushButton* ButtonAddDVBC;
    QPushButton* ButtonAddDVBT;
    QPushButton* AddJ83;
    QPushButton* Add8VSB;
    QPushButton* AddDVBT2;
    QPushButton* ButtonAddDAB;
    QPushButton* AddISDBT;
    QComboBox* Layer;
    QPushButton* AddDTMB;

    // Steps 2 to 4 of "ADD TER CH": the plan file, then the add buttons the
    // plan and the analyser allow.
    void OpenPlan();
    void CBAddAnalogDropDown();
    void AddAnalogClick();
    void ButtonAddDVBCClick();
    void ButtonAddDVBTClick();
    void AddJ83Click();
    void Add8VSBClick();
    void AddDVBT2Click();
    void ButtonAddDABClick();
    void AddISDBTClick();
    void AddDTMBClick();

    void ApplyLanguage(Language language);

    // Closing the window closes its plan.
    void done(int result) override;

private:
    void Add(PlanStandard standard);
    void EnableButtonsForPlan();
};

// "Satellite Channels": adds a plan row with the parameters the plan gives.
class TSatChannelsForm : public ChannelPlanWindow {
    Q_OBJECT

public:
    TSatChannelsForm(Workspace& workspace, Dataset& satTable, TestPointEditing& editing, QWidget* parent = nullptr);

    QPushButton* Button1;

    // Steps 2 and 3 of "ADD SAT CH".
    void OpenPlan();
    void Button1Click();

    void ApplyLanguage(Language language);
};
