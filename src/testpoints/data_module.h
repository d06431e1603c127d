// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testpoints/dataset.h"

// The data module: the channel plan datasets of the plan windows.
class TDataModule1 {
public:
    TDataModule1();

    Dataset TerTable;  // database name Terrestrial
    Dataset SatTable;  // database name Satellite, initially "13E_HOTBIRD.DB"
};
