// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class SimAnalyser;
class SimGpsReceiver;
struct SimFaults;

// "no-xon,refuse,noise=5,silent,crlf,slow=3000,block-pieces=512:300,block-short=100"
bool ParseFaults(const QString& faultList, SimFaults& faults, QString* error);

// Scenario file: one channel per line, '#' starts a comment.
//   <frequency MHz> <level dBµV> [fade=<dB per minute>]
//   <frequency MHz> off
bool LoadScenario(const QString& path, SimAnalyser& analyser, QString* error);

// The GPS receiver's talker: "GP" (GPS only) or "GN" (several satellite systems).
bool ParseGpsTalker(const QString& talker, SimGpsReceiver& receiver, QString* error);

// The position the GPS receiver reports, as its sentences carry it:
//   <latitude ddmm.m...>,<N|S>,<longitude dddmm.m...>,<E|W>
bool ParseGpsPosition(const QString& position, SimGpsReceiver& receiver, QString* error);
