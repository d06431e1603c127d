// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings.h"
#include "platform/settings_loader.h"
#include "platform/texts.h"
#include "support/recording_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The loader with a language command that behaves as the menu command does
// on the settings (line 0 and save) and records what ran.
struct LoaderFixture : ::testing::Test {
    QTemporaryDir dir;
    Settings settings{dir.path()};
    RecordingDialogs dialogs;
    QList<Language> languages;
    QMap<int, QString> copied;

    void Load()
    {
        SettingsTargets targets;
        targets.runLanguageCommand = [this](Language language) {
            languages.append(language);
            settings.Replace(Settings::kLanguageLine, LanguageWord(language));
            SaveSettingsReporting(settings, dialogs);
        };
        targets.copyLine = [this](int line, const QString& text) { copied[line] = text; };
        LoadSettingsAtStartUp(settings, dialogs, targets);
    }
    QString Path() const { return QDir::toNativeSeparators(settings.FilePath()); }
};

TEST_F(LoaderFixture, FirstStartWithoutFileReportsOnceAndCreatesEnglishFileOf90Lines)
{
    Load();
    ASSERT_EQ(dialogs.messages, QStringList{QStringLiteral("Unable to open file ") + Path()});
    EXPECT_EQ(languages, QList<Language>{Language::English});
    EXPECT_TRUE(copied.isEmpty()) << "controls keep their design-time contents";

    const QByteArray bytes = ReadAll(settings.FilePath());
    EXPECT_TRUE(bytes.startsWith("english\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 90);
    EXPECT_EQ(bytes.count('\n'), 90) << "CR LF only, no bare LF";
    EXPECT_EQ(QFile(settings.FilePath()).permissions() & (QFile::ReadOther | QFile::ReadGroup), 0)
        << "the file holds the mail password: owner only";
}

TEST_F(LoaderFixture, LanguageWordIsComparedExactly)
{
    struct Case { QByteArray line0; Language applied; bool damaged; };
    const Case cases[] = {
        {"english", Language::English, false},
        {"spanish", Language::Spanish, false},
        {"English", Language::English, true},
        {"spanish ", Language::English, true},
        {"", Language::English, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line0.toStdString());
        WriteAll(settings.FilePath(), c.line0 + "\r\nACME\r\n");
        dialogs.messages.clear();
        languages.clear();
        Load();
        EXPECT_EQ(languages, QList<Language>{c.applied});
        EXPECT_EQ(dialogs.messages.size(), c.damaged ? 1 : 0);
        if (c.damaged) {
            EXPECT_EQ(dialogs.messages.value(0), Path() + QStringLiteral(" file corrupted"));
        }
        EXPECT_EQ(copied.value(1), QStringLiteral("ACME")) << "other lines load as they stand";
        EXPECT_EQ(settings.Line(0), LanguageWord(c.applied)) << "the command rewrites line 0";
    }
}

TEST_F(LoaderFixture, CompanyOnlyFileLoadsWithoutMessageAndEmptyMailLines)
{
    QByteArray file = "english\r\n";
    for (int line = 1; line <= 12; ++line)
        file += "company " + QByteArray::number(line) + "\r\n";
    file += "\r\nmeasure point\r\n";  // 13 empty, 14 measure point
    for (int line = 15; line < 90; ++line)
        file += "\r\n";
    WriteAll(settings.FilePath(), file);
    Load();
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(copied.value(12), QStringLiteral("company 12"));
    EXPECT_EQ(copied.value(14), QStringLiteral("measure point"));
    for (int line : {13, 15, 21, 22, 23, 24, 25})
        EXPECT_EQ(copied.value(line, QStringLiteral("missing")), QString()) << line;
}

TEST_F(LoaderFixture, ShortFileLoadsWithoutMessageAndMissingLinesReadEmpty)
{
    WriteAll(settings.FilePath(), "spanish\r\nname\r\naddress");  // no final line end
    Load();
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(copied.value(2), QStringLiteral("address"));
    EXPECT_EQ(copied.value(25, QStringLiteral("missing")), QString());
    EXPECT_EQ(settings.Line(500), QString());
}

TEST(Settings, FreshListHas90EmptyLinesAndReplaceKeepsNumbering)
{
    QTemporaryDir dir;
    Settings settings(dir.path());
    EXPECT_EQ(settings.LineCount(), 90);
    settings.Replace(19, QStringLiteral("pass word  "));
    EXPECT_EQ(settings.Line(19), QStringLiteral("pass word  "));
    EXPECT_EQ(settings.Line(20), QString());
    EXPECT_EQ(settings.LineCount(), 90);
}

TEST(Settings, PasswordWithSpacesAndAccentsSurvivesSaveAndLoad)
{
    QTemporaryDir dir;
    Settings written(dir.path());
    written.Replace(19, QStringLiteral(" my secret pässword "));
    written.Replace(1, QStringLiteral("Telecomunicación S.A."));
    ASSERT_TRUE(written.Save());
    Settings read(dir.path());
    ASSERT_EQ(read.Load(), Settings::LoadResult::Loaded);
    EXPECT_EQ(read.Line(19), QStringLiteral(" my secret pässword "));
    EXPECT_EQ(read.Line(1), QStringLiteral("Telecomunicación S.A."));
    EXPECT_EQ(read.LineCount(), 90);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("config.cfg")})
        << "no temporary file left behind";
}

TEST(Settings, LoadReplacesTheWholeList)
{
    QTemporaryDir dir;
    WriteAll(dir.filePath(QStringLiteral("config.cfg")), "english\r\na\r\nb\r\n");
    Settings settings(dir.path());
    settings.Load();
    EXPECT_EQ(settings.LineCount(), 3);
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(ReadAll(settings.FilePath()), QByteArray("english\r\na\r\nb\r\n"));
}

TEST(SettingsWriters, SaveFailureIsReportedInTheLanguageOfLineZeroAndKeepsTheNewValues)
{
    struct Case { const char* language; QString prefix; };
    const Case cases[] = {
        {"english", QStringLiteral("Unable to save file ")},
        {"spanish", QStringLiteral("No se puede guarda fichero ")},
        {"klingon", QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("no/such/folder"));
        Settings settings(missing);
        settings.Replace(0, QLatin1String(c.language));
        RecordingDialogs dialogs;
        EXPECT_FALSE(WriteSettingsLines(settings, dialogs, {{14, QStringLiteral("roof")}, {1, QStringLiteral("ACME")}}));
        if (c.prefix.isEmpty()) {
            EXPECT_TRUE(dialogs.messages.isEmpty());
        } else {
            EXPECT_EQ(dialogs.messages, QStringList{c.prefix + QDir::toNativeSeparators(settings.FilePath())});
        }
        EXPECT_EQ(settings.Line(1), QStringLiteral("ACME"));
        EXPECT_EQ(settings.Line(14), QStringLiteral("roof"));
    }
}

TEST(Texts, ShownOnlyForTheTwoExactLanguageWords)
{
    QTemporaryDir dir;
    Settings settings(dir.path());
    const Text text{"STOPPED", "DETENIDO"};
    struct Case { const char* word; std::optional<QString> shown; };
    const Case cases[] = {
        {"english", QStringLiteral("STOPPED")},
        {"spanish", QStringLiteral("DETENIDO")},
        {"Spanish", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        settings.Replace(0, QLatin1String(c.word));
        EXPECT_EQ(Pick(settings, text), c.shown) << c.word;
    }
}

}  // namespace
