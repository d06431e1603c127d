// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QString>
#include <gtest/gtest.h>

namespace {

// One wording in both languages is one catalogue entry: a second constant
// with the same pair drifts from the first the day one of them is corrected.
TEST(Catalogue, NoTwoEntriesHoldTheSameTexts)
{
    QFile header(QStringLiteral(VIGILO_SOURCE_DIR "/src/platform/texts.h"));
    ASSERT_TRUE(header.open(QIODevice::ReadOnly));
    const QString source = QString::fromUtf8(header.readAll());
    const QRegularExpression entry(
        QStringLiteral(R"re(constexpr\s+Text\s+(\w+)\s*\{\s*("(?:[^"\\]|\\.)*")\s*,\s*("(?:[^"\\]|\\.)*")\s*\})re"));
    QMap<QString, QString> firstNamed;
    int entries = 0;
    for (auto it = entry.globalMatch(source); it.hasNext();) {
        const auto match = it.next();
        ++entries;
        const QString texts = match.captured(2) + QLatin1Char('|') + match.captured(3);
        const QString name = match.captured(1);
        const auto seen = firstNamed.constFind(texts);
        EXPECT_TRUE(seen == firstNamed.constEnd())
            << name.toStdString() << " repeats " << (seen == firstNamed.constEnd() ? "" : seen->toStdString());
        firstNamed.insert(texts, name);
    }
    EXPECT_GT(entries, 50) << "the catalogue's entries were not recognised";
}

}  // namespace
