// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notify/scheduled_stop.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QDateEdit;
class QLabel;
class QTimeEdit;
class OperModeAccess;
class Workspace;
enum class Language;

// The shutdown window: the scheduled stop (date and minute), the power-off
// after it, and the four report boxes that are both the scheduled stop's
// choice and the mail switches of the report commands. Not stored: every
// start begins disarmed, today, now.
class TShutDown : public QDialog, public ScheduleAccess {
    Q_OBJECT

public:
    explicit TShutDown(Workspace& workspace, QWidget* parent = nullptr);

    QCheckBox* CheckActiveProg;
    QLabel* Label26;
    QDateEdit* DatePicker;
    QTimeEdit* TimerPicker;
    QCheckBox* CheckPCoff;
    QLabel* Label41;
    QCheckBox* CheckFilteredReport;
    QCheckBox* CheckCompleteReport;
    QCheckBox* CheckGroupedReport;
    QCheckBox* CheckAlarmReport;

    void CheckActiveProgClick();
    void CheckPCoffClick();
    void ApplyLanguage(Language language);

    // Arming switches an ON/OFF cycle to continuous: the operating mode the
    // rule reaches (set at start-up once that window exists).
    void SetOperMode(OperModeAccess* operMode) { m_operMode = operMode; }
    // The main window's AvisTurnOFF follows CheckPCoff.
    std::function<void(bool visible)> showPowerOffIndicator;

    // ScheduleAccess
    bool Armed() const override;
    QDateTime StopAt() const override;
    bool PowerOffAfterStop() const override;
    void Disarm() override;

private:
    void FormCreate();
    void ApplyArmedControls();

    Workspace& m_workspace;
    OperModeAccess* m_operMode = nullptr;
};
