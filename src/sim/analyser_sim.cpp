// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/analyser_sim.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {
constexpr char kXonByte = 0x11;
constexpr char kXoffByte = 0x13;
constexpr char kAckByte = 0x06;
constexpr int kMaxQueuedXon = 64;
constexpr int kStallMs = 5000;
constexpr qint64 kChannelToleranceKHz = 100;

QByteArray Hex(int value, int width = 1)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(width, '0');
}
}  // namespace

SimAnalyser::SimAnalyser(QString name, quint32 seed) : modelName(std::move(name)), m_seed(seed), m_rng(seed)
{
    m_explorations[QStringLiteral("02")] = DefaultExplorations(QStringLiteral("02"));
    m_explorations[QStringLiteral("05")] = DefaultExplorations(QStringLiteral("05"));
    BecomeIdle(0);
}

void SimAnalyser::Receive(const QByteArray& bytes, qint64 nowMs)
{
    Advance(nowMs);
    for (char byte : bytes) {
        if (byte == '\r' || (byte == '\n' && !m_lineBuffer.isEmpty())) {
            const QByteArray line = m_lineBuffer;
            m_lineBuffer.clear();
            TakeLine(line, nowMs);
        } else if (byte != '\n') {
            m_lineBuffer.append(byte);
        }
    }
}

void SimAnalyser::TakeLine(const QByteArray& line, qint64 nowMs)
{
    m_received.append(QString::fromLatin1(line));
    if (faults.silent)
        return;
    qint64 t = std::max(nowMs, LastEmitAt()) + 1;
    Emit(t, QByteArray(1, kXoffByte));
    const Answer answer = Execute(line, nowMs);
    ++t;
    if (answer.outcome == Outcome::Refuse) {
        Emit(t, QByteArray(1, static_cast<char>(kNak)));
        BecomeIdle(t + 1);
        return;
    }
    Emit(t, QByteArray(1, kAckByte));
    t += 2 + faults.replyDelayMs;
    if (!answer.line.isEmpty()) {
        Emit(t, answer.line + (faults.crlf ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\r")));
    } else if (!answer.raw.isEmpty()) {
        QByteArray raw = answer.raw;
        if (faults.blockShortBy > 0)
            raw.chop(std::min<int>(faults.blockShortBy, raw.size()));
        int piece = faults.blockPieceBytes > 0 ? faults.blockPieceBytes : static_cast<int>(raw.size());
        if (faults.blockPieceBytes <= 0 && faults.blockStallMs > 0)
            piece = std::max<int>(1, static_cast<int>((raw.size() + 1) / 2));
        for (int at = 0; at < raw.size(); at += piece) {
            Emit(t, raw.mid(at, piece));
            t = LastEmitAt() + std::max(1, faults.blockPieceGapMs);
            if (at == 0)
                t += faults.blockStallMs;
        }
    }
    const qint64 end = LastEmitAt() + 1;
    BecomeIdle(answer.stall || (!answer.raw.isEmpty() && faults.blockShortBy > 0) ? end + kStallMs : end);
}

void SimAnalyser::BecomeIdle(qint64 at)
{
    m_nextXonAt = at;
    m_noiseSent = false;
}

void SimAnalyser::Advance(qint64 nowMs)
{
    if (faults.silent || faults.noXon)
        return;
    while (m_nextXonAt <= nowMs) {
        if (Pending() >= kMaxQueuedXon) {
            m_nextXonAt += ((nowMs - m_nextXonAt) / m_xonPeriodMs + 1) * m_xonPeriodMs;
            break;
        }
        if (!m_noiseSent && faults.noiseBeforeXon > 0) {
            QByteArray noise;
            for (int i = 0; i < faults.noiseBeforeXon; ++i)
                noise.append(static_cast<char>(0x55 + (i % 7)));
            Emit(m_nextXonAt, noise);
        }
        m_noiseSent = true;
        Emit(m_nextXonAt, QByteArray(1, kXonByte));
        m_nextXonAt += m_xonPeriodMs;
    }
}

qint64 SimAnalyser::NextSpontaneousAt(qint64 nowMs) const
{
    Q_UNUSED(nowMs);
    if (faults.silent || faults.noXon)
        return -1;
    return m_nextXonAt;
}

SimAnalyser::Answer SimAnalyser::Execute(const QByteArray& line, qint64 nowMs)
{
    Answer answer;
    if (faults.refuse)
        return answer;
    answer.outcome = Outcome::Accept;
    if (line.isEmpty() || line == "*")
        return answer;
    if (!line.startsWith("*?")) {
        if (!ApplySetting(line, nowMs))
            answer.outcome = Outcome::Refuse;
        return answer;
    }
    const QByteArray mnemonic = line.mid(2, 2);
    if (line.size() == 4 && mnemonic == "NA") {
        answer.line = "NA " + modelName.toLatin1();
    } else if (line.size() == 4 && mnemonic == "SA") {
        answer.line = "SA " + Hex(m_standard);
    } else if (line.size() == 4 && mnemonic == "ST") {
        answer.line = "ST " + Hex(StatusAt(nowMs));
    } else if (line.size() == 4 && mnemonic == "SY") {
        answer.line = "SY " + Hex(m_colourSystem, 2);
    } else if (mnemonic == "FI" || mnemonic == "FL") {
        const QString band = QString::fromLatin1(line.mid(4, 2));
        if (!m_explorations.contains(band)) {
            answer.outcome = Outcome::Refuse;
            return answer;
        }
        const QList<StoredExploration>& stored = m_explorations[band];
        const QByteArray rest = line.mid(6);
        if (mnemonic == "FI" && rest.isEmpty()) {
            answer.line = "FI=" + Hex(static_cast<int>(stored.size()));
        } else if (mnemonic == "FI") {
            bool ok = false;
            const int index = rest.toInt(&ok, 16);
            if (!ok || rest.size() != 2 || index < 0 || index >= stored.size()) {
                answer.outcome = Outcome::Refuse;
                return answer;
            }
            answer.line = "FI" + band.toLatin1() + rest + " NAME: " + stored[index].name.toLatin1();
        } else {
            const QString name = QString::fromLatin1(rest);
            const auto it = std::find_if(stored.begin(), stored.end(),
                                         [&](const StoredExploration& e) { return e.name == name; });
            if (it == stored.end()) {
                answer.outcome = Outcome::Refuse;
                return answer;
            }
            const QByteArray block = it->raw.isEmpty() ? EncodeExplorationBlock(it->channels) : it->raw;
            const QString key = band + name;
            // The first request tells the length, the same request again sends the block.
            if (m_lengthSentFor == key) {
                answer.raw = block;
                m_lengthSentFor.clear();
            } else {
                answer.line = "FL=" + Hex(static_cast<int>(block.size()));
                m_lengthSentFor = key;
            }
        }
    } else {
        answer.line = MeasurementReply(line, nowMs);
        if (answer.line.isEmpty())
            answer.outcome = Outcome::Refuse;
    }
    return answer;
}

bool SimAnalyser::ApplySetting(const QByteArray& line, qint64 nowMs)
{
    static const QRegularExpression standard(QStringLiteral("^\\*SA([0-9AB])$"));
    static const QRegularExpression frequency(QStringLiteral("^\\*FR([0-9]{7})$"));
    static const QRegularExpression parameter(QStringLiteral("^\\*(BW|GI|SI|MO|RA|CO|LB|CR)([0-9]{1,6})$"));
    static const QRegularExpression layer(QStringLiteral("^\\*LY([ABC])$"));
    static const QRegularExpression system(QStringLiteral("^\\*SY([0-9]{2})$"));
    static const QRegularExpression mode(QStringLiteral("^\\*EM([0-9])$"));
    static const QRegularExpression access(QStringLiteral("^\\*([0-9]{4})&$"));
    const QString text = QString::fromLatin1(line);
    QRegularExpressionMatch m;
    if ((m = standard.match(text)).hasMatch()) {
        m_standard = m.captured(1).toInt(nullptr, 16);
    } else if ((m = frequency.match(text)).hasMatch()) {
        m_frequencyKHz = m.captured(1).toLongLong();
    } else if ((m = parameter.match(text)).hasMatch()) {
        m_parameters[m.captured(1)] = m.captured(2);
    } else if ((m = layer.match(text)).hasMatch()) {
        m_parameters[QStringLiteral("LY")] = m.captured(1);
    } else if ((m = system.match(text)).hasMatch()) {
        m_colourSystem = m.captured(1).toInt(nullptr, 16);
    } else if ((m = mode.match(text)).hasMatch()) {
        m_mode = m.captured(1).toInt();
        // A mode change starts any exploration transfer afresh.
        m_lengthSentFor.clear();
        return true;
    } else if ((m = access.match(text)).hasMatch()) {
        m_accessCode = m.captured(1);
        return true;
    } else {
        return false;
    }
    m_lastTuneAt = nowMs;
    return true;
}

int SimAnalyser::ReadyCode(int standardCode)
{
    switch (standardCode) {
    case 1: return 1;
    case 2: return 4;
    case 3: return 6;
    case 4: return 7;
    case 5: return 3;
    case 6: return 5;
    case 7: return 8;
    case 9: return 9;
    case 10: return 10;
    default: return 0;  // analogue, FM and DTMB report no lock status
    }
}

const SimChannel* SimAnalyser::ChannelAt(qint64 kHz) const
{
    auto it = m_channels.lowerBound(kHz - kChannelToleranceKHz);
    if (it != m_channels.end() && it.key() <= kHz + kChannelToleranceKHz)
        return &it.value();
    return nullptr;
}

double SimAnalyser::LevelAt(qint64 nowMs) const
{
    if (const SimChannel* channel = ChannelAt(m_frequencyKHz)) {
        if (channel->offAir)
            return 15.0;
        return std::max(0.0, channel->levelDbuV - channel->fadeDbPerMinute * (nowMs / 60000.0));
    }
    // Anything not in the scenario: a steady level between 45 and 75 dBµV
    // that depends only on the frequency and the seed.
    const quint32 hash = (static_cast<quint32>(m_frequencyKHz / 1000) * 2654435761u) ^ (m_seed * 40503u);
    return 45.0 + (hash % 300) / 10.0;
}

bool SimAnalyser::Locked(qint64 nowMs) const
{
    const SimChannel* channel = ChannelAt(m_frequencyKHz);
    return nowMs - m_lastTuneAt >= m_settlingMs && !(channel && channel->offAir);
}

int SimAnalyser::StatusAt(qint64 nowMs) const
{
    return Locked(nowMs) ? ReadyCode(m_standard) : 0;
}

int SimAnalyser::Jitter()
{
    return std::uniform_int_distribution<int>(-3, 3)(m_rng);
}

QByteArray SimAnalyser::BerReply(const char* prefix, double log10Ber) const
{
    log10Ber = std::clamp(log10Ber, -8.0, -1.0);
    int exponent = static_cast<int>(std::floor(log10Ber)) - 1;
    int mantissa = static_cast<int>(std::lround(std::pow(10.0, log10Ber - exponent)));
    if (mantissa >= 100) {
        mantissa /= 10;
        ++exponent;
    }
    QByteArray text = prefix;
    text += QByteArray::number(mantissa).rightJustified(2, '0');
    text += 'E';
    text += (exponent < 0 ? "-" : "+") + QByteArray::number(std::abs(exponent)).rightJustified(2, '0');
    return text;
}

QByteArray SimAnalyser::MeasurementReply(const QByteArray& query, qint64 nowMs)
{
    if (query.size() != 4 || !query.startsWith("*?"))
        return {};
    const QByteArray mnemonic = query.mid(2, 2);
    const bool locked = Locked(nowMs);
    const double level = std::max(0.0, LevelAt(nowMs) + Jitter() * 0.1);
    const double cn = std::max(0.0, level - 25.0);
    const auto tenths = [](double v) { return QByteArray::number(static_cast<int>(std::lround(v * 10.0))); };
    if (mnemonic == "LV")
        return "LV = " + tenths(level);
    if (mnemonic == "CN")
        return "CN = " + tenths(cn);
    if (mnemonic == "VA")
        return "VA = " + (locked ? tenths(10.0 + Jitter() * 0.1) : QByteArray("0"));
    if (mnemonic == "FM")
        return "FM = " + QByteArray::number(locked ? 75 + Jitter() : 0);
    if (mnemonic == "ME")
        return "ME = " + (locked ? tenths(std::clamp(cn - 1.0, 0.0, 38.0)) : QByteArray("0"));
    if (mnemonic == "CB" || mnemonic == "SE")
        return BerReply(mnemonic == "CB" ? "CB = " : "SE = ", locked ? -cn / 4.0 : -1.0);
    if (mnemonic == "VB")
        return BerReply("VB = ", locked ? -cn / 2.5 : -1.0);
    return {};
}
