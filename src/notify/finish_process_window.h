// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class Workspace;
enum class Language;

// "End of Process": shown when a run ends (and when a run cannot start for
// want of an analyser); only its OK button hides it, so an unattended
// station's operator sees on return that the work is over.
class TFormFinishProcess : public QDialog {
    Q_OBJECT

public:
    explicit TFormFinishProcess(Workspace& workspace, QWidget* parent = nullptr);

    QLabel* LabelFinishProcess;
    QPushButton* OKBtn;

    void ShowEndOfProcess();
    void OKBtnClick();
    void ApplyLanguage(Language language);

protected:
    // Escape must not dismiss it: OK is the only way.
    void reject() override {}
};
