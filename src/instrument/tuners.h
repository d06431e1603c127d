// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "instrument/test_point.h"
#include "instrument/tune_frequency.h"

#include <QString>

// One tuner per standard (config_*.cpp). Each puts the analyser into the
// standard of its type, unless "*?SA" says it is there already, and sends the
// test point's demodulation parameters until "*?ST" reports the type's ready
// code. None reads a parameter back; a refused command is not retried. When
// Stop goes down, the remaining waits end at once but the remaining commands
// are still sent, so the analyser is never left half-tuned.
void TuneDvbTH(InstrumentSession& session, const TestPoint& tp);
void TuneDvbT2(InstrumentSession& session, const TestPoint& tp);
void Tune8Vsb(InstrumentSession& session, const TestPoint& tp);
void TuneIsdbT(InstrumentSession& session, const TestPoint& tp);
void TuneDvbC(InstrumentSession& session, const TestPoint& tp);
void TuneJ83(InstrumentSession& session, const TestPoint& tp);
void TuneDtmb(InstrumentSession& session, const TestPoint& tp);
void TuneDvbS(InstrumentSession& session, const TestPoint& tp);
void TuneDvbS2(InstrumentSession& session, const TestPoint& tp);
void TuneDss(InstrumentSession& session, const TestPoint& tp);
// The analogue tuner re-tunes the frequency after a standard change, hence kHz.
void TuneAnalog(InstrumentSession& session, const TestPoint& tp, const QString& system, float kHz);

// Calls the tuner whose type equals tp.type exactly; false (and nothing sent)
// for a type no tuner serves. kHz is the frequency just set by TuneFrequency.
bool TuneStandard(InstrumentSession& session, const TestPoint& tp, float kHz);

// The whole tuning of one visit as the run performs it: TuneFrequency, window
// messages, then the standard's tuner unless Stop went down meanwhile.
// Returns false when Stop abandoned the visit before its tuner.
bool TuneTestPoint(InstrumentSession& session, const TestPoint& tp);
