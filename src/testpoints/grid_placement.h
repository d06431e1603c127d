// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

// Placement of the two grid windows along the main window's working area. A
// rectangle's bottom edge here is top + height (the first row below it).
inline constexpr int kGridTopLimit = 100;

// The test point grid: left 0, top 100, screen wide, a third of the screen high.
QRect AcqTableInitialGeometry(QSize screen);
// The Measurements grid: left 0, screen wide, a third of the screen high,
// its bottom edge on `bottomLimit` (main window client height + toolbar height).
QRect RepTableInitialGeometry(QSize screen, int bottomLimit);

// While resizing: top at 100 or lower, bottom at most at `bottomLimit`; with
// `holdLeft` the left edge stays at 0. The opposite edges stay where they are.
QRect LimitGridResize(QRect proposed, int bottomLimit, bool holdLeft);
// While moving: the same limits, met by moving the whole window so its size
// never changes.
QRect LimitGridMove(QRect proposed, int bottomLimit, bool holdLeft);
