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

#include <chrono>
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

// The sequence numbers in the table, read in one query: on a fast disk (a
// tmpfs) the writer stores many thousands of rows a round, and walking them
// with the cursor would make the test's own reading the slow part.
std::set<int> StoredSequence(const QString& path)
{
    std::set<int> stored;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT LEVEL FROM records", -1, &stmt, nullptr) == SQLITE_OK)
            while (sqlite3_step(stmt) == SQLITE_ROW)
                stored.insert(sqlite3_column_int(stmt, 0));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return stored;
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
        // The moment is measured on the clock, not in idle polls: a writer on
        // a fast disk reports without pause and would never be killed.
        const auto killAt = std::chrono::steady_clock::now() + std::chrono::milliseconds(pause(random));
        int seq = 0;
        while (std::chrono::steady_clock::now() < killAt) {
            pollfd p{fds[0], POLLIN, 0};
            if (poll(&p, 1, 1) > 0 && read(fds[0], &seq, sizeof seq) == static_cast<ssize_t>(sizeof seq))
                reported.insert(seq);
        }
        kill(child, SIGKILL);
        // Reports already in the pipe were posted before the kill.
        while (read(fds[0], &seq, sizeof seq) == static_cast<ssize_t>(sizeof seq))
            reported.insert(seq);
        close(fds[0]);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;

        {
            // The engine itself opens what the kill left.
            Dataset table(QString(), path);
            table.Open();
        }
        const std::set<int> stored = StoredSequence(path);
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
