// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/table_filter.h"

#include "testpoints/engine_texts.h"
#include "testpoints/sql_statement.h"

namespace {
struct FilterParser {
    const QString& text;
    int at = 0;

    void SkipSpaces()
    {
        while (at < text.size() && text[at].isSpace())
            ++at;
    }
    bool AtEnd()
    {
        SkipSpaces();
        return at >= text.size();
    }
    [[noreturn]] void Error(const QString& what) const
    {
        FailTable(EngineText(texts::kBadFilter).arg(text, what));
    }
    QString FieldName()
    {
        SkipSpaces();
        if (at >= text.size())
            Error(EngineText(texts::kFilterFieldExpected).arg(at + 1));
        const QChar open = text[at];
        if (open == QLatin1Char('[') || open == QLatin1Char('"')) {
            const QChar close = open == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('"');
            const int end = text.indexOf(close, at + 1);
            if (end < 0)
                Error(EngineText(texts::kFilterUnclosedField).arg(at + 1));
            const QString name = text.mid(at + 1, end - at - 1);
            at = end + 1;
            return name;
        }
        const int start = at;
        while (at < text.size() &&
               (text[at].isLetterOrNumber() || text[at] == QLatin1Char('_') || text[at] == QLatin1Char('.') ||
                text[at] == QLatin1Char('/')))
            ++at;
        if (at == start)
            Error(EngineText(texts::kFilterFieldExpected).arg(start + 1));
        return text.mid(start, at - start);
    }
    QString Operator()
    {
        SkipSpaces();
        for (const char* op : {"<=", ">=", "<>", "=", "<", ">"}) {
            const QLatin1String candidate(op);
            if (text.mid(at, candidate.size()) == candidate) {
                at += static_cast<int>(candidate.size());
                return QString(candidate);
            }
        }
        Error(EngineText(texts::kFilterComparisonExpected).arg(at + 1));
    }
    QVariant Literal()
    {
        SkipSpaces();
        if (at >= text.size())
            Error(EngineText(texts::kFilterValueExpected).arg(at + 1));
        if (text[at] == QLatin1Char('\'')) {
            const int start = at;
            QString value;
            ++at;
            while (true) {
                if (at >= text.size())
                    Error(EngineText(texts::kFilterUnclosedText).arg(start + 1));
                if (text[at] == QLatin1Char('\'')) {
                    if (at + 1 < text.size() && text[at + 1] == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        at += 2;
                        continue;
                    }
                    ++at;
                    return QVariant(value);
                }
                value += text[at++];
            }
        }
        const int start = at;
        while (at < text.size() && !text[at].isSpace())
            ++at;
        const QString word = text.mid(start, at - start);
        bool ok = false;
        const long long whole = word.toLongLong(&ok);
        // Whole numbers bind as integers, so "index=5" matches the text "5" of
        // a text field as well as the number 5.
        if (ok)
            return QVariant(whole);
        const double number = word.toDouble(&ok);
        if (ok)
            return QVariant(number);
        Error(EngineText(texts::kFilterBadValue).arg(word));
    }
    QString Join()
    {
        SkipSpaces();
        const int start = at;
        while (at < text.size() && text[at].isLetter())
            ++at;
        const QString word = text.mid(start, at - start).toLower();
        if (word != QLatin1String("and") && word != QLatin1String("or"))
            Error(EngineText(texts::kFilterJoinExpected).arg(start + 1));
        return word;
    }
};
}  // namespace

TableFilter ParseFilter(const QString& text)
{
    TableFilter filter;
    FilterParser parser{text};
    if (parser.AtEnd())
        return filter;
    while (true) {
        FilterCondition condition;
        condition.field = parser.FieldName();
        condition.op = parser.Operator();
        condition.value = parser.Literal();
        filter.conditions.push_back(std::move(condition));
        if (parser.AtEnd())
            return filter;
        filter.joins.push_back(parser.Join());
    }
}

QString FilterSql(const TableFilter& filter, const std::function<QString(const QString&)>& columnOf,
                  std::vector<QVariant>& params)
{
    if (filter.IsEmpty())
        return QString();
    QString sql = QStringLiteral("(");
    for (size_t i = 0; i < filter.conditions.size(); ++i) {
        const FilterCondition& c = filter.conditions[i];
        if (i > 0)
            sql += QLatin1Char(' ') + filter.joins[i - 1].toUpper() + QLatin1Char(' ');
        sql += QuoteSqlName(columnOf(c.field)) + QLatin1Char(' ') + c.op + QStringLiteral(" ?");
        params.push_back(c.value);
    }
    return sql + QLatin1Char(')');
}
