// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/about_form.h"

#include "platform/program_folder.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QStringLiteral("Vigilo"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setAlignment(Qt::AlignCenter);
    ProgramIcon->setPixmap(QPixmap(ProgramPath(QStringLiteral("images/logo.jpg"))));
    layout->addWidget(ProgramIcon);
    Version = new QLabel(QStringLiteral("v 2.60"), this);
    Version->setObjectName(QStringLiteral("Version"));
    Version->setAlignment(Qt::AlignCenter);
    layout->addWidget(Version);
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
