// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The station speaks of "COM1" … "COM40". A name resolves to a device path
// through the link (or file) ports/COMn in the program folder when one
// exists, else through the default table below; an empty path means the
// port does not exist.
//
//   COM1 … COM4    /dev/ttyS0 … /dev/ttyS3     (on-board UARTs)
//   COM5 … COM12   /dev/ttyUSB0 … /dev/ttyUSB7 (USB serial adaptors)
//   COM13 … COM20  /dev/ttyACM0 … /dev/ttyACM7 (USB modem-class devices)
//   COM21 … COM40  only through ports/COMn
//
// The "\\.\COM12" form is accepted as well.
QString ResolveComDevice(const QString& portName, bool useDefaultTable = true);

// "Only the ports/ links of the program folder": while on, the default table
// is off for every resolution in the process, so nothing opens the machine's
// own serial devices (a test beside a simulator, a station that must not
// touch a modem on /dev/ttyACM0). Off at start.
void SetComPortsOnly(bool on);
bool ComPortsOnly();

// The default table alone; empty outside it.
QString DefaultComDevice(int comNumber);
