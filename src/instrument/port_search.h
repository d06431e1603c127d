// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class AnalyserLink;

struct PortSearchResult {
    bool found = false;
    int portIndex = -1;   // 0 for COM1
    QString modelName;
};

// Tries COM1 … COM40 in order: open, configure (Standard, 115200 8N1), up
// to 4 single-byte reads for an XON, then "*?NA" against the model table.
// Stops at the first analyser; a port that does not open costs nothing. The
// port stays open at the analyser, or at the last port that opened when
// none answered. showPortIndex is called with each index before it is tried.
PortSearchResult SearchAnalyserPort(AnalyserLink& link, const std::function<void(int)>& showPortIndex = {});

// What the search shows while it runs; unset members show nothing.
struct PortSearchView {
    // The status panel: searching (blue) or stopped (red).
    std::function<void(bool searching)> showSearching;
    // The port being tried, 0 for COM1.
    std::function<void(int index)> showPortIndex;
    // The name the port display shows ("COM7").
    std::function<QString()> portName;
    // The report header's model label takes the detected model name.
    std::function<void(const QString& modelName)> reportModelName;
};
