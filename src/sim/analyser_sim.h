// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/exploration_block.h"
#include "sim/sim_wire.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <random>

// Faults on demand.
struct SimFaults {
    bool noXon = false;          // never signals ready
    bool refuse = false;         // answers every command with NAK after XOFF
    int noiseBeforeXon = 0;      // stray bytes sent each time before the analyser signals ready
    bool silent = false;         // sends nothing at all
    bool crlf = false;           // reply lines end in CR LF
    int replyDelayMs = 0;        // pause between ACK and the reply line
    int blockPieceBytes = 0;     // stored explorations arrive in pieces of this many bytes …
    int blockPieceGapMs = 0;     // … this far apart
    int blockShortBy = 0;        // the exploration block stops this many bytes short
    int blockStallMs = 0;        // after its first piece the block stalls this long (in two halves
                                 // when no piece size is set)
};

// What is on the air at one frequency.
struct SimChannel {
    double levelDbuV = 60.0;
    double fadeDbPerMinute = 0.0;  // the level falls this much per minute of simulated time
    bool offAir = false;
};

// The simulated analyser: XON while idle and ready, XOFF on taking a line,
// ACK (or NAK for a command it does not know) and a reply line for queries;
// the tuned state (standard, frequency, every parameter, colour system, LNB,
// mode, access code); a status that reaches the standard's ready code once
// the settling time has passed after the last tuning change; measurements
// that depend on what is tuned, deterministic from the seed; stored
// explorations for the terrestrial ("02") and satellite ("05") bands.
//
// Reply lines: "NA <model>", "SA <hex>", "ST <hex>", "SY <hex2>" (3 leading
// characters before the value), "LV = 573" and the like for measurements
// (5 leading characters), BER as "CB = 23E-06" (two mantissa digits, one
// separator, the exponent): 23E-06 is 2.3E-5.
class SimAnalyser final : public SimWire {
public:
    static constexpr int kNak = 0x15;

    explicit SimAnalyser(QString modelName = QStringLiteral("ORBIMETER HD+"), quint32 seed = 1);

    void Receive(const QByteArray& bytes, qint64 nowMs) override;

    // Every command line received, without its CR, in order.
    const QStringList& ReceivedCommands() const { return m_received; }
    void ClearReceivedCommands() { m_received.clear(); }

    SimFaults faults;
    QString modelName;

    void SetSettlingMs(int ms) { m_settlingMs = ms; }
    void SetXonPeriodMs(int ms) { m_xonPeriodMs = ms > 0 ? ms : 1; }
    // Scenario: what is on the air at a frequency (matched within 100 kHz).
    void SetChannel(qint64 frequencyKHz, const SimChannel& channel) { m_channels[frequencyKHz] = channel; }
    void ClearChannels() { m_channels.clear(); }
    void SetExplorations(const QString& band, const QList<StoredExploration>& explorations)
    {
        m_explorations[band] = explorations;
    }

    // Tuned state.
    int StandardCode() const { return m_standard; }
    void SetStandardCode(int code) { m_standard = code; }
    qint64 FrequencyKHz() const { return m_frequencyKHz; }
    void SetFrequencyKHz(qint64 kHz) { m_frequencyKHz = kHz; }
    // Last argument of each parameter command by mnemonic ("GI", "BW", "SI",
    // "MO", "LY", "RA", "CO", "LB", "CR"), as sent.
    const QMap<QString, QString>& Parameters() const { return m_parameters; }
    QString Parameter(const QString& mnemonic) const { return m_parameters.value(mnemonic); }
    int ColourSystem() const { return m_colourSystem; }
    void SetColourSystem(int code) { m_colourSystem = code; }
    int Mode() const { return m_mode; }
    QString AccessCode() const { return m_accessCode; }
    // The status reply's value at nowMs: the standard's ready code once settled, else 0.
    int StatusAt(qint64 nowMs) const;
    static int ReadyCode(int standardCode);

    // The raw reply line (without line end) the analyser gives to a
    // measurement query at nowMs; empty for a command it does not know.
    QByteArray MeasurementReply(const QByteArray& query, qint64 nowMs);

protected:
    void Advance(qint64 nowMs) override;
    qint64 NextSpontaneousAt(qint64 nowMs) const override;

private:
    enum class Outcome { Accept, Refuse };
    struct Answer {
        Outcome outcome = Outcome::Refuse;
        QByteArray line;         // reply line, without line end; empty: none
        QByteArray raw;          // raw block bytes instead of a line
        bool stall = false;      // stop talking for a while afterwards
    };

    void TakeLine(const QByteArray& line, qint64 nowMs);
    Answer Execute(const QByteArray& line, qint64 nowMs);
    bool ApplySetting(const QByteArray& line, qint64 nowMs);
    void BecomeIdle(qint64 at);
    const SimChannel* ChannelAt(qint64 kHz) const;
    double LevelAt(qint64 nowMs) const;
    bool Locked(qint64 nowMs) const;
    int Jitter();
    QByteArray BerReply(const char* prefix, double log10Ber) const;

    QStringList m_received;
    QByteArray m_lineBuffer;
    qint64 m_idleFrom = 0;       // when the current idle spell started (-1 while busy)
    qint64 m_nextXonAt = 0;
    int m_xonPeriodMs = 100;
    int m_settlingMs = 2000;
    qint64 m_lastTuneAt = 0;
    qint64 m_stalledUntil = -1;
    bool m_noiseSent = false;

    int m_standard = 1;
    qint64 m_frequencyKHz = 474000;
    QMap<QString, QString> m_parameters;
    int m_colourSystem = 0x01;
    int m_mode = 2;
    QString m_accessCode;
    QMap<qint64, SimChannel> m_channels;
    QMap<QString, QList<StoredExploration>> m_explorations;
    QString m_lengthSentFor;     // band + name whose length was just sent
    quint32 m_seed;
    std::mt19937 m_rng;
};
