// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

Settings::Settings(const QString& folder)
    : m_path(QDir(folder).filePath(QStringLiteral("config.cfg")))
{
    for (int i = 0; i < kInitialLines; ++i)
        m_lines.append(QString());
}

Settings::LoadResult Settings::Load()
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return LoadResult::Missing;
    // The file is single-byte text, as the settings have always been stored.
    const QString text = QString::fromLatin1(file.readAll());
    QStringList lines;
    QString current;
    bool open = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            lines.append(current);
            current.clear();
            open = false;
        } else {
            current.append(c);
            open = true;
        }
    }
    if (open)
        lines.append(current);
    m_lines = lines;
    return LoadResult::Loaded;
}

bool Settings::Save() const
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QByteArray bytes;
    for (const QString& line : m_lines) {
        bytes.append(line.toLatin1());
        bytes.append("\r\n");
    }
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

QString Settings::Line(int n) const
{
    if (n < 0 || n >= m_lines.size())
        return QString();
    return m_lines.at(n);
}

void Settings::Replace(int n, const QString& text)
{
    if (n < 0)
        return;
    while (m_lines.size() <= n)
        m_lines.append(QString());
    m_lines[n] = text;
}
