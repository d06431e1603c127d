// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/errors.h"
#include "testpoints/dataset.h"
#include "testpoints/sql_statement.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A small Measurements-like table: three test points, visited unevenly.
class SqlStatementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dataset table(QString(), path);
        table.CreateTable({{QStringLiteral("index"), FieldKind::Text, 5, false},
                           {QStringLiteral("LEVEL"), FieldKind::Float, 0, false},
                           {QStringLiteral("C/N"), FieldKind::Float, 0, false}});
        table.Open();
        struct Visit {
            const char* index;
            double level;
        };
        for (const Visit& v : {Visit{"2", 50}, Visit{"1", 40}, Visit{"2", 54}, Visit{"3", 61}, Visit{"1", 44},
                               Visit{"2", 52}}) {
            table.Append();
            table.SetText(QStringLiteral("index"), QString::fromLatin1(v.index));
            table.SetNumber(QStringLiteral("LEVEL"), v.level);
            table.Post();
        }
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("visits.db"));
};

TEST_F(SqlStatementTest, GroupedPassReadsRowsByPosition)
{
    SqlConnection db(path, SqlAccess::Read);
    const QString sql = QStringLiteral("SELECT \"index\", min(LEVEL), max(LEVEL), avg(LEVEL), count(*), max(%1) "
                                       "FROM records GROUP BY \"index\" ORDER BY \"index\" LIMIT ? OFFSET ?")
                            .arg(QuoteSqlName(QStringLiteral("C/N")));
    struct Page {
        long long limit, offset;
        QStringList indexes;
    };
    for (const Page& page : {Page{10, 0, {"1", "2", "3"}}, Page{1, 1, {"2"}}, Page{5, 2, {"3"}}, Page{5, 3, {}}}) {
        SCOPED_TRACE(page.offset);
        SqlStatement query(db, sql);  // the same text again: the connection's prepared statement
        query.BindAll({QVariant(page.limit), QVariant(page.offset)});
        QStringList seen;
        while (query.Step()) {
            seen.append(query.String(0));
            if (query.String(0) == QLatin1String("2")) {
                EXPECT_EQ(query.Column(1), QVariant(50.0));
                EXPECT_EQ(query.Column(2), QVariant(54.0));
                EXPECT_DOUBLE_EQ(query.Double(3), 52.0);
                EXPECT_EQ(query.Column(4), QVariant(3LL));
                EXPECT_EQ(query.Type(5), SqlType::Null);  // no C/N was measured
                EXPECT_FALSE(query.Column(5).isValid());
            }
        }
        EXPECT_EQ(seen, page.indexes);
    }
    SqlStatement names(db, sql);
    EXPECT_EQ(names.ColumnCount(), 6);
    EXPECT_EQ(names.ColumnName(0), QStringLiteral("index"));
}

TEST_F(SqlStatementTest, BoundValuesKeepTheirKindAndAreNeverSqlText)
{
    SqlConnection db(path, SqlAccess::Write);
    db.Exec(QStringLiteral("CREATE TABLE probe (v)"));
    const std::vector<QVariant> values{QVariant(), QVariant(7), QVariant(2.5), QVariant(QStringLiteral("x' OR 1=1 --")),
                                       QVariant(true), QVariant(QByteArray("raw"))};
    {
        SqlStatement insert(db, QStringLiteral("INSERT INTO probe (rowid, v) VALUES (?, ?)"));
        for (size_t i = 0; i < values.size(); ++i) {
            insert.BindAll({QVariant(static_cast<long long>(i + 1)), values[i]});
            EXPECT_FALSE(insert.Step());
            insert.Reset();
        }
    }
    EXPECT_EQ(db.LastInsertRowId(), static_cast<long long>(values.size()));
    SqlStatement read(db, QStringLiteral("SELECT typeof(v), v FROM probe ORDER BY rowid"));
    const QStringList types{"null", "integer", "real", "text", "integer", "text"};
    for (const QString& type : types) {
        ASSERT_TRUE(read.Step());
        EXPECT_EQ(read.String(0), type);
    }
    EXPECT_FALSE(read.Step());
    read.Reset();
    ASSERT_TRUE(read.Step());
    EXPECT_TRUE(read.String(1).isNull());
}

TEST_F(SqlStatementTest, StatementsInUseAtOnceAndRolledBackWrites)
{
    SqlConnection db(path, SqlAccess::Write);
    const QString sql = QStringLiteral("SELECT LEVEL FROM records WHERE \"index\" = ? ORDER BY rowid");
    SqlStatement outer(db, sql);
    outer.Bind(1, QStringLiteral("1"));
    ASSERT_TRUE(outer.Step());
    {
        // The same text while the first is still stepping: a second statement,
        // not the first one reset under its reader.
        SqlStatement inner(db, sql);
        inner.Bind(1, QStringLiteral("2"));
        ASSERT_TRUE(inner.Step());
        EXPECT_EQ(inner.Double(0), 50.0);
    }
    ASSERT_TRUE(outer.Step());
    EXPECT_EQ(outer.Double(0), 44.0);

    db.Exec(QStringLiteral("BEGIN IMMEDIATE"));
    db.Exec(QStringLiteral("DELETE FROM records"));
    db.RollbackQuietly();
    SqlStatement count(db, QStringLiteral("SELECT count(*) FROM records"));
    ASSERT_TRUE(count.Step());
    EXPECT_EQ(count.Int(0), 6);
}

TEST_F(SqlStatementTest, FailuresNameTheFile)
{
    QFile junk(dir.filePath(QStringLiteral("junk.db")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();

    struct Case {
        const char* what;
        std::function<void()> action;
        QString text;
    };
    const QString missing = dir.filePath(QStringLiteral("none.db"));
    const QString nowhere = dir.filePath(QStringLiteral("no/such/t.db"));
    const std::vector<Case> cases{
        {"missing file", [&] { SqlConnection(missing, SqlAccess::Read); },
         QStringLiteral("Table does not exist: ") + missing},
        {"missing folder", [&] { SqlConnection(nowhere, SqlAccess::Create); },
         QStringLiteral("Folder does not exist: ") + dir.filePath(QStringLiteral("no/such"))},
        {"not a table",
         [&] {
             SqlConnection db(junk.fileName(), SqlAccess::Read);
             SqlStatement(db, QStringLiteral("SELECT * FROM records"));
         },
         junk.fileName() + QStringLiteral(" is not a table of this station")},
        {"write on a read-only connection",
         [&] {
             SqlConnection db(path, SqlAccess::Read);
             db.Exec(QStringLiteral("DELETE FROM records"));
         },
         QStringLiteral("Table is read only: ") + path},
        {"bad SQL",
         [&] {
             SqlConnection db(path, SqlAccess::Read);
             SqlStatement(db, QStringLiteral("SELECT nosuch FROM records"));
         },
         QStringLiteral("Table error in %1: no such column: nosuch").arg(path)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.action();
            ADD_FAILURE() << "no error";
        } catch (const VigiloError& error) {
            EXPECT_EQ(error.Text(), c.text);
        }
    }
    SqlConnection db(path, SqlAccess::Read);  // the failures left the table readable
    SqlStatement count(db, QStringLiteral("SELECT count(*) FROM records"));
    ASSERT_TRUE(count.Step());
    EXPECT_EQ(count.Int(0), 6);
}

TEST(QuoteSqlName, QuotesAndDoublesEmbeddedQuotes)
{
    EXPECT_EQ(QuoteSqlName(QStringLiteral("symbol rate")), QStringLiteral("\"symbol rate\""));
    EXPECT_EQ(QuoteSqlName(QStringLiteral("a\"b")), QStringLiteral("\"a\"\"b\""));
}

}  // namespace
