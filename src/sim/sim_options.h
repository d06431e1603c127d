// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class SimAnalyser;
struct SimFaults;

// "no-xon,refuse,noise=5,silent,crlf,slow=3000,block-pieces=512:300,block-short=100"
bool ParseFaults(const QString& faultList, SimFaults& faults, QString* error);

// Scenario file: one channel per line, '#' starts a comment.
//   <frequency MHz> <level dBµV> [fade=<dB per minute>]
//   <frequency MHz> off
bool LoadScenario(const QString& path, SimAnalyser& analyser, QString* error);
