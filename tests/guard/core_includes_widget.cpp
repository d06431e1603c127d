// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled with the include path of vigilo_core; must fail to build.
#include <QPushButton>

int Probe() { return 0; }
