// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The settings memo VIGILO_INI: the text lines of "config.cfg", addressed by
// line number. Line 0 is the language; 1-12 and 14 the company data; 13 and
// 15-25 the mail settings; the rest is carried along unchanged.
class Settings {
public:
    static constexpr int kInitialLines = 90;
    static constexpr int kLanguageLine = 0;

    // A fresh list of 90 empty lines bound to config.cfg in `folder`.
    explicit Settings(const QString& folder);

    enum class LoadResult { Missing, Loaded };
    // Replaces the whole list by the file's lines; Missing leaves it untouched.
    LoadResult Load();
    // Writes every line, CR LF separated, through a temporary file and a rename,
    // readable by its owner only (it holds the mail password in clear).
    [[nodiscard]] bool Save() const;

    QString Line(int n) const;
    // Replacing beyond the end grows the list with empty lines first.
    void Replace(int n, const QString& text);
    int LineCount() const { return static_cast<int>(m_lines.size()); }
    const QStringList& Lines() const { return m_lines; }
    QString FilePath() const { return m_path; }

private:
    QString m_path;
    QStringList m_lines;
};
