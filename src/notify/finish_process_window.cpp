// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/finish_process_window.h"

#include "workspace/workspace.h"
#include "platform/captions_ui.h"
#include "platform/texts.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {
constexpr CaptionRow kCaptions[] = {
    {"LabelFinishProcess", &texts::kLabelFinishProcess},
};
}  // namespace

TFormFinishProcess::TFormFinishProcess(Workspace& workspace, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormFinishProcess"));
    setWindowTitle(QStringLiteral("Vigilo"));
    // On top, no system menu: the operator must acknowledge it with OK.
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(260, 120);

    LabelFinishProcess = new QLabel(this);
    LabelFinishProcess->setObjectName(QStringLiteral("LabelFinishProcess"));
    LabelFinishProcess->setGeometry(10, 16, 240, 30);
    LabelFinishProcess->setAlignment(Qt::AlignCenter);
    QFont font = LabelFinishProcess->font();
    font.setBold(true);
    font.setPointSize(12);
    LabelFinishProcess->setFont(font);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(92, 70, 76, 28);
    connect(OKBtn, &QPushButton::clicked, this, &TFormFinishProcess::OKBtnClick);

    ApplyLanguage(Language::English);
    connect(&workspace, &Workspace::languageChanged, this, &TFormFinishProcess::ApplyLanguage);
}

void TFormFinishProcess::ApplyLanguage(Language language)
{
    ApplyCaptions(*this, kCaptions, language);
}

void TFormFinishProcess::ShowEndOfProcess()
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
}

void TFormFinishProcess::OKBtnClick()
{
    hide();
}
