// SPDX-License-Identifier: GPL-3.0-or-later
// A test point CSV file from anywhere: the import either builds a set with
// one row per data line or refuses with a message, and a refused import
// leaves no table behind.
#include "fuzz_support.h"
#include "platform/errors.h"
#include "testpoints/csv_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString csv = fuzz::WriteScratchFile(QStringLiteral("points.csv"), data, size);
    const QString table = fuzz::ScratchFolder().filePath(QStringLiteral("points.db"));
    QFile::remove(table);
    try {
        const long long imported = ImportTestPointsCsv(csv, table);
        if (imported < 0)
            __builtin_trap();
    } catch (const VigiloError& error) {
        if (error.Text().isEmpty())
            __builtin_trap();  // a refusal always says why
        if (QFile::exists(table))
            __builtin_trap();  // nothing is written when the file is refused
    }
    QFile::remove(table);
    return 0;
}
