// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testpoints/test_point_rules.h"

#include <QDialog>

#include <map>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Workspace;
enum class Language;

// The "Test Point Config" window: loads the current test point into its
// controls ("Edit"), lets the user change them within the lists the band,
// type, modulation and analyser allow, and writes them back into the same
// row once they pass the checks ("Insert"). The controls are the edited
// values; the rules are those of testpoints/test_point_rules.h.
class TTPointConf : public QDialog {
    Q_OBJECT

public:
    explicit TTPointConf(Workspace& workspace, QWidget* parent = nullptr);

    QLineEdit* EditName;
    QComboBox* SelLayer;
    QLineEdit* EditFreq;
    QLineEdit* EditSRate;
    QComboBox* SelBand;
    QComboBox* SelSystem;
    QComboBox* SelType;
    QComboBox* SelBW;
    QComboBox* SelModulation;
    QComboBox* SelCarrier;
    QComboBox* SelCodeRate;
    QComboBox* SelInvSpec;
    QComboBox* SelGuarda;
    QComboBox* SelLNB;
    QPushButton* Edit;
    QPushButton* Insert;

    QLabel* Label7;          // Channel
    QLabel* Label1;          // Freq.
    QLabel* Label30;         // Symb.Rate
    QLabel* Label6;          // Band
    QLabel* Label2;          // Type
    QLabel* Label24;         // System
    QLabel* LSelectAnalogBW; // BW
    QLabel* Label4;          // Modulation
    QLabel* Label31;         // Carriers
    QLabel* Label3;          // Code Rate
    QLabel* Label34;         // Inv.Spect.
    QLabel* Label9;          // G.Interval
    QLabel* Label27;         // LNB
    QLabel* Label5;          // Layer

    // Menu Test Points, "Config".
    void TPointConfig1Click();
    void EditClick();
    void InsertClick();
    void SelTypeChange();
    void SelBandChange();
    void SelModulationChange();
    void EditSRateChange();

    // The texts shown, as the checks read them.
    tprules::EditorValues Values() const;
    // Runs the checks on the texts shown; a failure shows its message.
    bool ValidateTestPoint();

    void ApplyLanguage(Language language);

private:
    QWidget* ControlOf(tprules::Control control) const;
    void ApplySetup(const std::optional<tprules::TypeSetup>& setup);
    // The value controls follow the run's lock; a set-up applied while they
    // are locked takes effect when the lock goes.
    void SetFieldEnabled(QWidget* field, bool enabled);
    void LockFields(bool locked);
    void RebuildTypeList();
    void RebuildModulationList();
    void RebuildCodeRateList();

    Workspace& m_workspace;
    bool m_fieldsLocked = false;
    std::map<QWidget*, bool> m_enabledUnderLock;
};
