// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class TVigilo;
class TOperMode;
class Workspace;

// The four report buttons of the toolbar run the report commands of the
// workspace; their File menu items click the buttons, and "Export to .csv"
// exports the open Measurements table.
void ConnectReportCommands(TVigilo& main, Workspace& workspace, const TOperMode& operMode);
