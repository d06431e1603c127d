// SPDX-License-Identifier: GPL-3.0-or-later
// A process appending rows is killed (SIGKILL) at random moments, again and
// again: every row it reported as posted must be in the table afterwards, and
// the file must pass SQLite's integrity check.
#include "support/temp_folder.h"
#include "testpoints/dataset.h"
#include "testpoints/table_layouts.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <set>

namespace {

// The child: appends rows numbered from `first` and reports each number once
// its Post has returned. Never returns.
[[noreturn]] void AppendForever(const QString& path, int first, int reportFd)
{
    try {
        Dataset table(QString(), path);
        table.Open();
        for (int seq = first;; ++seq) {
            table.Append();
            // The sequence goes into a number field: a text field's width
            // would cut a long number (on a fast disk the writer passes
            // 100000 rows, which the 5-character "index" stores as "10000").
            table.SetNumber(QStringLiteral("LEVEL"), seq);
            table.SetText(QStringLiteral("ch"), QStringLiteral("E%1").arg(seq % 70));
            table.SetText(QStringLiteral("warning"), QStringLiteral("NO"));
            table.Post();
            if (write(reportFd, &seq, sizeof seq) != static_cast<ssize_t>(sizeof seq))
                _exit(3);
        }
    } catch (...) {
        _exit(4);
    }
}

QString IntegrityCheck(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return QStringLiteral("cannot open");
    }
    sqlite3_stmt* stmt = nullptr;
    QString result;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
}

TEST(TableDurability, RowsReportedAsPostedSurviveSigkill)
{
    TempProgramFolder folder;
    const QString path = folder.File(QStringLiteral("run.db"));
    {
        Dataset table(QString(), path);
        table.CreateTable(MeasurementFields());
    }
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pause(2, 60);
    std::set<int> reported;
    int next = 1;
    constexpr int kRounds = 25;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(fds[0]);
            AppendForever(path, next, fds[1]);
        }
        close(fds[1]);
        // Read reports until the random moment, then kill without warning.
        const int killAfterMs = pause(random);
        int waited = 0;
        int seq = 0;
        while (waited < killAfterMs) {
            pollfd p{fds[0], POLLIN, 0};
            if (poll(&p, 1, 1) > 0) {
                if (read(fds[0], &seq, sizeof seq) == static_cast<ssize_t>(sizeof seq))
                    reported.insert(seq);
            } else {
                ++waited;
            }
        }
        kill(child, SIGKILL);
        // Reports already in the pipe were posted before the kill.
        while (read(fds[0], &seq, sizeof seq) == static_cast<ssize_t>(sizeof seq))
            reported.insert(seq);
        close(fds[0]);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;

        Dataset table(QString(), path);
        table.Open();
        std::set<int> stored;
        for (table.First(); !table.Eof(); table.Next())
            stored.insert(static_cast<int>(table.Number(QStringLiteral("LEVEL"))));
        table.Close();
        for (int posted : reported)
            ASSERT_TRUE(stored.count(posted)) << "posted row " << posted << " lost";
        // At most the row being posted at the kill is there unreported.
        ASSERT_LE(stored.size(), reported.size() + static_cast<size_t>(round + 1));
        EXPECT_EQ(IntegrityCheck(path), QStringLiteral("ok"));
        next = stored.empty() ? 1 : *stored.rbegin() + 1;
    }
    EXPECT_GT(reported.size(), static_cast<size_t>(kRounds));
}

}  // namespace
