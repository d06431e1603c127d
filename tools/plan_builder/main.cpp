// SPDX-License-Identifier: GPL-3.0-or-later
// vigilo-plan-builder SOURCE.csv TABLE.db
// Builds a channel plan table from a semicolon-separated source whose header
// names the plan's fields; values are stored as text, as written.
#include "platform/errors.h"
#include "testpoints/csv_tables.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: vigilo-plan-builder SOURCE.csv TABLE.db\n");
        return 2;
    }
    try {
        BuildPlanTable(args[1], args[2]);
    } catch (const VigiloError& error) {
        std::fprintf(stderr, "vigilo-plan-builder: %s\n", qPrintable(error.Text()));
        return 1;
    }
    return 0;
}
