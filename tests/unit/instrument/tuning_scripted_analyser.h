// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "instrument/analyser_commands.h"
#include "sim/virtual_clock.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <vector>

// Readable failure messages for the texts the tests compare.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* os)
{
    *os << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}

// An analyser whose every answer the test decides, on the virtual clock. It
// keeps the selected standard and colour system as a real one does, records
// every line it is sent with the virtual time, and costs the link's 100 ms
// pause on every question.
class ScriptedAnalyser final : public AnalyserCommands {
public:
    struct Line {
        qint64 atMs;
        QByteArray text;
        bool query;
    };

    explicit ScriptedAnalyser(VirtualClock& clock) : m_clock(clock) {}

    int standard = 0;
    int colourSystem = 0x01;
    bool standardUnanswered = false;          // "*?SA" gets no reply (reads as 10)
    std::function<int()> status = [] { return 0; };  // "*?ST"
    std::map<QByteArray, QByteArray> replies;  // measurement query → reply line
    std::set<QByteArray> refused;              // commands answered with a refusal

    bool SendCommand(const QByteArray& command) override
    {
        m_lines.push_back({m_clock.ElapsedMs(), command, false});
        if (refused.count(command))
            return false;
        if (command.startsWith("*SA") && command.size() == 4)
            standard = QByteArray(command.mid(3)).toInt(nullptr, 16);
        if (command.startsWith("*SY"))
            colourSystem = QByteArray(command.mid(3)).toInt(nullptr, 16);
        return true;
    }

    bool Query(QByteArray& buffer) override
    {
        m_clock.Sleep(100);
        m_lines.push_back({m_clock.ElapsedMs(), buffer, true});
        const auto it = replies.find(buffer);
        if (it == replies.end())
            return false;
        buffer = it->second;
        return true;
    }

    int QueryCode(const QByteArray& query) override
    {
        m_clock.Sleep(100);
        m_lines.push_back({m_clock.ElapsedMs(), query, true});
        if (query == "*?SA")
            return standardUnanswered ? 10 : standard;
        if (query == "*?ST")
            return status();
        if (query == "*?SY")
            return colourSystem;
        return 0;
    }

    // The setting commands received, in order.
    QStringList Commands() const { return Texts(false); }
    // The questions asked, in order.
    QStringList Queries() const { return Texts(true); }
    const std::vector<Line>& Lines() const { return m_lines; }
    void Clear() { m_lines.clear(); }

private:
    QStringList Texts(bool queries) const
    {
        QStringList texts;
        for (const Line& line : m_lines)
            if (line.query == queries)
                texts << QString::fromLatin1(line.text);
        return texts;
    }

    VirtualClock& m_clock;
    std::vector<Line> m_lines;
};
