// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/exploration_import.h"

#include "instrument/analyser_link.h"
#include "platform/errors.h"
#include "platform/event_pump.h"
#include "platform/fields.h"
#include "platform/texts.h"
#include "testpoints/dataset.h"
#include "testpoints/engine_texts.h"

#include <algorithm>
#include <climits>

namespace {
const char* const kNumericThresholds[] = {fields::kMinLV,  fields::kMaxLV,  fields::kMinCN,  fields::kMaxCN,
                                          fields::kMinVA,  fields::kMaxVA,  fields::kMinMER, fields::kMaxMER};
const char* const kBerThresholds[] = {fields::kMinCBER, fields::kMaxCBER, fields::kMinVBER,
                                      fields::kMaxVBER, fields::kMinLBER, fields::kMaxLBER};

bool ReadWholeNumber(const QString& text, qlonglong& value)
{
    bool ok = false;
    value = text.trimmed().toLongLong(&ok);
    return ok;
}
}  // namespace

std::optional<QString> HeldOscillator(const QString& text)
{
    qlonglong value = 0;
    if (!ReadWholeNumber(text, value))
        return std::nullopt;
    if (value < kSmallestOscillator)
        return QString::number(kSmallestOscillator);
    if (value > kLargestOscillator)
        return QString::number(kLargestOscillator);
    return text;
}

int OscillatorValue(const QString& text)
{
    qlonglong value = 0;
    if (!ReadWholeNumber(text, value) || value < INT_MIN || value > INT_MAX)
        throw VigiloError(EngineText(texts::kOscillatorNotANumber).arg(text));
    return static_cast<int>(value);
}

void CorrectToLnbOutput(Dataset& table, long long first, const Oscillators& oscillators)
{
    if (first >= table.RecordCount())
        return;
    // One commit for all rows (a synchronous write per row costs seconds for
    // a large exploration); rows corrected before an error stay corrected.
    table.StartTransaction();
    try {
        table.MoveTo(first);
        while (!table.Eof()) {
            const double freq = table.Number(fields::kFreq);
            if (freq > kLnbOutputLimitMHz) {
                const QString lnb = table.Text(fields::kLnb);
                std::optional<int> oscillator;
                if (lnb == QLatin1String("13v") || lnb == QLatin1String("18v"))
                    oscillator = OscillatorValue(oscillators.low);
                else if (lnb == QLatin1String("13v22khz") || lnb == QLatin1String("18v22khz"))
                    oscillator = OscillatorValue(oscillators.high);
                const QString type = table.Text(fields::kType);
                const bool analogueSatellite = table.Text(fields::kBand) == QLatin1String("SAT") &&
                                               type != QLatin1String("DVB-S") && type != QLatin1String("DVB-S2");
                if (oscillator || analogueSatellite) {
                    table.Edit();
                    if (oscillator)
                        table.SetNumber(fields::kFreq, freq - *oscillator);
                    if (analogueSatellite)
                        table.SetText(fields::kSystem, QStringLiteral("Satellite"));
                    table.Post();
                }
            }
            table.Next();
        }
    } catch (...) {
        table.Cancel();
        table.Commit();
        throw;
    }
    table.Commit();
}

void AppendExplorationRows(Dataset& table, const std::vector<DecodedChannel>& channels, const QString& plan,
                           TerSat band)
{
    if (channels.empty())
        return;
    table.StartTransaction();
    try {
        for (const DecodedChannel& channel : channels) {
            table.Append();
            table.SetText(fields::kCh, channel.ch);
            for (const auto& [field, text] : channel.fields)
                table.SetText(QString::fromLatin1(field), text);
            table.SetText(fields::kAlarm, QStringLiteral("OFF"));
            for (const char* field : kNumericThresholds)
                table.SetNumber(field, 0);
            for (const char* field : kBerThresholds)
                table.SetText(field, QStringLiteral("OFF"));
            table.SetText(fields::kPlan, plan);
            table.SetText(fields::kBand, BandName(band));
            table.Post();
        }
        table.Commit();
    } catch (...) {
        table.Cancel();
        table.Rollback();
        throw;
    }
}

ExplorationImporter::ExplorationImporter(AnalyserLink& link, EventPump& pump) : m_link(link), m_pump(pump) {}

QStringList ExplorationImporter::ReadExplorationNames(TerSat band)
{
    (void)m_link.SendCommand(QByteArrayLiteral("*9417&"));
    m_pump.Sleep(kAccessPauseMs);
    (void)m_link.SendCommand(QByteArrayLiteral("*EM0"));

    const QByteArray query = "*?FI" + BandCode(band);
    QByteArray reply;
    m_link.SendAndReadBlock(query, reply, kCountReplyBytes);
    // The index goes as two hexadecimal digits: a count beyond them is no
    // count of this protocol, and would keep the window asking for hours.
    const int count = std::min(ReadExplorationNumber(reply), kMostExplorations);
    QStringList names;
    for (int i = count - 1; i >= 0; --i) {
        if (countdown)
            countdown(i + 1);
        m_pump.ProcessMessages();
        QByteArray nameReply;
        m_link.SendAndReadBlock(query + QByteArray::number(i, 16).rightJustified(2, '0'), nameReply,
                                kNameReplyBytes);
        names.append(ReadExplorationName(nameReply));
    }
    return names;
}

void ExplorationImporter::EndTransfer()
{
    (void)m_link.SendCommand(QByteArrayLiteral("*EM2"));
}

bool ExplorationImporter::ReadBlockOf(const QByteArray& command, int length)
{
    const QDateTime started = m_pump.Now();
    if (m_link.SendAndReadBlock(command, m_block, length) <= 0)
        return false;
    int emptyReads = 0;
    while (m_block.size() < length) {
        QByteArray piece;
        if (m_link.Port().ReadBlock(piece, length - static_cast<int>(m_block.size())) > 0) {
            emptyReads = 0;
            m_block.append(piece);
        } else if (++emptyReads >= kEmptyBlockReads) {
            return false;
        }
        if (started.msecsTo(m_pump.Now()) > kBlockDeadlineMs && m_block.size() < length)
            return false;
    }
    return true;
}

ImportResult ExplorationImporter::ImportExploration(TerSat band, const QString& name, Dataset& table,
                                                    const Oscillators& oscillators)
{
    (void)OscillatorValue(oscillators.low);
    (void)OscillatorValue(oscillators.high);
    m_block.clear();
    ImportResult result;
    (void)m_link.SendCommand(QByteArrayLiteral("*EM0"));
    const QByteArray command = "*?FL" + BandCode(band) + name.toLatin1();
    QByteArray lengthReply;
    m_link.SendAndReadBlock(command, lengthReply, kLengthReplyBytes);
    m_link.Port().FlushInput();
    const int length = ReadExplorationNumber(lengthReply);
    // A length the buffer cannot hold is refused before the block is asked for.
    if (length <= 0 || length >= kBlockBuffer)
        return result;
    m_pump.Sleep(kBlockPrepareMs);
    if (!ReadBlockOf(command, length)) {
        m_block.clear();
        return result;
    }

    const DecodedExploration decoded = DecodeExplorationBlock(m_block);
    if (!decoded.markerFound) {
        result.outcome = ImportOutcome::NoMarker;
        return result;
    }
    const long long before = table.RecordCount();
    AppendExplorationRows(table, decoded.channels, name, band);
    result.outcome = ImportOutcome::Imported;
    result.added = static_cast<int>(decoded.channels.size());
    result.announced = decoded.count;
    result.truncated = decoded.truncated;
    CorrectToLnbOutput(table, before, oscillators);
    return result;
}
