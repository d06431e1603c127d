#include "instrument/port_search_window.h"

#include "app/main_window.h"
#include "workspace/workspace.h"
#include "platform/texts.h"
#include "instrument/analyser_link.h"
#include "instrument/port_search.h"
#include "platform/user_dialogs.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {
class SwallowKeys final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

void ShowPortIndex(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    combo->repaint();
}
}  // namespace

void InstallPortDisplayRules(QComboBox* selPortCB)
{
    auto* filter = new SwallowKeys(selPortCB);
    filter->setObjectName(QStringLiteral("SelPortCBKeyPress"));
    selPortCB->installEventFilter(filter);
    if (selPortCB->lineEdit())
        selPortCB->lineEdit()->installEventFilter(filter);
}

void RunPortSearch(TVigilo& window, Workspace& workspace, AnalyserLink& link, const PortSearchHooks& hooks)
{
    window.SetPanelInfo(texts::kSearchingCom, Qt::blue);
    ShowPortIndex(window.SelPortCB, 0);
    window.SearchComBtn->setEnabled(false);

    const PortSearchResult result =
        SearchAnalyserPort(link, [&](int index) { ShowPortIndex(window.SelPortCB, index); });

    window.SetPanelInfo(texts::kStopped, Qt::red);
    if (result.found) {
        if (hooks.reportModelName)
            hooks.reportModelName(result.modelName);
        if (auto detectedIn = Pick(workspace.settings, texts::kAnalyserDetectedIn))
            workspace.dialogs.ShowMessage(result.modelName + *detectedIn + window.SelPortCB->currentText());
        const bool tableOpen = window.isTestPointTableOpen && window.isTestPointTableOpen();
        if (tableOpen) {
            if (hooks.explorationControls)
                hooks.explorationControls(true);
            window.SearchComBtn->setEnabled(true);
            window.RunMeasureBtn->setEnabled(true);
        }
        return;
    }
    window.RunMeasureBtn->setEnabled(false);
    ShowText(workspace.dialogs, workspace.settings, texts::kAnalyserNotDetected);
    window.SearchComBtn->setEnabled(true);
    if (hooks.explorationControls)
        hooks.explorationControls(false);
}
