// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/com_names.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// The switch is process-wide: every case leaves it as it found it.
class PortsOnlyScope {
public:
    explicit PortsOnlyScope(bool on) : m_before(ComPortsOnly()) { SetComPortsOnly(on); }
    ~PortsOnlyScope() { SetComPortsOnly(m_before); }

private:
    bool m_before;
};

// A program folder with a link COM3 -> /dev/pts/42 (its device need not
// exist), a dangling link COM5, a plain file COM21 and nothing else.
struct ComFolder {
    ComFolder()
    {
        QDir(folder.Path()).mkpath(QStringLiteral("ports"));
        QFile::link(QStringLiteral("/dev/pts/42"), folder.File(QStringLiteral("ports/COM3")));
        QFile::link(folder.File(QStringLiteral("gone")), folder.File(QStringLiteral("ports/COM5")));
        QFile file(folder.File(QStringLiteral("ports/COM21")));
        file.open(QIODevice::WriteOnly);
    }
    TempProgramFolder folder;
};

struct Case {
    const char* port;
    QString withTable;    // the default table on
    QString portsOnly;    // only the program folder's ports/
};

TEST(ComNames, PortsOnlyTurnsTheDefaultTableOffAndKeepsTheLinks)
{
    ComFolder f;
    const QString file = f.folder.File(QStringLiteral("ports/COM21"));
    const QString gone = f.folder.File(QStringLiteral("gone"));
    const std::vector<Case> cases{
        {"COM1", "/dev/ttyS0", ""},
        {"COM3", "/dev/pts/42", "/dev/pts/42"},
        {"COM5", gone, gone},  // a dangling link still decides the device
        {"COM6", "/dev/ttyUSB1", ""},
        {"\\\\.\\COM12", "/dev/ttyUSB7", ""},
        {"COM13", "/dev/ttyACM0", ""},
        {"COM20", "/dev/ttyACM7", ""},
        {"COM21", file, file},
        {"COM22", "", ""},
        {"COM41", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        {
            PortsOnlyScope scope(false);
            EXPECT_EQ(ResolveComDevice(QString::fromLatin1(c.port)), c.withTable);
            EXPECT_EQ(ResolveComDevice(QString::fromLatin1(c.port), false), c.portsOnly)
                << "the caller's own choice of no default table";
        }
        PortsOnlyScope scope(true);
        EXPECT_EQ(ResolveComDevice(QString::fromLatin1(c.port)), c.portsOnly);
    }
}

}  // namespace
