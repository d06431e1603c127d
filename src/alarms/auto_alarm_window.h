// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "alarms/auto_alarm.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class Workspace;
enum class Language;

// The automatic alarm window: which measured quantities centre an alarm
// band during an automatic alarm pass, and the band's half-width in dB.
class TAutoAlarm : public QDialog, public AutoAlarmAccess {
    Q_OBJECT

public:
    explicit TAutoAlarm(Workspace& workspace, QWidget* parent = nullptr);

    QLabel* Label1;  // "ACTIVATED"
    QLabel* Label2;  // "TOLERANCE"
    QCheckBox* CBoxLevel;
    QCheckBox* CBoxCN;
    QCheckBox* CBoxVA;
    QCheckBox* CBoxMER;
    QLineEdit* LevelTOL;
    QLineEdit* CNTOL;
    QLineEdit* VATOL;
    QLineEdit* MERTOL;

    void LevelTOLExit();
    void CNTOLExit();
    void VATOLExit();
    void MERTOLExit();

    void ApplyLanguage(Language language);

    bool Enabled(Quantity quantity) const override;
    QString ToleranceText(Quantity quantity) const override;

private:
    QCheckBox* BoxOf(Quantity quantity) const;
    QLineEdit* EditOf(Quantity quantity) const;
    void ValidateEdit(Quantity quantity);
};
