// SPDX-License-Identifier: GPL-3.0-or-later
// The disk under the Measurements table fills up during a run: the failed
// post is reported in the current language, the run stops cleanly, and every
// row stored before is still there.
#include "run_fixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/statvfs.h>

namespace {
// A small file system of its own, so filling it touches nothing else.
class SmallFileSystem {
public:
    SmallFileSystem(const QString& path, int kiloBytes) : m_path(path)
    {
        QDir().mkpath(path);
        const QByteArray options = "size=" + QByteArray::number(kiloBytes) + "k";
        if (::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, options.constData()) == 0)
            m_mounted = true;
        else
            m_error = QString::fromLocal8Bit(std::strerror(errno));
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    }
    bool Mounted() const { return m_mounted; }
    QString Error() const { return m_error; }

    // Fills all but `leaveBytes` of the free space with one file.
    void FillLeaving(qint64 leaveBytes) const
    {
        struct statvfs info {};
        ASSERT_EQ(::statvfs(QFile::encodeName(m_path).constData(), &info), 0);
        const qint64 free = qint64(info.f_bavail) * qint64(info.f_frsize);
        QFile filler(m_path + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        for (qint64 written = 0; written + leaveBytes < free; written += block.size())
            if (filler.write(block) != block.size())
                break;
    }
    void Free() const { QFile::remove(m_path + QStringLiteral("/filler")); }

private:
    QString m_path;
    bool m_mounted = false;
    QString m_error;
};

QString IntegrityCheck(const QString& path)
{
    sqlite3* db = nullptr;
    QString result;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
}

struct DiskFullCase {
    const char* language;
    const char* message;
};

class DiskFull : public testing::TestWithParam<DiskFullCase> {};

TEST_P(DiskFull, TheRunStopsAndKeepsEveryRowStoredBefore)
{
    const DiskFullCase c = GetParam();
    RunFixture f;
    SmallFileSystem disk(f.folder.File("small"), 512);
    if (!disk.Mounted())
        GTEST_SKIP() << "a 512 KB tmpfs cannot be mounted here (" << disk.Error().toStdString()
                     << "); the full-disk run needs one (run as root)";
    f.settings.Replace(Settings::kLanguageLine, QString::fromLatin1(c.language));
    const QString path = f.folder.File("small/run.db");
    f.measurements.Close();
    f.measurements.SetDatabaseName(QString());
    f.measurements.SetTableName(path);
    f.measurements.CreateTable(MeasurementFields());
    f.measurements.Open();
    disk.FillLeaving(24 * 1024);

    f.AddPoint(DvbtPoint("21", "474"));
    f.host.mode.mode = RepeatMode::SingleTestPoint;
    int stored = 0;
    f.host.onRow = [&](const Dataset&) { ++stored; };

    f.run.RunMeasureBtnClick();

    ASSERT_GT(stored, 0) << "some rows fit before the disk was full";
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0], QString::fromUtf8(c.message).arg(path));
    EXPECT_EQ(f.run.Phase(), RunPhase::Stopped);
    EXPECT_EQ(f.host.panelText, QString::fromUtf8(c.language) == "english" ? "STOPPED" : "DETENIDO");
    EXPECT_TRUE(f.host.stopDown);
    EXPECT_TRUE(f.host.events.contains("Release"));

    // The table closes without trying the lost row again, and holds every
    // row stored before.
    EXPECT_NO_THROW(f.measurements.Close());
    disk.Free();
    EXPECT_EQ(IntegrityCheck(path), "ok");
    Dataset reader(QString(), path);
    reader.Open();
    EXPECT_EQ(reader.RecordCount(), stored);
}

INSTANTIATE_TEST_SUITE_P(
    Language, DiskFull,
    testing::Values(DiskFullCase{"english", "The disk is full: %1 cannot grow"},
                    DiskFullCase{"spanish", "El disco está lleno: %1 no puede crecer"}),
    [](const testing::TestParamInfo<DiskFullCase>& info) { return std::string(info.param.language); });
}  // namespace
