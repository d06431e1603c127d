// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/field_values.h"

#include "platform/decimal_point.h"
#include "testpoints/engine_texts.h"
#include "testpoints/sql_statement.h"

#include <cmath>
#include <optional>

namespace {
// "inf" and "nan" parse as numbers but are no measurement or threshold.
std::optional<double> FiniteNumber(const QString& text)
{
    bool ok = false;
    const double number = FixDecimalPoint(text).toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}
}  // namespace

QString NumberText(double value)
{
    return QString::number(value, 'g', 15);
}

QVariant ReadFieldValue(const SqlStatement& query, int column, FieldKind kind)
{
    switch (query.Type(column)) {
    case SqlType::Null: return QVariant();
    case SqlType::Integer:
        if (kind == FieldKind::Float) return QVariant(static_cast<double>(query.Int(column)));
        if (kind == FieldKind::Text) return QVariant(query.String(column));
        return QVariant(query.Int(column));
    case SqlType::Float:
        if (kind == FieldKind::Text) return QVariant(NumberText(query.Double(column)));
        if (kind == FieldKind::AutoIncrement) return QVariant(static_cast<long long>(query.Double(column)));
        return QVariant(query.Double(column));
    case SqlType::Text:
    case SqlType::Blob: break;
    }
    const QString text = query.String(column);
    if (kind == FieldKind::Text) return QVariant(text);
    bool ok = false;
    const double number = FixDecimalPoint(text.trimmed()).toDouble(&ok);
    if (!ok) return QVariant(text);
    if (kind == FieldKind::AutoIncrement) return QVariant(static_cast<long long>(number));
    return QVariant(number);
}

QVariant StoredFieldValue(const FieldDef& field, const QVariant& value)
{
    if (field.kind == FieldKind::AutoIncrement)
        FailTable(EngineText(texts::kFieldReadOnly).arg(field.name));
    if (!value.isValid() || value.isNull())
        return QVariant();
    const int type = value.typeId();
    const bool numeric = type == QMetaType::Double || type == QMetaType::Float || type == QMetaType::Int ||
                         type == QMetaType::LongLong || type == QMetaType::UInt || type == QMetaType::ULongLong;
    if (field.kind == FieldKind::Text) {
        const QString text = numeric ? NumberText(value.toDouble()) : value.toString();
        // An empty text is no value, as in the tables the station always kept.
        if (text.isEmpty())
            return QVariant();
        return QVariant(text.left(field.width));
    }
    if (numeric)
        return QVariant(value.toDouble());
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return QVariant();
    const auto number = FiniteNumber(text);
    if (!number)
        FailTable(EngineText(texts::kNotANumber).arg(text, field.name));
    return QVariant(*number);
}

QString FieldText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::Double)
        return NumberText(value.toDouble());
    return value.toString();
}

double FieldNumber(const QVariant& value, const QString& fieldName)
{
    if (value.isNull())
        return 0.0;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong)
        return value.toDouble();
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return 0.0;
    const auto number = FiniteNumber(text);
    if (!number)
        FailTable(EngineText(texts::kNotANumber).arg(text, fieldName));
    return *number;
}
