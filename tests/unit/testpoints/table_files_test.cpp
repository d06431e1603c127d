// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel_tables.h"

#include "platform/errors.h"
#include "support/temp_folder.h"
#include "testpoints/dataset.h"
#include "testpoints/table_layouts.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

class TableFilesTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterDatabaseNames(); }

    static void Fill(Dataset& ds, const QString& name, const QStringList& channels)
    {
        MakeChannelTable(ds, name, channels);
    }

    static QStringList Channels(Dataset& ds) { return ColumnOf(ds); }

    TempProgramFolder folder;
};

// Saving a set onto the open Measurements table, or creating a table onto the
// working copy, used to delete the file under the dataset that had it open.
TEST_F(TableFilesTest, FileHeldByAnOpenDatasetIsNeitherReplacedNorDeleted)
{
    Dataset held;
    Fill(held, QStringLiteral("temp"), {QStringLiteral("A"), QStringLiteral("B")});
    Dataset other;
    Fill(other, QStringLiteral("set"), {QStringLiteral("X")});
    other.Close();
    const QString path = held.FilePath();
    // The same file however its name is spelt.
    const QString roundabout =
        QFileInfo(path).absolutePath() + QStringLiteral("/../TestPoints/./") + QFileInfo(path).fileName();

    struct Case {
        const char* what;
        std::function<void()> replace;
    };
    const std::vector<Case> cases{
        {"create onto it", [&] { Dataset(QStringLiteral("TestPoints"), QStringLiteral("temp")).CreateTable(kSmallLayout); }},
        {"create by another spelling", [&] { Dataset(QString(), roundabout).CreateTable(kSmallLayout); }},
        {"copy onto it", [&] { CopyTableFile(other.FilePath(), path); }},
        {"copy onto it by another spelling", [&] { CopyTableFile(other.FilePath(), roundabout); }},
        {"delete it", [&] { DeleteTableFile(path); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.replace();
            ADD_FAILURE() << "replaced";
        } catch (const VigiloError& error) {
            EXPECT_TRUE(error.Text().startsWith(QStringLiteral("The table ")));
            EXPECT_TRUE(error.Text().endsWith(QStringLiteral(" is open in the station and cannot be replaced.")));
        }
        EXPECT_EQ(Channels(held), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
        held.Append();  // still writable: the file under it is the same
        held.Post();
        held.Last();
        held.Delete();
    }
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".creating")));
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".copying")));

    // Reading it is fine: a second dataset on the file, and a copy from it.
    Dataset reader(QStringLiteral("TestPoints"), QStringLiteral("temp"));
    reader.Open();
    CopyTableFile(path, other.FilePath());
    reader.Close();
    EXPECT_THROW(DeleteTableFile(path), VigiloError);  // `held` still has it

    held.Close();
    CopyTableFile(other.FilePath(), path);
    held.Open();
    EXPECT_EQ(Channels(held), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    held.Close();
    held.CreateTable(kSmallLayout);  // its own file, closed: the New command
    held.Open();
    EXPECT_EQ(held.RecordCount(), 0);
    held.Close();
    DeleteTableFile(path);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(TableFilesTest, DatabaseNamesResolveToTheirFolders)
{
    RegisterDatabase(QStringLiteral("Extra"), folder.Path());
    EXPECT_TRUE(DatabaseNames().contains(QStringLiteral("Extra")));
    struct Case {
        const char* database;
        QString table;
        QString path;
    };
    const QString absolute = folder.File(QStringLiteral("elsewhere/plan.db"));
    for (const Case& c : {Case{"Extra", QStringLiteral("set"), folder.File(QStringLiteral("set.db"))},
                          Case{"Extra", QStringLiteral("set.DB"), folder.File(QStringLiteral("set.DB"))},
                          Case{"Extra", QStringLiteral("odd."), folder.File(QStringLiteral("odd."))},
                          Case{"TestPoints", absolute, absolute}}) {
        SCOPED_TRACE(c.table.toStdString());
        EXPECT_EQ(QDir::cleanPath(ResolveTablePath(QString::fromLatin1(c.database), c.table)), c.path);
    }
    RemoveDatabase(QStringLiteral("Extra"));
    EXPECT_FALSE(DatabaseNames().contains(QStringLiteral("Extra")));
    EXPECT_THROW(DatabaseFolder(QStringLiteral("Extra")), VigiloError);
}

}  // namespace
