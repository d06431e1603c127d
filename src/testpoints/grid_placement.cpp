// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/grid_placement.h"

#include <algorithm>

QRect AcqTableInitialGeometry(QSize screen)
{
    return QRect(0, kGridTopLimit, screen.width(), screen.height() / 3);
}

QRect RepTableInitialGeometry(QSize screen, int bottomLimit)
{
    const int height = screen.height() / 3;
    return QRect(0, bottomLimit - height, screen.width(), height);
}

QRect LimitGridResize(QRect proposed, int bottomLimit, bool holdLeft)
{
    int left = proposed.x();
    int top = proposed.y();
    int right = proposed.x() + proposed.width();
    int bottom = proposed.y() + proposed.height();
    if (holdLeft)
        left = 0;
    top = std::max(top, kGridTopLimit);
    bottom = std::min(bottom, bottomLimit);
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

QRect LimitGridMove(QRect proposed, int bottomLimit, bool holdLeft)
{
    QRect out = proposed;
    if (holdLeft)
        out.moveLeft(0);
    if (out.y() < kGridTopLimit)
        out.moveTop(kGridTopLimit);
    else if (out.y() + out.height() > bottomLimit)
        out.moveTop(std::max(kGridTopLimit, bottomLimit - out.height()));
    return out;
}
