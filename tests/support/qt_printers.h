// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable GoogleTest failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"';
    for (char c : bytes) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 0x20 && code < 0x7F)
            *os << c;
        else
            *os << "\\x" << "0123456789abcdef"[code >> 4] << "0123456789abcdef"[code & 15];
    }
    *os << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os) { PrintTo(list.join(QStringLiteral(" | ")), os); }
