// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "acquisition/oper_mode.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class AvailabilityBinding;
class Workspace;
enum class Language;

// The operating mode window: how the passes repeat, the waits of a visit,
// the periodic reports and the automatic alarm pass. The run reads it
// through OperModeAccess at the moment of use. Nothing is stored: every
// start begins with the defaults.
class TOperMode : public QDialog, public OperModeAccess {
    Q_OBJECT

public:
    explicit TOperMode(Workspace& workspace, QWidget* parent = nullptr);

    QCheckBox* Continuous;
    QCheckBox* CheckBoxBucleRepeticiones;
    QLineEdit* BucleRepeticiones;
    QCheckBox* ContadorStartStop;
    QLabel* Label55;
    QTimeEdit* ContadorStop;
    QLabel* Label56;
    QTimeEdit* ContadorStart;
    QPushButton* BtnStop;
    QCheckBox* Only1TP;
    QLabel* Label5;
    QLineEdit* TimeForMeasure;
    QLabel* Label6;
    QLabel* Label1;
    QLineEdit* TimeBetweenTP;
    QLabel* Label3;
    QLabel* Label2;
    QLineEdit* TimeBetweenTable;
    QLabel* Label4;
    QCheckBox* ReportsEverySeconds;
    QLineEdit* TimeEvery;
    QLabel* Label7;
    QCheckBox* EveryFilteredReport;
    QCheckBox* EveryCompletedReport;
    QCheckBox* EveryGroupedReport;
    QCheckBox* EveryAlarmReport;
    QCheckBox* cbAutoAlarm;

    void ContinuousClick();
    void CheckBoxBucleRepeticionesClick();
    void ContadorStartStopClick();
    void Only1TPClick();
    void ReportsEverySecondsClick();
    void TimeForMeasureExit();
    void TimeBetweenTPExit();
    void TimeBetweenTableExit();
    void TimeEveryExit();
    void BucleRepeticionesExit();

    void ApplyLanguage(Language language);

    // "STOP" ends an ON/OFF cycle; the run connects it.
    std::function<void()> onBtnStopClick;
    // Ticking the cycle disarms the scheduled stop (its window connects here).
    std::function<void()> untickScheduledStop;

    // OperModeAccess
    RepeatMode Mode() const override;
    void SetMode(RepeatMode mode) override;
    int LoopsLeft() const override;
    void SetLoopsLeft(int count) override;
    int MeasureDelay() const override;
    int WaitBetweenPoints() const override;
    int WaitBetweenLoops() const override;
    bool ReportsEveryOn() const override;
    int ReportPeriodMinutes() const override;
    PeriodicReportChoice PeriodicReports() const override;
    bool AutoAlarmPass() const override;
    void SetAutoAlarmPass(bool on) override;
    QTime OnDuration() const override;
    void SetOnDuration(const QTime& time) override;
    QTime OffDuration() const override;
    void SetOffDuration(const QTime& time) override;

private:
    void FormCreate();
    void BindCommands();
    void ApplyModeControls();
    void ValidateEdit(QLineEdit* edit, OperModeEdit which);
    void EnsureOneMode();

    Workspace& m_workspace;
    AvailabilityBinding* m_binding = nullptr;
};
