// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// Borderless, on top, centred, 760 x 466, one stretched picture. Lives from
// the first moment of start-up until the main window is shown.
class TSplash : public QWidget {
    Q_OBJECT
public:
    explicit TSplash(QWidget* parent = nullptr);
};
