// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "alarms/alarm_controls.h"
#include "alarms/alarm_evaluation.h"

#include <QDialog>

#include <functional>

class Dataset;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;
class Workspace;
enum class Language;

// The alarm thresholds window: edits the alarm switch and thresholds of the
// current test point and holds the alarm mailing switch. The lists are bound
// to the test point's fields and post a pick at once; the numeric edits hold
// copies that LoadAlarmWindow refreshes and Insert writes back.
class TFormAlarms : public QDialog, public AlarmMailAccess {
    Q_OBJECT

public:
    explicit TFormAlarms(Workspace& workspace, QWidget* parent = nullptr);
    ~TFormAlarms() override;

    QLabel* Label8;   // alarm switch
    QLabel* Label33;  // index
    QLabel* Label14;  // minimum (numeric)
    QLabel* Label15;  // maximum (numeric)
    QLabel* Label10;  // level
    QLabel* Label11;  // MER
    QLabel* Label12;  // C/N
    QLabel* Label13;  // V/A
    QLabel* Label16;  // minimum (bit error rates)
    QLabel* Label17;  // maximum (bit error rates)
    QLabel* Label19;  // CBER
    QLabel* Label18;  // VBER
    QLabel* Label32;  // LBER

    QComboBox* DBWarning;
    QLineEdit* TextIndex;
    QLineEdit* EditminLV;
    QLineEdit* EditmaxLV;
    QLineEdit* EditminMER;
    QLineEdit* EditmaxMER;
    QLineEdit* EditminCN;
    QLineEdit* EditmaxCN;
    QLineEdit* EditminVA;
    QLineEdit* EditmaxVA;
    UpDown* UpDownMinLV;
    UpDown* UpDownMaxLV;
    UpDown* UpDownMinMER;
    UpDown* UpDownMaxMER;
    UpDown* UpDownMinCN;
    UpDown* UpDownMaxCN;
    UpDown* UpDownMinVA;
    UpDown* UpDownMaxVA;
    QComboBox* DBmaxCBER;
    QComboBox* DBminCBER;
    QComboBox* DBmaxVBER;
    QComboBox* DBminVBER;
    QComboBox* DBmaxLBER;
    QComboBox* DBminLBER;
    QPushButton* Insert;
    QCheckBox* SendAlarm;

    // The mail body buffer of the alarm mails.
    QStringList TextoMensaje;

    // The main window's indicator AvisEstatAlarma follows the mailing switch.
    std::function<void(bool visible)> showMailingIndicator;

    void ManualAlarm1Click();
    // The test point grid's cell click: shows the current test point.
    void LoadAlarmWindow();
    void EnableAlarmControls();
    void DisableAlarmControls();
    void DBWarningChange();
    void DBmaxCBERChange();
    void DBminCBERChange();
    void DBmaxVBERChange();
    void DBminVBERChange();
    void DBmaxLBERChange();
    void DBminLBERChange();
    void InsertClick();
    void SendAlarmClick();

    void ApplyLanguage(Language language);

    bool MailingOn() const override;
    QStringList& MailBody() override { return TextoMensaje; }

private:
    struct NumericRow {
        QLineEdit* edit;
        const char* field;
    };
    struct ListRow {
        QComboBox* list;
        const char* field;
    };

    void BuildControls();
    void BindAvailability();
    // The lists show the current test point's fields.
    void ShowBoundFields();
    void ApplyThresholdState();
    bool HasTestPoint() const;
    void PostListPick(QComboBox* list, const char* field);
    void ThresholdsChanged();
    void ForgetTestPoint();

    Workspace& m_workspace;
    Dataset& m_table;
    int m_listener = 0;
    // What EnableAlarmControls last offered; the run's lock comes on top.
    ThresholdOffer m_offer{};
    bool m_insertAllowed = false;
    std::vector<NumericRow> m_numeric;
    std::vector<ListRow> m_lists;
};
