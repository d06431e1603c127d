// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel_tables.h"

#include "platform/errors.h"
#include "support/temp_folder.h"
#include "testpoints/dataset.h"
#include "testpoints/table_layouts.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

class DatasetTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterDatabaseNames(); }

    static void Make(Dataset& ds, const QString& name, const QStringList& channels)
    {
        MakeChannelTable(ds, name, channels);
    }

    static QStringList Column(Dataset& ds, const QString& field) { return ColumnOf(ds, field); }

    TempProgramFolder folder;
};

TEST_F(DatasetTest, PendingRowIsStoredWhenCursorMovesRefreshesClosesOrReopens)
{
    const std::vector<std::pair<const char*, std::function<void(Dataset&)>>> triggers{
        {"next", [](Dataset& ds) { ds.Next(); }},
        {"first", [](Dataset& ds) { ds.First(); }},
        {"refresh", [](Dataset& ds) { ds.Refresh(); }},
        {"close", [](Dataset& ds) { ds.Close(); }},
        {"reopen", [](Dataset& ds) { ds.Open(); }},
        {"append", [](Dataset& ds) { ds.Append(); ds.Cancel(); }},
    };
    for (const auto& [name, trigger] : triggers) {
        SCOPED_TRACE(name);
        Dataset ds;
        Make(ds, QStringLiteral("pending"), {QStringLiteral("A")});
        ds.Append();
        ds.SetText(QStringLiteral("ch"), QStringLiteral("NEW"));
        ds.Edit();  // already pending: stays the same row
        trigger(ds);

        Dataset check(QStringLiteral("TestPoints"), QStringLiteral("pending"));
        check.Open();
        EXPECT_EQ(Column(check, QStringLiteral("ch")), (QStringList{QStringLiteral("A"), QStringLiteral("NEW")}));
        check.Close();
        ds.Close();
    }
}

TEST_F(DatasetTest, EditedRowIsStoredOnMoveAndCancelDropsIt)
{
    Dataset ds;
    Make(ds, QStringLiteral("edit"), {QStringLiteral("A"), QStringLiteral("B")});
    ds.Edit();
    ds.SetText(QStringLiteral("ch"), QStringLiteral("A2"));
    ds.Next();
    ds.SetText(QStringLiteral("ch"), QStringLiteral("B2"));  // implicit edit
    ds.Cancel();
    EXPECT_EQ(Column(ds, QStringLiteral("ch")), (QStringList{QStringLiteral("A2"), QStringLiteral("B")}));
}

TEST_F(DatasetTest, InsertBeforeCurrentKeepsStoredOrderEvenWithoutRoomBetweenRows)
{
    Dataset ds;
    Make(ds, QStringLiteral("order"), {QStringLiteral("A"), QStringLiteral("B")});
    ds.Next();  // on B
    // Forty inserts at the same place exhaust the gap between A and B and
    // force the later rows to move.
    QStringList expected{QStringLiteral("A")};
    for (int i = 0; i < 40; ++i) {
        ds.Insert();
        ds.SetText(QStringLiteral("ch"), QString::number(i));
        ds.Post();
        ds.Next();  // back on B: the new row stands right before it
        EXPECT_EQ(ds.Text(QStringLiteral("ch")), QStringLiteral("B"));
        expected.append(QString::number(i));
    }
    expected.append(QStringLiteral("B"));
    EXPECT_EQ(Column(ds, QStringLiteral("ch")), expected);

    ds.First();
    ds.Insert();
    ds.SetText(QStringLiteral("ch"), QStringLiteral("TOP"));
    ds.Post();
    EXPECT_EQ(ds.RecNo(), 0);
    EXPECT_EQ(Column(ds, QStringLiteral("ch")).first(), QStringLiteral("TOP"));
}

TEST_F(DatasetTest, AutoIncrementNeverReusedAfterDeleteSaveAndReopen)
{
    Dataset ds;
    Make(ds, QStringLiteral("auto"), {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    ds.Last();
    ds.Delete();  // deletes 3, the highest
    ds.Close();

    const QString saved = TestPointsFolder() + QStringLiteral("/saved.db");
    CopyTableFile(ds.FilePath(), saved);
    Dataset reopened(QStringLiteral("TestPoints"), saved);
    reopened.Open();
    reopened.Append();
    reopened.Post();
    EXPECT_EQ(reopened.Text(QStringLiteral("index")), QStringLiteral("4"));
    for (reopened.First(); reopened.RecordCount() > 0;)
        reopened.Delete();
    reopened.Close();
    reopened.Open();
    reopened.Append();
    reopened.Post();
    EXPECT_EQ(reopened.Number(QStringLiteral("index")), 5.0);
    EXPECT_THROW(reopened.SetNumber(QStringLiteral("index"), 1), VigiloError);
}

TEST_F(DatasetTest, ValuesConvertByFieldKind)
{
    Dataset ds;
    ds.SetDatabaseName(QStringLiteral("Measurements"));
    ds.SetTableName(QStringLiteral("m.db"));
    ds.CreateTable(MeasurementFields());
    ds.Open();
    ds.Append();
    ds.SetText(QStringLiteral("CH"), QStringLiteral("TOOLONGNAME"));  // width 8, any case
    ds.SetNumber(QStringLiteral("freq"), 474.25);                     // number into a text field
    ds.SetNumber(QStringLiteral("index"), 12);
    ds.SetText(QStringLiteral("LEVEL"), QStringLiteral("-45,5"));  // decimal comma accepted
    ds.SetValue(QStringLiteral("MER"), QVariant(60));
    ds.SetText(QStringLiteral("CBER"), QString());
    ds.Post();
    ds.Refresh();

    EXPECT_EQ(ds.Text(QStringLiteral("ch")), QStringLiteral("TOOLONGN"));
    EXPECT_EQ(ds.Text(QStringLiteral("freq")), QStringLiteral("474.25"));
    EXPECT_EQ(ds.Text(QStringLiteral("index")), QStringLiteral("12"));
    EXPECT_EQ(ds.Number(QStringLiteral("freq")), 474.25);
    EXPECT_EQ(ds.Text(QStringLiteral("level")), QStringLiteral("-45.5"));
    EXPECT_EQ(ds.Text(QStringLiteral("MER")), QStringLiteral("60"));
    EXPECT_TRUE(ds.Value(QStringLiteral("CBER")).isNull());
    EXPECT_EQ(ds.Number(QStringLiteral("C/N")), 0.0);  // no value reads 0

    EXPECT_FALSE(ds.FindField(QStringLiteral("modulation")).has_value());
    EXPECT_TRUE(ds.HasField(QStringLiteral("guard INTERVAL")));
    try {
        ds.Text(QStringLiteral("modulation"));
        FAIL() << "absent field read";
    } catch (const VigiloError& error) {
        EXPECT_EQ(error.Text(), QStringLiteral("Field 'modulation' not found"));
    }
    ds.SetText(QStringLiteral("warning"), QStringLiteral("YES"));
    EXPECT_THROW(ds.Number(QStringLiteral("warning")), VigiloError);
    for (const char* bad : {"high", "nan", "inf", "-inf"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(ds.SetText(QStringLiteral("LEVEL"), QString::fromLatin1(bad)), VigiloError);
        ds.SetText(QStringLiteral("freq"), QString::fromLatin1(bad));
        EXPECT_THROW(ds.Number(QStringLiteral("freq")), VigiloError);
    }
}

TEST_F(DatasetTest, FilterSelectsRowsOfOneTestPointWithoutPastingTextIntoSql)
{
    Dataset ds(QStringLiteral("Measurements"), QStringLiteral("filter"));
    ds.CreateTable(MeasurementFields());
    ds.Open();
    for (const char* index : {"1", "2", "1", "10", "1"}) {
        ds.Append();
        ds.SetText(QStringLiteral("index"), QString::fromLatin1(index));
        ds.SetText(QStringLiteral("ch"), QStringLiteral("it's"));
        ds.Post();
    }
    struct Case {
        const char* filter;
        long long count;
    };
    for (const Case& c : {Case{"index=1", 3}, Case{"index = 10", 1}, Case{"index=3", 0},
                          Case{"index=1 or index=2", 4}, Case{"[ch]='it''s' and index<>1", 2},
                          Case{"ch = 'x'' OR 1=1 --'", 0}}) {
        SCOPED_TRACE(c.filter);
        ds.SetFilter(QString::fromLatin1(c.filter));
        ds.SetFiltered(true);
        EXPECT_EQ(ds.RecordCount(), c.count);
        long long seen = 0;
        for (ds.First(); !ds.Eof(); ds.Next())
            ++seen;
        EXPECT_EQ(seen, c.count);
        ds.SetFiltered(false);
        EXPECT_EQ(ds.RecordCount(), 5);
    }
    for (const char* bad : {"index=", "index 1", "nosuch=1", "index=1; DROP TABLE records", "index=1 xor ch='a'"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(ds.SetFilter(QString::fromLatin1(bad)), VigiloError);
    }
    EXPECT_EQ(ds.RecordCount(), 5);
}

TEST_F(DatasetTest, AfterInsertRunsWhenAPendingRowIsCreated)
{
    Dataset ds;
    Make(ds, QStringLiteral("events"), {});
    int calls = 0;
    ds.afterInsert = [&] { ++calls; };
    EXPECT_TRUE(ds.Eof());
    ds.Append();
    ds.Insert();  // stores the first, starts a second
    ds.Cancel();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(ds.RecordCount(), 1);
}

TEST_F(DatasetTest, CreateReplacesAnExistingTableAndFailuresNameTheirCause)
{
    Dataset ds;
    Make(ds, QStringLiteral("again"), {QStringLiteral("A"), QStringLiteral("B")});
    EXPECT_THROW(ds.CreateTable(kSmallLayout), VigiloError);  // still open
    ds.Close();
    ds.CreateTable(kSmallLayout);
    ds.Open();
    EXPECT_EQ(ds.RecordCount(), 0);
    EXPECT_TRUE(ds.Eof());
    ds.Append();
    ds.Post();
    EXPECT_EQ(ds.Text(QStringLiteral("index")), QStringLiteral("1"));
    ds.Close();

    Dataset missing(QStringLiteral("TestPoints"), QStringLiteral("nothere"));
    EXPECT_FALSE(missing.FileExists());
    EXPECT_THROW(missing.Open(), VigiloError);
    EXPECT_FALSE(missing.IsOpen());

    QFile junk(TestPointsFolder() + QStringLiteral("/junk.db"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a table at all, just some text");
    junk.close();
    Dataset notTable(QStringLiteral("TestPoints"), QStringLiteral("junk.db"));
    EXPECT_THROW(notTable.Open(), VigiloError);
    EXPECT_THROW(CopyTableFile(junk.fileName(), ds.FilePath()), VigiloError);
    ds.Open();  // the target of the refused copy is intact
    EXPECT_EQ(ds.RecordCount(), 1);

    Dataset nowhere(QStringLiteral("TestPoints"), folder.File(QStringLiteral("no/such/folder/t.db")));
    EXPECT_THROW(nowhere.CreateTable(kSmallLayout), VigiloError);
    EXPECT_THROW(Dataset(QStringLiteral("NoSuchName"), QStringLiteral("x")).FilePath(), VigiloError);
}

TEST_F(DatasetTest, TableFileIsPlainSqliteWithFieldsAsColumnsInOrder)
{
    Dataset ds(QStringLiteral("Measurements"), QStringLiteral("plain"));
    ds.CreateTable(MeasurementFields());
    ds.Open();
    ds.Append();
    ds.SetText(QStringLiteral("index"), QStringLiteral("7"));
    ds.SetNumber(QStringLiteral("LEVEL"), 60);
    ds.Post();

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(ds.FilePath()).constData(), &db, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT * FROM records", -1, &stmt, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    QStringList columns;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i)
        columns.append(QString::fromUtf8(sqlite3_column_name(stmt, i)));
    QStringList expected = ds.FieldNames();
    expected.append(QStringLiteral("_pos"));
    EXPECT_EQ(columns, expected);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), "7");
    EXPECT_EQ(sqlite3_column_double(stmt, 13), 60.0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

TEST_F(DatasetTest, RollbackDropsRowsOfTheBulkLoad)
{
    Dataset ds;
    Make(ds, QStringLiteral("bulk"), {QStringLiteral("A")});
    ds.StartTransaction();
    ds.Append();
    ds.SetText(QStringLiteral("ch"), QStringLiteral("B"));
    ds.Post();
    ds.Rollback();
    EXPECT_EQ(Column(ds, QStringLiteral("ch")), QStringList{QStringLiteral("A")});
    ds.StartTransaction();
    ds.Append();
    ds.Post();
    ds.Commit();
    EXPECT_EQ(ds.RecordCount(), 2);
}

TEST_F(DatasetTest, TableNameMatchesFileWithoutRegardToCase)
{
    Dataset ds(QStringLiteral("Satellite"), QStringLiteral("13E_HOTBIRD.db"));
    ds.CreateTable(SatellitePlanFields());
    Dataset upper(QStringLiteral("Satellite"), QString::fromLatin1(kInitialSatellitePlan));
    EXPECT_TRUE(upper.FileExists());
    upper.Open();
    EXPECT_EQ(upper.Fields().size(), SatellitePlanFields().size());
}

TEST(TableLayouts, FieldCountsAndFolders)
{
    TempProgramFolder folder;
    EXPECT_EQ(TestPointFields().size(), 31u);
    EXPECT_EQ(MeasurementFields().size(), 28u);
    EXPECT_EQ(TestPointFields().front().kind, FieldKind::AutoIncrement);
    RegisterDatabaseNames();
    for (const char* sub : {"TestPoints", "Terrestrial", "Satellite", "Measurements", "Filter", "SaveReports"})
        EXPECT_TRUE(QFileInfo(folder.File(QStringLiteral("Database/") + QLatin1String(sub))).isDir()) << sub;
    EXPECT_EQ(DatabaseFolder(QStringLiteral("Filter")), folder.File(QStringLiteral("Database/Filter/")));
    EXPECT_EQ(DatabaseNames().size(), 5);
}

}  // namespace
