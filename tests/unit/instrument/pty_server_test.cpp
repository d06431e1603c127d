// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/analyser_sim.h"
#include "sim/pty_server.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// The simulator links its ptys into ports/ of a program folder, where the
// user's own links to real adaptors live too: it never takes one of those over.
TEST(PtyServer, LinksItsPtyButNeverReplacesTheUsersOwnPort)
{
    TempProgramFolder folder;
    QDir().mkpath(folder.File("ports"));
    const QString users = folder.File("ports/COM3");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/ttyUSB0"), users));
    const QString stale = folder.File("ports/COM4");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/pts/999"), stale));  // left by a killed simulator

    {
        PtyServer server;
        QString error;
        EXPECT_FALSE(server.Add(std::make_shared<SimAnalyser>(), users, &error));
        EXPECT_FALSE(error.isEmpty());
        ASSERT_TRUE(server.Add(std::make_shared<SimAnalyser>(), stale, &error)) << error.toStdString();
        EXPECT_EQ(QFileInfo(stale).symLinkTarget(), server.DeviceNames().value(0));
    }
    EXPECT_EQ(QFileInfo(users).symLinkTarget(), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_FALSE(QFileInfo(stale).isSymLink()) << "the simulator's own link goes with it";
}

}  // namespace
