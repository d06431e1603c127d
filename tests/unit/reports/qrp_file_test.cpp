// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_tables.h"
#include "support/qt_printers.h"

#include "platform/errors.h"
#include "platform/texts.h"
#include "reports/acquired_report.h"
#include "reports/qrp_file.h"
#include "workspace/report_kind.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {
class QrpFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table = m_dir.filePath(QStringLiteral("m.db"));
        WriteMeasurements(table, 75);
        report.SetTable(table);
        report.SetFieldEnabled(QStringLiteral("QRDBTextReference"), false);
        report.SetFieldEnabled(QStringLiteral("QRDBTextVA"), false);
        report.SetLabelText(QStringLiteral("QRLabelName1"), QStringLiteral("Señales Ñandú"));
        report.SetHeaderCaptions(Language::Spanish);
        prepared = report.Prepare();
        saved = m_dir.filePath(QStringLiteral("r.qrp"));
        ASSERT_EQ(SaveQrp(*prepared, saved, Language::English), OutputResult::Done);
    }

    QByteArray SavedBytes() const
    {
        QFile file(saved);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QString Write(const QByteArray& bytes, const char* name) const
    {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir m_dir;
    QString table;
    QString saved;
    ReportMailSwitches switches;
    TAcquiredQReport report{switches};
    std::shared_ptr<PreparedReport> prepared;
};

TEST_F(QrpFileTest, LoadedReportHasTheSamePagesAsTheSavedOne)
{
    QString error;
    auto loaded = OpenQrp(saved, Language::English, error);
    ASSERT_NE(loaded, nullptr) << error.toStdString();
    ASSERT_EQ(loaded->PageCount(), prepared->PageCount());
    EXPECT_EQ(loaded->RowCount(), 75);
    EXPECT_EQ(loaded->RowFields(), prepared->RowFields());
    // Last page first: a loaded report reads any page without the ones before.
    for (long long page = loaded->PageCount() - 1; page >= 0; --page) {
        const PageRows rows = loaded->ReadPage(page);
        EXPECT_EQ(rows, prepared->ReadPage(page)) << "page " << page;
        const PageDrawing a = LayOutPage(*loaded, page, rows);
        const PageDrawing b = LayOutPage(*prepared, page, rows);
        ASSERT_EQ(a.texts.size(), b.texts.size());
        for (size_t i = 0; i < a.texts.size(); ++i) {
            EXPECT_EQ(a.texts[i].name, b.texts[i].name);
            EXPECT_EQ(a.texts[i].text, b.texts[i].text);
            EXPECT_DOUBLE_EQ(a.texts[i].left, b.texts[i].left);
            EXPECT_DOUBLE_EQ(a.texts[i].top, b.texts[i].top);
            EXPECT_EQ(a.texts[i].font, b.texts[i].font);
        }
        EXPECT_EQ(a.shapes.size(), b.shapes.size());
        ASSERT_EQ(a.pictures.size(), b.pictures.size());
        for (size_t i = 0; i < a.pictures.size(); ++i)
            EXPECT_EQ(a.pictures[i].image.size(), b.pictures[i].image.size());
    }
    const PageDrawing first = LayOutPage(*loaded, 0, loaded->ReadPage(0));
    EXPECT_EQ(first.Text(QStringLiteral("QRLabelName1"))->text, QStringLiteral("Señales Ñandú"));
    EXPECT_EQ(first.Text(QStringLiteral("QRLabel3"))->text, QStringLiteral("INFORME DE MEDIDAS"));
    EXPECT_EQ(first.Text(QStringLiteral("QRDBTextVA")), nullptr) << "a hidden field stays hidden";
}

TEST_F(QrpFileTest, LoadedReportDoesNotNeedItsTable)
{
    QFile::remove(table);
    QString error;
    auto loaded = OpenQrp(saved, Language::English, error);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->ReadPage(2).rows.size(), 24u);
    EXPECT_EQ(loaded->ReadPage(3).rows.size(), 17u);
}

TEST_F(QrpFileTest, SaveReplacesOnlyOnceCompleteAndCancelKeepsTheOldFile)
{
    const QByteArray before = SavedBytes();
    report.SetLabelText(QStringLiteral("QRLabelName1"), QStringLiteral("changed"));
    auto changed = report.Prepare();
    long long calls = 0;
    const auto cancelAtTwo = [&calls](long long done, long long) {
        ++calls;
        return done < 2;
    };
    EXPECT_EQ(SaveQrp(*changed, saved, Language::English, cancelAtTwo), OutputResult::Cancelled);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(SavedBytes(), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList({QStringLiteral("r.*")}, QDir::Files), QStringList{QStringLiteral("r.qrp")})
        << "no half-written file is left beside";
    ASSERT_EQ(SaveQrp(*changed, saved, Language::English), OutputResult::Done);
    EXPECT_NE(SavedBytes(), before);
}

TEST_F(QrpFileTest, SavingIntoAMissingFolderRaisesInTheLanguage)
{
    try {
        SaveQrp(*prepared, m_dir.filePath(QStringLiteral("no/such/r.qrp")), Language::Spanish);
        FAIL() << "saved into a missing folder";
    } catch (const VigiloError& error) {
        EXPECT_TRUE(error.Text().startsWith(QStringLiteral("No se puede guardar el fichero de informe")));
    }
}

TEST_F(QrpFileTest, DamagedTruncatedAndForeignFilesAreRefusedWithAClearMessage)
{
    const QByteArray good = SavedBytes();
    const auto flip = [&good](qsizetype at) {
        QByteArray bytes = good;
        bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
        return bytes;
    };
    const struct {
        const char* name;
        QByteArray bytes;
        const Text* message;
    } cases[] = {
        {"empty.qrp", QByteArray(), &texts::kQrpForeign},
        {"text.qrp", QByteArray("english\r\nName\r\n"), &texts::kQrpForeign},
        {"header_only.qrp", good.left(20), &texts::kQrpDamaged},
        {"half.qrp", good.left(good.size() / 2), &texts::kQrpDamaged},
        {"no_trailer.qrp", good.left(good.size() - 1), &texts::kQrpDamaged},
        {"version.qrp", flip(8), &texts::kQrpVersion},
        {"rows.qrp", flip(16), &texts::kQrpDamaged},
        {"definition.qrp", flip(60), &texts::kQrpDamaged},
        {"index.qrp", flip(good.size() - 30), &texts::kQrpDamaged},
        {"grown.qrp", good + QByteArray("x"), &texts::kQrpDamaged},
    };
    for (const auto& c : cases) {
        const QString path = Write(c.bytes, c.name);
        QString error;
        EXPECT_EQ(OpenQrp(path, Language::English, error), nullptr) << c.name;
        EXPECT_EQ(error, c.message->English().arg(QDir::toNativeSeparators(path))) << c.name;
    }
    QString error;
    EXPECT_EQ(OpenQrp(m_dir.filePath(QStringLiteral("absent.qrp")), Language::Spanish, error), nullptr);
    EXPECT_TRUE(error.startsWith(QStringLiteral("No se puede abrir el fichero de informe")));
}

TEST_F(QrpFileTest, DamagedPageIsReportedWhenReadAndOtherPagesStillRead)
{
    QString error;
    auto intact = OpenQrp(saved, Language::English, error);
    ASSERT_NE(intact, nullptr);
    // A byte in the middle of the rows of page 3 (0-based 2): find the page
    // by one of its texts.
    QByteArray bytes = SavedBytes();
    const qsizetype at = bytes.indexOf(QByteArray("C40"));
    ASSERT_GT(at, 0);
    bytes[at + 1] = 'X';
    const QString path = Write(bytes, "page.qrp");
    auto damaged = OpenQrp(path, Language::English, error);
    ASSERT_NE(damaged, nullptr) << "pages are checked when read, so a long report opens at once";
    EXPECT_EQ(damaged->ReadPage(0), intact->ReadPage(0));
    EXPECT_EQ(damaged->ReadPage(3), intact->ReadPage(3));
    try {
        damaged->ReadPage(2);
        FAIL() << "a damaged page was read";
    } catch (const VigiloError& e) {
        EXPECT_EQ(e.Text(), texts::kQrpPageDamaged.English().arg(QDir::toNativeSeparators(path)).arg(3));
    }
}
}  // namespace
