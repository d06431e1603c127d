// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator program on real pseudo-terminals, reached through the real
// POSIX serial device and the ports/COMn links of a program folder.

#include "gps/gga_reader.h"
#include "gps/serial_gps.h"
#include "instrument/analyser_link.h"
#include "instrument/port_search.h"
#include "instrument/posix_serial_device.h"
#include "platform/event_pump.h"
#include "support/qt_printers.h"
#include "support/sim_process.h"
#include "support/temp_folder.h"

#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

TEST(AnalyserSimulatorOnPty, ThePortSearchFindsAndIdentifiesItOnCom7)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "7", "--model", "ORBIMETER HD ATSC", "--settling", "0"});
    ASSERT_TRUE(sim.Ready()) << sim.Output().toStdString();
    ASSERT_TRUE(QFileInfo(folder.File("ports/COM7")).isSymLink());

    QtEventPump pump;
    int modelCode = -1;
    // COM1 to COM6 have no link and, with the simulator's ports only, no device.
    ASSERT_TRUE(ComPortsOnly());
    AnalyserLink link(pump, PosixSerialDeviceFactory(pump), modelCode);
    QList<int> tried;
    const PortSearchResult result = SearchAnalyserPort(link, [&](int index) { tried.append(index); });
    ASSERT_TRUE(result.found);
    EXPECT_EQ(result.portIndex, 6);
    EXPECT_EQ(result.modelName, "ORBIMETER HD ATSC");
    EXPECT_EQ(modelCode, 9);
    EXPECT_EQ(tried.size(), 7);

    // The link goes on working on the open port.
    ASSERT_TRUE(link.SendCommand("*SA5"));
    EXPECT_EQ(link.QueryCode("*?SA"), 5);
    EXPECT_EQ(link.QueryCode("*?ST"), 3) << "8-VSB locked";
    QByteArray buffer("*?LV");
    ASSERT_TRUE(link.Query(buffer));
    EXPECT_TRUE(buffer.startsWith("LV = ")) << buffer.toStdString();
}

TEST(AnalyserSimulatorOnPty, AnUnpluggedAnalyserFailsQuickly)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "2", "--unplug-after", "1500"});
    ASSERT_TRUE(sim.Ready());
    QtEventPump pump;
    int modelCode = -1;
    AnalyserLink link(pump, PosixSerialDeviceFactory(pump), modelCode);
    link.Port().SelectPort(1);
    ASSERT_TRUE(link.Port().Open());
    link.Port().Configure(TimeoutProfile::Standard, 115200, 8, 0, 0);
    ASSERT_TRUE(link.SendCommand("*EM2"));
    pump.Sleep(2000);
    EXPECT_FALSE(link.SendCommand("*EM2"));
    link.Port().Close();
    link.Port().SelectPort(1);
    EXPECT_FALSE(link.Port().Open()) << "the link is gone with the device";
}

TEST(GpsSimulatorOnPty, RefusesToServeTheReceiverOnTheAnalysersPort)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "3", "--gps-com", "3"});
    EXPECT_FALSE(sim.Ready()) << "one of the two would be unreachable";
    EXPECT_FALSE(QFileInfo(folder.File("ports/COM3")).isSymLink());
}

TEST(GpsSimulatorOnPty, ReadsAFixFromTheSimulatedReceiver)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--no-analyser", "--gps-com", "12", "--gps-period", "300"});
    ASSERT_TRUE(sim.Ready()) << sim.Output().toStdString();
    QtEventPump pump;
    TSerialGPS port(pump, PosixSerialDeviceFactory(pump));
    port.SelectPort(11);
    ASSERT_TRUE(port.Open());
    EXPECT_EQ(port.PortName(), "\\\\.\\COM12");
    port.Configure(TimeoutProfile::Standard, 4800, 8, 0, 0);
    GpsFix fix;
    bool valid = false;
    for (int attempt = 0; attempt < kGpsReadAttempts && !valid; ++attempt)
        valid = ReadGpsFix(port, fix);
    ASSERT_TRUE(valid);
    EXPECT_EQ(fix, (GpsFix{"4807.038", "N", "01131.000", "E"}));
}

}  // namespace
