// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/errors.h"
#include "testpoints/table_filter.h"

#include <gtest/gtest.h>

namespace {

// Stored names differ in case from the filter's, as lookups ignore case.
QString StoredColumn(const QString& field)
{
    if (field.compare(QLatin1String("nosuch"), Qt::CaseInsensitive) == 0)
        throw VigiloError(QStringLiteral("Field 'nosuch' not found"));
    return field.toUpper();
}

TEST(TableFilter, ValidFiltersBuildBoundSql)
{
    struct Case {
        const char* filter;
        const char* sql;
        std::vector<QVariant> params;
    };
    const std::vector<Case> cases{
        {"", "", {}},
        {"   ", "", {}},
        {"index=12", "(\"INDEX\" = ?)", {QVariant(12LL)}},
        {" index  >=  -3 ", "(\"INDEX\" >= ?)", {QVariant(-3LL)}},
        {"LEVEL<45.5", "(\"LEVEL\" < ?)", {QVariant(45.5)}},
        {"index=1 or index=2 AND ch<>'E21'", "(\"INDEX\" = ? OR \"INDEX\" = ? AND \"CH\" <> ?)",
         {QVariant(1LL), QVariant(2LL), QVariant(QStringLiteral("E21"))}},
        {"[symbol rate]<=27500", "(\"SYMBOL RATE\" <= ?)", {QVariant(27500LL)}},
        {"\"C/N\">20 and minC/N=0", "(\"C/N\" > ? AND \"MINC/N\" = ?)", {QVariant(20LL), QVariant(0LL)}},
        {"g.interval='1/4'", "(\"G.INTERVAL\" = ?)", {QVariant(QStringLiteral("1/4"))}},
        // Quotes stay inside the bound value, whatever they spell.
        {"ch='it''s' or ch='x'' OR 1=1 --'", "(\"CH\" = ? OR \"CH\" = ?)",
         {QVariant(QStringLiteral("it's")), QVariant(QStringLiteral("x' OR 1=1 --"))}},
        {"ch=''", "(\"CH\" = ?)", {QVariant(QString())}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        const TableFilter filter = ParseFilter(QString::fromUtf8(c.filter));
        std::vector<QVariant> params{QVariant(QStringLiteral("before"))};
        EXPECT_EQ(FilterSql(filter, StoredColumn, params), QString::fromUtf8(c.sql));
        ASSERT_EQ(params.size(), c.params.size() + 1);  // appended after what was there
        for (size_t i = 0; i < c.params.size(); ++i) {
            EXPECT_EQ(params[i + 1], c.params[i]) << i;
            EXPECT_EQ(params[i + 1].typeId(), c.params[i].typeId()) << i;
        }
    }
}

TEST(TableFilter, MalformedFiltersRaiseWithWhatAndWhere)
{
    struct Case {
        const char* filter;
        const char* why;
    };
    const std::vector<Case> cases{
        {"index=", "value expected at position 7"},
        {"index 1", "comparison expected at position 7"},
        {"index==1", "'=1' is neither a number nor a quoted text"},
        {"=1", "field name expected at position 1"},
        {"index=1 and", "field name expected at position 12"},
        {"index=1; DROP TABLE records", "'1;' is neither a number nor a quoted text"},
        {"index=1 xor ch='a'", "'and' or 'or' expected at position 9"},
        {"index=1 ch='a'", "'and' or 'or' expected at position 9"},
        {"ch='open", "text opened at position 4 is not closed"},
        {"[symbol rate=1", "field name opened at position 1 is not closed"},
        {"index=abc", "'abc' is neither a number nor a quoted text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        try {
            ParseFilter(QString::fromUtf8(c.filter));
            ADD_FAILURE() << "accepted";
        } catch (const VigiloError& error) {
            EXPECT_EQ(error.Text(), QStringLiteral("Bad filter '%1': %2").arg(QString::fromUtf8(c.filter),
                                                                              QString::fromUtf8(c.why)));
        }
    }
}

TEST(TableFilter, UnknownFieldIsRaisedWhenTheSqlIsBuilt)
{
    const TableFilter filter = ParseFilter(QStringLiteral("index=1 or nosuch=2"));
    std::vector<QVariant> params;
    EXPECT_THROW(FilterSql(filter, StoredColumn, params), VigiloError);
}

}  // namespace
