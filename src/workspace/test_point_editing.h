// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workspace/availability.h"

#include <QString>

#include <array>
#include <optional>

class Dataset;
class Workspace;

// One test point without its `index`, as cut or copied: the 22 texts and the
// eight numeric thresholds. An empty clipboard holds empty texts and zeros.
struct TestPointClipboard {
    static constexpr int kTextCount = 22;
    static constexpr int kNumberCount = 8;
    static const std::array<const char*, kTextCount> kTextFields;
    static const std::array<const char*, kNumberCount> kNumberFields;

    std::array<QString, kTextCount> texts;
    std::array<double, kNumberCount> numbers{};
};

// The standards a terrestrial plan row can be added as, one per add button.
enum class PlanStandard { Analog, DvbC, Dab, J83, DvbTH, DvbT2, Vsb8, IsdbT, Dtmb };

// Which add buttons of the terrestrial plan window the analyser allows (DVB-C
// and the analogue ones always): nothing for a model code outside the table,
// whose buttons stay as they were.
struct PlanButtons {
    bool j83 = false;
    bool vsb8 = false;
    bool dvbc = false;
    bool dvbth = false;
    bool dvbt2 = false;
    bool isdbt = false;  // with its layer selector
    bool dtmb = false;
};
std::optional<PlanButtons> PlanButtonsFor(int modelCode);

// The row commands of the test point table (the "TP Edition" window and the
// channel plan windows) over the workspace's test point set. Each command
// that changes the table marks the set modified and takes away the two
// reports that rest on the test points. Errors of the table engine escape to
// the caller's general error handler.
class TestPointEditing {
public:
    explicit TestPointEditing(Workspace& workspace);

    // A blank test point (no thresholds, every other field empty) at the end
    // or before the current row; it stays pending until the next operation
    // that moves or refreshes the table.
    void AddBlank();
    void InsertBlank();
    // Do nothing but take away the reports while the set is not open; copy
    // and cut also do nothing on a set without rows.
    void DeleteOne();
    void DeleteAll();
    void Copy();
    void Cut();
    // A new row before the current one, holding the clipboard.
    void Paste();

    // The clipboard lives as long as the program: it outlives test point sets.
    const TestPointClipboard& Clipboard() const { return m_clipboard; }

    // Appends the plan's current row as a test point of `standard`, with no
    // alarm. `system` is the analogue system, `layer` the ISDB-T layer. Every
    // value is read from the plan before the row is added, so a plan that
    // lacks a field adds nothing.
    void AddTerrestrialChannel(const Dataset& plan, PlanStandard standard, const QString& system = QString(),
                               const QString& layer = QString());
    void AddSatelliteChannel(const Dataset& plan);

private:
    void AddBlankRow(bool insert);
    void RevokeReports();
    void GrantUnlessRunning(Command command);
    void TableEmptied();
    bool TableExists() const;
    void OpenTestPointSetIfClosed();
    void StoreAddedChannel();

    Workspace& m_workspace;
    TestPointClipboard m_clipboard;
};
