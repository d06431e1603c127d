// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Field names of the station's tables. Fields are addressed by name, spaces and
// slashes included; the engine ignores case when it looks them up.
namespace fields {
// Test point table (and, where the names are the same, the Measurements table).
inline constexpr char kIndex[] = "index";
inline constexpr char kCh[] = "ch";
inline constexpr char kLayer[] = "layer";
inline constexpr char kFreq[] = "freq";
inline constexpr char kSystem[] = "system";
inline constexpr char kType[] = "type";
inline constexpr char kBw[] = "bw";
inline constexpr char kLnb[] = "lnb";
inline constexpr char kSymbolRate[] = "symbol rate";
inline constexpr char kModulation[] = "modulation";
inline constexpr char kCodeRate[] = "code rate";
inline constexpr char kGInterval[] = "g.interval";
inline constexpr char kInvSpectral[] = "inv.spectral";
inline constexpr char kCarrier[] = "carrier";
inline constexpr char kPlan[] = "plan";
inline constexpr char kBand[] = "band";
inline constexpr char kAlarm[] = "alarm";
inline constexpr char kMinLV[] = "minLV";
inline constexpr char kMaxLV[] = "maxLV";
inline constexpr char kMinCN[] = "minC/N";
inline constexpr char kMaxCN[] = "maxC/N";
inline constexpr char kMinVA[] = "minV/A";
inline constexpr char kMaxVA[] = "maxV/A";
inline constexpr char kMinMER[] = "minMER";
inline constexpr char kMaxMER[] = "maxMER";
inline constexpr char kMinCBER[] = "minCBER";
inline constexpr char kMaxCBER[] = "maxCBER";
inline constexpr char kMinVBER[] = "minVBER";
inline constexpr char kMaxVBER[] = "maxVBER";
inline constexpr char kMinLBER[] = "minLBER";
inline constexpr char kMaxLBER[] = "maxLBER";

// Measurements table only.
inline constexpr char kGuardInterval[] = "guard interval";
inline constexpr char kLevel[] = "LEVEL";
inline constexpr char kCN[] = "C/N";
inline constexpr char kVA[] = "V/A";
inline constexpr char kDesvFM[] = "DESV FM";
inline constexpr char kMER[] = "MER";
inline constexpr char kCBER[] = "CBER";
inline constexpr char kVBER[] = "VBER";
inline constexpr char kLBER[] = "LBER";
inline constexpr char kDate[] = "Date";
inline constexpr char kHour[] = "Hour";
inline constexpr char kLatitude[] = "Latitude";
inline constexpr char kNS[] = "N/S";
inline constexpr char kLongitude[] = "Longitude";
inline constexpr char kEW[] = "E/W";
inline constexpr char kWarning[] = "warning";

// Channel plans (read as text).
inline constexpr char kAnalogFreq[] = "analog freq";
inline constexpr char kDigitalFreq[] = "digital freq";
inline constexpr char kChannelSpacing[] = "channel spacing";
inline constexpr char kId[] = "Id";
inline constexpr char kFreqLNB[] = "freq LNB";
inline constexpr char kPolarity[] = "Polarity";
inline constexpr char kSatellite[] = "Satellite";
inline constexpr char kInvspec[] = "invspec";
inline constexpr char kTypeBanda[] = "Type Banda";
}  // namespace fields
