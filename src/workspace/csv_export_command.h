// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Workspace;

// "Export to .csv": the open Measurements table into a file the user picks.
// The table is opened (and its pending row stored) before the dialog, so a
// station without a table says so at once; the rows are then read while they
// are written, never collected. Cancel writes nothing and says nothing; any
// failure shows "Error: no report table" and leaves the chosen file as it was.
void ExportMeasurementsCsv(Workspace& workspace);
