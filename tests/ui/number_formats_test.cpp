// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_ui.h"
#include "instrument/measurement_readout.h"
#include "platform/decimal_point.h"
#include "support/temp_folder.h"
#include "testpoints/dataset.h"
#include "testpoints/table_layouts.h"

#include <QFile>
#include <QtTest>
#include <clocale>
#include <cstdio>
#include <locale.h>
#include <sqlite3.h>

namespace {
// A C locale that writes a decimal comma, as the station's own one does.
constexpr char kCommaLocale[] = "es_ES.UTF-8";

bool LocaleInstalled(const char* name)
{
    locale_t probe = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
    if (!probe)
        return false;
    freelocale(probe);
    return true;
}
}  // namespace

// The application object chooses the C locale after QApplication has set it
// from the environment (C.UTF-8 for the tests); numbers are stored with a
// point under that comma locale all the same.
class NumberFormatsTest : public QObject {
    Q_OBJECT

private slots:
    void StartUpLocaleOutlivesTheApplicationObject()
    {
        if (!LocaleInstalled(kCommaLocale))
            QSKIP("no es_ES.UTF-8 locale on this machine (scripts/setup makes one)");
        QCOMPARE(QByteArray(std::setlocale(LC_NUMERIC, nullptr)), QByteArray(kCommaLocale));
        char raw[16];
        std::snprintf(raw, sizeof raw, "%.1f", 57.25);
        QCOMPARE(QByteArray(raw), QByteArray("57,2"));
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral("."));
    }

    void StoredNumbersCarryAPoint()
    {
        if (!LocaleInstalled(kCommaLocale))
            QSKIP("no es_ES.UTF-8 locale on this machine (scripts/setup makes one)");
        TempProgramFolder folder;
        RegisterDatabaseNames();
        Dataset ds(QString::fromUtf8(dbnames::kMeasurements), QStringLiteral("comma"));
        ds.CreateTable(MeasurementFields());
        ds.Open();
        ds.Append();
        ds.SetNumber(QLatin1String(fields::kFreq), 474.25);   // a number into a text field
        ds.SetNumber(QLatin1String(fields::kLevel), 57.25);   // into a number field
        ds.SetText(QLatin1String(fields::kCBER), BerReading("*?CB 23E-6"));
        ds.Post();
        ds.Close();

        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open_v2(QFile::encodeName(ds.FilePath()).constData(), &db, SQLITE_OPEN_READONLY, nullptr),
                 SQLITE_OK);
        sqlite3_stmt* stmt = nullptr;
        QCOMPARE(sqlite3_prepare_v2(db, "SELECT \"freq\", CAST(\"LEVEL\" AS TEXT), \"CBER\" FROM records", -1, &stmt,
                                    nullptr),
                 SQLITE_OK);
        QCOMPARE(sqlite3_step(stmt), SQLITE_ROW);
        QStringList stored;
        for (int i = 0; i < 3; ++i)
            stored.append(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i))));
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        QCOMPARE(stored, (QStringList{"474.25", "57.25", "2.3E-5"}));
    }
};

int main(int argc, char** argv)
{
    VigiloApplication app(argc, argv, kCommaLocale);
    NumberFormatsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "number_formats_test.moc"
