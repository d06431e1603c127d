// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// What the tuners and the measurement readout need of the analyser link. The
// link itself is reached through LinkCommands below; tests plug in scripted
// analysers.
class AnalyserCommands {
public:
    virtual ~AnalyserCommands() = default;
    // The full handshake around one command; true when the analyser accepted it.
    [[nodiscard]] virtual bool SendCommand(const QByteArray& command) = 0;
    // buffer holds the query; the reply line replaces it. True when a reply arrived.
    [[nodiscard]] virtual bool Query(QByteArray& buffer) = 0;
    // The reply after its 3 skipped characters, read as hexadecimal.
    virtual int QueryCode(const QByteArray& query) = 0;
};

// Adapts the program's analyser link (or anything with the same three
// operations) to AnalyserCommands: LinkCommands<AnalyserLink> commands(link);
template <class Link>
class LinkCommands final : public AnalyserCommands {
public:
    explicit LinkCommands(Link& link) : m_link(link) {}
    bool SendCommand(const QByteArray& command) override { return m_link.SendCommand(command); }
    bool Query(QByteArray& buffer) override { return m_link.Query(buffer); }
    int QueryCode(const QByteArray& query) override { return m_link.QueryCode(query); }

private:
    Link& m_link;
};
