// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>

// The analyser models the station knows. The row of a model is its model
// code; -1 means no analyser identified.
enum class ModelFamily { DVB, ATSC, ISDBT, DTMB };

struct AnalyserModel {
    const char* name;  // the "*?NA" reply after its 3 skipped characters, exactly
    ModelFamily family;
};

inline constexpr std::array<AnalyserModel, 13> kAnalyserModels{{
    {"ORBIMETER II", ModelFamily::DVB},
    {"ORBIMETER II+", ModelFamily::DVB},
    {"ORBIMETER SE", ModelFamily::DVB},
    {"ORBIMETER SE+", ModelFamily::DVB},
    {"US ORBIMETER II", ModelFamily::ATSC},
    {"OM2000", ModelFamily::ATSC},
    {"ORBIMETER HD", ModelFamily::DVB},
    {"ORBIMETER HD LE", ModelFamily::DVB},
    {"ORBIMETER HD+", ModelFamily::DVB},
    {"ORBIMETER HD ATSC", ModelFamily::ATSC},
    {"OM2000HD ATCi", ModelFamily::ATSC},
    {"ORBIMETER HD ISDB-T", ModelFamily::ISDBT},
    {"ORBIMETER HD DTMB", ModelFamily::DTMB},
}};

inline constexpr int kNoModel = -1;

// The model code a Model menu item sets for its family.
constexpr int RepresentativeModelCode(ModelFamily family)
{
    switch (family) {
    case ModelFamily::DVB: return 8;
    case ModelFamily::ATSC: return 9;
    case ModelFamily::ISDBT: return 11;
    case ModelFamily::DTMB: return 12;
    }
    return kNoModel;
}

// Exact, case-sensitive match against the table; kNoModel when none.
int FindModelCode(const QString& name);

// Groups used by the test point editor and the channel plans.
constexpr bool IsAtscGroup(int code) { return code == 4 || code == 5 || code == 9 || code == 10; }
constexpr bool IsDvbGroup(int code) { return (code >= 0 && code <= 3) || (code >= 6 && code <= 8); }
