// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workspace/test_point_editing.h"

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;
class TTerChannelsForm;
class TSatChannelsForm;
class TDataModule1;
class Workspace;
enum class Language;

// The "TP Edition" window: adds, inserts, deletes, cuts, copies and pastes
// rows of the test point table, and opens the channel plans. It owns the
// program's test point clipboard (through its editing commands) and the two
// plan windows, which live as long as it does.
class TTP_Edition : public QDialog {
    Q_OBJECT

public:
    TTP_Edition(Workspace& workspace, TDataModule1& dataModule, QWidget* parent = nullptr);
    ~TTP_Edition() override;

    QLabel* Label1;  // over the CHANNEL group
    QLabel* Label2;  // over the TEST POINT group
    QPushButton* AddTERCH;
    QPushButton* AddSATCH;
    QPushButton* AddBLANKTP;
    QPushButton* InsertBLANKTP;
    QPushButton* DelONETP;
    QPushButton* DelALLTP;
    QPushButton* CopyTP;
    QPushButton* CutTP;
    QPushButton* PasteTP;

    std::unique_ptr<TTerChannelsForm> TerChannelsForm;
    std::unique_ptr<TSatChannelsForm> SatChannelsForm;

    // Menu Test Points, "Edit TP Table".
    void EditTPTableClick();
    void AddTERCHClick();
    void AddSATCHClick();
    void AddBLANKTPClick();
    void InsertBLANKTPClick();
    void DelONETPClick();
    void DelALLTPClick();
    void CopyTPClick();
    void CutTPClick();
    void PasteTPClick();

    TestPointEditing& Editing() { return m_editing; }
    void ApplyLanguage(Language language);

private:
    void BeginPlan();

    Workspace& m_workspace;
    TestPointEditing m_editing;
};
