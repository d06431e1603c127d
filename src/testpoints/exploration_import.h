// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testpoints/exploration_decoder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class AnalyserLink;
class Dataset;
class EventPump;

// The LNB oscillator edits: whole MHz from 1 to 20000.
inline constexpr int kSmallestOscillator = 1;
inline constexpr int kLargestOscillator = 20000;
inline constexpr int kOscillatorDigits = 5;
inline constexpr char kDefaultLowOscillator[] = "9750";
inline constexpr char kDefaultHighOscillator[] = "10600";

// The text an oscillator edit holds after the user leaves it: a number held
// between 1 and 20000; nothing for a text with no number, which then keeps
// the edit's last value.
std::optional<QString> HeldOscillator(const QString& text);
// The edit's number; a text that is no whole number raises VigiloError.
int OscillatorValue(const QString& text);

struct Oscillators {
    QString low = QString::fromLatin1(kDefaultLowOscillator);
    QString high = QString::fromLatin1(kDefaultHighOscillator);
};

// Satellite downlink frequencies become frequencies at the LNB output: each
// row of `table` from record `first` on that is above 2150 MHz has the
// oscillator of its LNB supply taken off ("13v", "18v": low; "13v22khz",
// "18v22khz": high), and an analogue one of band "SAT" gets the system
// "Satellite". Rows at or below 2150 MHz are left alone. Only the rows an
// import added are given: a row corrected before whose frequency stayed above
// 2150 MHz (an unusual oscillator) must not lose its oscillator twice.
// Raises VigiloError for an oscillator that is no number, after the rows
// before it.
void CorrectToLnbOutput(Dataset& table, long long first, const Oscillators& oscillators);

enum class ImportOutcome {
    Imported,        // the rows were appended and corrected
    TransferFailed,  // no block, a block too large, or one that stopped coming
    NoMarker,        // the block has no marker byte: nothing to decode
};

struct ImportResult {
    ImportOutcome outcome = ImportOutcome::TransferFailed;
    int added = 0;
    int announced = 0;  // the channel count the block announced
    // The block ended inside a record: the rows before it were added.
    bool truncated = false;
};

// The exploration transfer over the analyser link: the list of explorations
// stored for a band and the import of one of them into a test point table.
// Shows nothing: the window and vigilo-station say what the results mean.
class ExplorationImporter {
public:
    static constexpr int kBlockBuffer = 25000;  // a block must be shorter
    static constexpr int kCountReplyBytes = 10;
    static constexpr int kNameReplyBytes = 30;
    static constexpr int kMostExplorations = 256;  // indices "00" to "ff"
    static constexpr int kLengthReplyBytes = 11;
    static constexpr int kAccessPauseMs = 100;
    static constexpr int kBlockPrepareMs = 3000;
    // A block that stops coming ends after this many empty reads in a row
    // (each waits 2.1 s), or when it has taken this long in all. The wait
    // must end before an analyser that gave up on the block is idle again:
    // its ready bytes would otherwise be taken for the missing block bytes.
    static constexpr int kEmptyBlockReads = 2;
    static constexpr int kBlockDeadlineMs = 60000;

    ExplorationImporter(AnalyserLink& link, EventPump& pump);

    // Runs before each name is asked for, with the names still to come
    // (K down to 1).
    std::function<void(int remaining)> countdown;

    // The access code, "*EM0", the count and each name, from the highest
    // index down to 0. Empty when the band holds no exploration.
    QStringList ReadExplorationNames(TerSat band);
    // "*EM2": the analyser back to its measuring mode after a transfer.
    void EndTransfer();

    // Reads the exploration `name` and appends one row per channel to
    // `table`, then corrects the new rows to the LNB output. The rows go
    // in together or not at all. Oscillators that are no numbers are refused
    // (VigiloError) before anything is sent. Does not send "*EM2".
    ImportResult ImportExploration(TerSat band, const QString& name, Dataset& table,
                                   const Oscillators& oscillators);

private:
    bool ReadBlockOf(const QByteArray& command, int length);

    AnalyserLink& m_link;
    EventPump& m_pump;
    QByteArray m_block;
};

// Appends the decoded channels as rows of `table` with the defaults of an
// imported test point: alarm "OFF", thresholds off, `plan` the exploration's
// name and `band` the chosen band. One transaction: all rows or none.
void AppendExplorationRows(Dataset& table, const std::vector<DecodedChannel>& channels, const QString& plan,
                           TerSat band);
