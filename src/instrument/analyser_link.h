// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "instrument/analyser_models.h"
#include "instrument/serial_port.h"

#include <QByteArray>
#include <functional>

class EventPump;

// The one connection to the analyser: its port plus the byte handshake
// (XON, command line, XOFF, ACK) and the identification. Every byte to the
// analyser goes through here. Nothing is retried and nothing is shown: each
// operation reports by its result. Not re-entrant: one command at a time.
class AnalyserLink {
public:
    static constexpr int kIdleReads = 12;     // empty reads that end a byte wait
    static constexpr int kShortNoiseLimit = 10;
    static constexpr int kQueryPauseMs = 100;

    // modelCode: the program-wide model code (Workspace::modelCode).
    AnalyserLink(EventPump& pump, SerialDeviceFactory factory, int& modelCode);

    // Reads single bytes until `wanted` comes. While ACK is awaited the first
    // byte decides; while XON or XOFF is awaited stray bytes are discarded.
    [[nodiscard]] bool WaitForByte(quint8 wanted);
    // XON, the command line, XOFF, ACK: true when the analyser accepted it.
    [[nodiscard]] bool SendCommand(const QByteArray& command);
    // Pauses 100 ms, sends the query held in `buffer` and reads the reply line
    // into it (the buffer then holds the line alone). When the command fails
    // the buffer keeps the query. False when no complete line came.
    [[nodiscard]] bool Query(QByteArray& buffer);
    // Query, then the reply after its 3 leading characters as a hexadecimal
    // number. A missing or short reply reads the query's own 4th character.
    int QueryCode(const QByteArray& query);
    // SendCommand, then one block read of up to `count` bytes; 0 when the
    // command failed.
    int SendAndReadBlock(const QByteArray& command, QByteArray& buffer, int count);
    // Sends the "*?NA" held in `buffer`, matches the reply against the model
    // table, selects the family and sets the model code. The model name stays
    // in `buffer`.
    bool IdentifyAnalyser(QByteArray& buffer);

    TSerialPort& Port() { return m_port; }
    int ModelCode() const { return m_modelCode; }

    // Selecting the family's Model menu item (the main window sets this to
    // its EUStandardClick & co.); unset, the representative code is set here.
    std::function<void(ModelFamily)> selectFamily;

private:
    EventPump& m_pump;
    TSerialPort m_port;
    int& m_modelCode;
};

// The text from position `skip` on, up to a NUL, read as hexadecimal (white
// space, a sign and "0x" allowed; nothing readable gives 0).
int ReadHexAfter(const QByteArray& text, int skip);
