// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// SimFixture: a simulated analyser wired to the real link, in a few lines.
//
//   SimFixture f;                              // analyser on COM1, port open and configured
//   f.analyser->SetSettlingMs(0);              // tune the model
//   f.analyser->SetChannel(522000, {62.5});    // what is on the air
//   f.analyser->faults.crlf = true;            // faults on demand
//   ASSERT_TRUE(f.link.SendCommand("*SA1"));
//   EXPECT_EQ(f.analyser->StandardCode(), 1);
//   EXPECT_EQ(f.analyser->ReceivedCommands(), QStringList{"*SA1"});
//   f.clock.At(2300, [&] { stop = true; });    // events during waits
//
// Everything runs on `clock` (a VirtualClock): every byte wait advances
// virtual time, so time-outs cost nothing. `ports` can take more instruments
// (ports.Attach(5, other)) for port-search tests. The model code the link
// sets is `modelCode`. After construction the analyser's command list is
// empty (the "*" of Configure is cleared).

#include "instrument/analyser_link.h"
#include "sim/virtual_clock.h"
#include "sim/analyser_sim.h"
#include "sim/sim_serial_device.h"

#include <memory>

struct SimFixture {
    explicit SimFixture(int comNumber = 1, bool open = true,
                        std::shared_ptr<SimAnalyser> model = std::make_shared<SimAnalyser>())
        : analyser(std::move(model))
    {
        ports.Attach(comNumber, analyser);
        if (open)
            opened = OpenAndConfigure(comNumber);
    }

    // Opens COMn and configures it as the port search does (Standard,
    // 115200 8N1); clears the analyser's command list.
    bool OpenAndConfigure(int comNumber)
    {
        link.Port().SelectPort(comNumber - 1);
        if (!link.Port().Open())
            return false;
        link.Port().Configure(TimeoutProfile::Standard, 115200, 8, 0, 0);
        analyser->ClearReceivedCommands();
        return true;
    }

    TSerialPort& port() { return link.Port(); }

    VirtualClock clock;
    SimPorts ports{clock};
    std::shared_ptr<SimAnalyser> analyser;
    int modelCode = -1;
    AnalyserLink link{clock, ports.Factory(), modelCode};
    bool opened = false;
};
