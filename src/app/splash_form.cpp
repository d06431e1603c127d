// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/splash_form.h"

#include "platform/program_folder.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

TSplash::TSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TSplash"));
    setFixedSize(760, 466);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(rect());
    picture->setScaledContents(true);
    picture->setPixmap(QPixmap(ProgramPath(QStringLiteral("images/splash.jpg"))));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}
