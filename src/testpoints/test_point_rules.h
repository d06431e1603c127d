// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class Dataset;

// The rules of the test point editor, free of any window: which values its
// lists offer for a band, type, modulation and analyser, what choosing a type
// does to the other controls, and whether the edited values make a test point
// the station can tune. The window only binds them to its controls.
namespace tprules {

// ---- Lists -------------------------------------------------------------------
// Types for "TER" or "SAT" with the analyser of `modelCode` (-1: none, which
// leaves "Analog" alone on the terrestrial band); empty for any other band.
QStringList TypeList(const QString& band, int modelCode);
// Modulations of a type; empty for a type that chooses none.
QStringList ModulationList(const QString& type);
// Code rates of a type and, for DVB-S2, its modulation; empty otherwise.
QStringList CodeRateList(const QString& type, const QString& modulation);
// Terrestrial analogue systems of the analyser; nothing for a model code
// outside the table, whose list keeps what it had.
std::optional<QStringList> SystemList(int modelCode);
// The analogue systems a terrestrial plan row can be added with (no FM: a
// plan lists television channels); empty for a model code outside the table.
QStringList PlanAnalogSystems(int modelCode);

// ---- Set-ups -------------------------------------------------------------------
// The controls a type's set-up decides, in the order of the set-up table.
enum class Control { SymbolRate, System, Modulation, Carrier, Bandwidth, CodeRate, InvSpectral, GuardInterval, Lnb, Layer };
inline constexpr int kControlCount = 10;
inline constexpr Control kControls[kControlCount] = {
    Control::SymbolRate, Control::System,     Control::Modulation,    Control::Carrier, Control::Bandwidth,
    Control::CodeRate,   Control::InvSpectral, Control::GuardInterval, Control::Lnb,     Control::Layer};

// What a set-up does to one control: enabled or not, and its text emptied,
// set to `value`, or kept.
struct ControlSetup {
    bool enabled = false;
    bool emptied = false;
    const char* value = nullptr;
};

struct TypeSetup {
    std::array<ControlSetup, kControlCount> controls;
    // The empty type's set-up also disables the type list and enables the band.
    bool emptyType = false;

    const ControlSetup& Of(Control control) const { return controls[static_cast<size_t>(control)]; }
};

// The set-up of a type; "Analog" takes that of `band` ("TER" or "SAT"). An
// empty type has its own set-up; a type outside the table (or "Analog" on
// another band) has none and leaves the controls as they are.
std::optional<TypeSetup> SetupOfType(const QString& type, const QString& band);

// ---- Validation ----------------------------------------------------------------
// The editor's texts as shown.
struct EditorValues {
    QString freq;
    QString symbolRate;
    QString band;
    QString type;
    QString bandwidth;
    QString modulation;
    QString carrier;
    QString codeRate;
    QString invSpectral;
    QString guardInterval;
    QString lnb;
    QString system;
};

struct Validation {
    bool pass = false;
    // The first failed check's message; empty for a failure without one (a
    // band or type the station does not know).
    QString message;
    // DVB-C: the occupied bandwidth in MHz ("%.2f"), which replaces the
    // bandwidth text when the test point passes.
    QString occupiedBandwidth;
};

// Checks the values in a fixed order and stops at the first failure. A
// frequency, bandwidth or symbol rate that must be read and is not a number
// raises VigiloError (the general error handler shows it): such a text never
// reaches the table.
Validation ValidateTestPoint(const EditorValues& values);

// ---- Writing ---------------------------------------------------------------------
// Every test point written by the editor, a plan or a blank row starts with no
// alarm: switch "OFF", the eight numeric thresholds 0, the six bit error rate
// thresholds "OFF". `withSwitch` false leaves the alarm switch alone (a blank
// row leaves it empty).
void WriteNoAlarm(Dataset& table, bool withSwitch = true);

}  // namespace tprules
