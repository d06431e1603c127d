// SPDX-License-Identifier: GPL-3.0-or-later
// vigilo-import-testpoints SOURCE.csv SET.db
// Creates (or replaces) a test point set from a semicolon-separated file whose
// header names test point fields, in any order; `index` is numbered by the
// table. On a bad value nothing is written and the line and field are named.
#include "platform/errors.h"
#include "testpoints/csv_tables.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: vigilo-import-testpoints SOURCE.csv SET.db\n");
        return 2;
    }
    try {
        const long long count = ImportTestPointsCsv(args[1], args[2]);
        std::printf("%lld test points written to %s\n", count, qPrintable(args[2]));
    } catch (const VigiloError& error) {
        std::fprintf(stderr, "vigilo-import-testpoints: %s\n", qPrintable(error.Text()));
        return 1;
    }
    return 0;
}
