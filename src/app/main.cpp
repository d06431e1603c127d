// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_ui.h"

int main(int argc, char** argv)
{
    return RunVigilo(argc, argv);
}
