// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/grid_placement.h"

#include <gtest/gtest.h>

namespace {

TEST(GridPlacement, WindowsTakeAThirdOfTheScreenAlongTheWorkingArea)
{
    EXPECT_EQ(AcqTableInitialGeometry(QSize(1280, 1024)), QRect(0, 100, 1280, 341));
    EXPECT_EQ(AcqTableInitialGeometry(QSize(1920, 1080)), QRect(0, 100, 1920, 360));
    // Bottom edge on the limit: client height 950 + toolbar 47.
    EXPECT_EQ(RepTableInitialGeometry(QSize(1280, 1024), 997), QRect(0, 656, 1280, 341));
}

struct LimitCase {
    const char* what;
    QRect proposed;
    bool holdLeft;
    QRect moved;
    QRect resized;
};

TEST(GridPlacement, MoveShiftsTheWholeWindowWhileResizeClipsTheEdge)
{
    constexpr int kBottom = 900;
    const LimitCase cases[] = {
        {"inside", QRect(0, 200, 800, 300), true, QRect(0, 200, 800, 300), QRect(0, 200, 800, 300)},
        {"top above 100", QRect(0, 40, 800, 300), true, QRect(0, 100, 800, 300), QRect(0, 100, 800, 240)},
        {"bottom below limit", QRect(0, 700, 800, 300), true, QRect(0, 600, 800, 300), QRect(0, 700, 800, 200)},
        {"left held at 0", QRect(50, 200, 800, 300), true, QRect(0, 200, 800, 300), QRect(0, 200, 850, 300)},
        {"left free", QRect(50, 200, 800, 300), false, QRect(50, 200, 800, 300), QRect(50, 200, 800, 300)},
        {"taller than the room", QRect(0, 50, 800, 1000), true, QRect(0, 100, 800, 1000), QRect(0, 100, 800, 800)},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LimitGridMove(c.proposed, kBottom, c.holdLeft), c.moved);
        EXPECT_EQ(LimitGridResize(c.proposed, kBottom, c.holdLeft), c.resized);
    }
}

}  // namespace
