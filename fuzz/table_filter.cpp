// SPDX-License-Identifier: GPL-3.0-or-later
// A filter typed by the user: it parses or is refused with a message, and a
// parsed one becomes SQL with exactly one bound value per condition.
#include "fuzz_support.h"
#include "platform/errors.h"
#include "testpoints/table_filter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(fuzz::Bytes(data, size));
    TableFilter filter;
    try {
        filter = ParseFilter(text);
    } catch (const VigiloError& error) {
        if (error.Text().isEmpty())
            __builtin_trap();
        return 0;
    }
    if (!filter.IsEmpty() && filter.joins.size() + 1 != filter.conditions.size())
        __builtin_trap();
    std::vector<QVariant> params;
    const QString sql = FilterSql(filter, [](const QString&) { return QStringLiteral("F"); }, params);
    if (params.size() != filter.conditions.size() || sql.count(QLatin1Char('?')) != static_cast<qsizetype>(params.size()))
        __builtin_trap();
    return 0;
}
