// SPDX-License-Identifier: GPL-3.0-or-later
// Files that cannot be used as a Measurements table or a test point set: one
// that is not ours, one cut short, one without the fields the station needs,
// one another program keeps locked. Each is refused with a message in the
// current language, and nothing changes: the open tables stay open on their
// files, the working copy keeps its test points, the bad file its bytes.
#include "platform/errors.h"
#include "platform/settings.h"
#include "sim/virtual_clock.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"
#include "testpoints/table_layouts.h"
#include "workspace/workspace.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QByteArray Digest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void Sql(const QString& path, const char* statements)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, statements, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

// Another program holding the file under an exclusive lock until the test
// ends: a child process, so the lock is another process's, not ours.
class LockingProcess {
public:
    explicit LockingProcess(const QString& path)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            close(fds[0]);
            sqlite3* db = nullptr;
            sqlite3_open(QFile::encodeName(path).constData(), &db);
            const int rc = sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; "
                                            "CREATE TABLE IF NOT EXISTS _held(x); INSERT INTO _held VALUES(1);",
                                        nullptr, nullptr, nullptr);
            const char ready = rc == SQLITE_OK ? 'y' : 'n';
            (void)write(fds[1], &ready, 1);
            for (;;)
                pause();
        }
        close(fds[1]);
        char ready = 0;
        m_locked = read(fds[0], &ready, 1) == 1 && ready == 'y';
        close(fds[0]);
    }
    ~LockingProcess()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    bool Locked() const { return m_locked; }

private:
    pid_t m_pid = -1;
    bool m_locked = false;
};

struct BadFiles : testing::Test {
    BadFiles()
    {
        settings.Replace(Settings::kLanguageLine, QStringLiteral("english"));
        RegisterDatabaseNames();
        EXPECT_TRUE(workspace.CreateMeasurementsTable(File("run.db")));
        workspace.ReportTable.Append();
        workspace.ReportTable.SetText(QStringLiteral("ch"), QStringLiteral("E21"));
        workspace.ReportTable.Post();
        workspace.NewTestPointSet();
        workspace.AcquiredTable.Append();
        workspace.AcquiredTable.SetText(QStringLiteral("ch"), QStringLiteral("E22"));
        workspace.AcquiredTable.Post();
        EXPECT_TRUE(workspace.SaveTestPointSetAs(File("kept.db")));
    }

    QString File(const QString& name) const { return MeasurementsFolder() + QLatin1Char('/') + name; }

    // A Measurements table of `rows` rows, written by the engine.
    QString MeasurementsTableWith(const QString& name, int rows)
    {
        const QString path = File(name);
        Dataset table(QString(), path);
        table.CreateTable(MeasurementFields());
        table.Open();
        table.StartTransaction();
        for (int i = 0; i < rows; ++i) {
            table.Append();
            table.SetText(QStringLiteral("ch"), QStringLiteral("E%1").arg(i % 70));
            table.SetNumber(QStringLiteral("LEVEL"), 40 + i % 30);
            table.Post();
        }
        table.Commit();
        table.Close();
        return path;
    }

    // Opens `file` both ways, as the commands do, and checks that each is
    // refused with one message starting with `expected` and changes nothing.
    void ExpectRefusedBothWays(const QString& file, const QString& expected)
    {
        const QByteArray before = Digest(file);
        const struct {
            const char* as;
            std::function<void()> open;
        } attempts[] = {
            {"Measurements table", [&] { (void)workspace.OpenMeasurementsTable(file); }},
            {"test point set", [&] { workspace.OpenTestPointSet(file); }},
        };
        for (const auto& attempt : attempts) {
            SCOPED_TRACE(attempt.as);
            dialogs.messages.clear();
            EXPECT_FALSE(RunReportingErrors(dialogs, attempt.open));
            ASSERT_EQ(dialogs.messages.size(), 1);
            EXPECT_TRUE(dialogs.messages[0].startsWith(expected)) << dialogs.messages[0].toStdString();
            EXPECT_TRUE(dialogs.messages[0].contains(QFileInfo(file).fileName())) << "names the file";
            EXPECT_TRUE(workspace.ReportTable.IsOpen());
            EXPECT_EQ(workspace.ReportTable.FilePath(), File("run.db"));
            EXPECT_EQ(workspace.ReportTable.RecordCount(), 1);
            EXPECT_TRUE(workspace.AcquiredTable.IsOpen());
            EXPECT_EQ(workspace.AcquiredTable.RecordCount(), 1);
            EXPECT_EQ(workspace.TestPointSetFile(), File("kept.db"));
        }
        EXPECT_EQ(Digest(file), before) << "the bad file is left as it was";
    }

    TempProgramFolder folder;
    Settings settings{folder.Path()};
    VirtualClock clock;
    RecordingDialogs dialogs;
    FakeSystemCommands system;
    Workspace workspace{clock, dialogs, system, settings};
};

TEST_F(BadFiles, AFileThatIsNotOursIsRefusedUnchanged)
{
    const QString text = File("notes.db");
    Write(text, "ch;freq\n21;474\n");
    ExpectRefusedBothWays(text, text + " is not a table of this station");

    // A database of another program: refusing it must not turn on our
    // journal mode in it.
    const QString foreign = File("other.db");
    Sql(foreign, "CREATE TABLE customers(name TEXT); INSERT INTO customers VALUES('x');");
    ExpectRefusedBothWays(foreign, foreign + " is not a table of this station");

    settings.Replace(Settings::kLanguageLine, QStringLiteral("spanish"));
    ExpectRefusedBothWays(foreign, foreign + " no es una tabla de esta estación");
}

TEST_F(BadFiles, ATableCutShortIsRefusedAsDamaged)
{
    const QString path = MeasurementsTableWith(QStringLiteral("cut.db"), 3000);
    const qint64 size = QFileInfo(path).size();
    ASSERT_GT(size, 64 * 1024);
    ASSERT_TRUE(QFile::resize(path, size / 2));
    ExpectRefusedBothWays(path, "The table " + path + " is damaged");
    settings.Replace(Settings::kLanguageLine, QStringLiteral("spanish"));
    ExpectRefusedBothWays(path, "La tabla " + path + " está dañada");
}

TEST_F(BadFiles, ATableWithoutTheFieldsTheStationNeedsIsRefused)
{
    std::vector<FieldDef> fields;
    for (const FieldDef& field : MeasurementFields())
        if (field.name != QLatin1String("LEVEL") && field.name != QLatin1String("MER"))
            fields.push_back(field);
    const QString path = File("partial.db");
    {
        Dataset table(QString(), path);
        table.CreateTable(fields);
    }
    const QByteArray before = Digest(path);
    dialogs.messages.clear();
    EXPECT_FALSE(RunReportingErrors(dialogs, [&] { (void)workspace.OpenMeasurementsTable(path); }));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], "The table " + path + " lacks the fields: LEVEL, MER");
    EXPECT_EQ(workspace.ReportTable.FilePath(), File("run.db"));
    EXPECT_TRUE(workspace.ReportTable.IsOpen());
    EXPECT_EQ(Digest(path), before);

    // A test point set may lack "layer" (older sets), nothing else.
    std::vector<FieldDef> noLayer;
    std::vector<FieldDef> noFreq;
    for (const FieldDef& field : TestPointFields()) {
        if (field.name != QLatin1String("layer"))
            noLayer.push_back(field);
        if (field.name != QLatin1String("freq"))
            noFreq.push_back(field);
    }
    {
        Dataset older(QString(), File("older.db"));
        older.CreateTable(noLayer);
        Dataset broken(QString(), File("nofreq.db"));
        broken.CreateTable(noFreq);
    }
    settings.Replace(Settings::kLanguageLine, QStringLiteral("spanish"));
    dialogs.messages.clear();
    EXPECT_FALSE(RunReportingErrors(dialogs, [&] { workspace.OpenTestPointSet(File("nofreq.db")); }));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], "A la tabla " + File("nofreq.db") + " le faltan los campos: freq");
    EXPECT_EQ(workspace.AcquiredTable.RecordCount(), 1);

    workspace.AcquiredTable.Close();
    EXPECT_TRUE(RunReportingErrors(dialogs, [&] { workspace.OpenTestPointSet(File("older.db")); }));
    EXPECT_TRUE(workspace.AcquiredTable.IsOpen());
}

TEST_F(BadFiles, ATableAnotherProgramKeepsLockedIsRefused)
{
    const QString path = MeasurementsTableWith(QStringLiteral("busy.db"), 5);
    LockingProcess other(path);
    ASSERT_TRUE(other.Locked());
    dialogs.messages.clear();
    EXPECT_FALSE(RunReportingErrors(dialogs, [&] { (void)workspace.OpenMeasurementsTable(path); }));
    EXPECT_FALSE(RunReportingErrors(dialogs, [&] { workspace.OpenTestPointSet(path); }));
    ASSERT_EQ(dialogs.messages.size(), 2);
    for (const QString& message : dialogs.messages)
        EXPECT_EQ(message, "Table is locked by another program: " + path);
    EXPECT_EQ(workspace.ReportTable.FilePath(), File("run.db"));
    EXPECT_EQ(workspace.ReportTable.RecordCount(), 1);
    EXPECT_EQ(workspace.AcquiredTable.RecordCount(), 1);
}
}  // namespace
