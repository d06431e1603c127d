// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Workspace;
struct PortSearchView;

// "Search COM PORT": tries COM1 to COM40 for the analyser on the workspace's
// link, with the messages in the current language, and moves the
// availability of the commands that depend on the analyser. While it runs,
// nothing can start a second user of the link (a run, an ON/OFF cycle's next
// start, another search).
void RunPortSearch(Workspace& workspace, const PortSearchView& view);
