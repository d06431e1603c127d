// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small tables of channel names, for the table engine's tests.

#include "testpoints/dataset.h"

#include <QStringList>
#include <vector>

inline const std::vector<FieldDef> kSmallLayout{
    {QStringLiteral("index"), FieldKind::AutoIncrement, 0, true},
    {QStringLiteral("ch"), FieldKind::Text, 4, false},
    {QStringLiteral("level"), FieldKind::Float, 0, false},
};

// A table of the small layout in the TestPoints folder with the given channel
// names, open, on its first row.
inline void MakeChannelTable(Dataset& ds, const QString& name, const QStringList& channels)
{
    ds.SetDatabaseName(QStringLiteral("TestPoints"));
    ds.SetTableName(name);
    ds.CreateTable(kSmallLayout);
    ds.Open();
    for (const QString& ch : channels) {
        ds.Append();
        ds.SetText(QStringLiteral("ch"), ch);
        ds.Post();
    }
    ds.First();
}

// One field of every row, in stored order.
inline QStringList ColumnOf(Dataset& ds, const QString& field = QStringLiteral("ch"))
{
    QStringList out;
    for (ds.First(); !ds.Eof(); ds.Next())
        out.append(ds.Text(field));
    return out;
}
