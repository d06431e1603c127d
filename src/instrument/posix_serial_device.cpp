// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/posix_serial_device.h"

#include "instrument/instrument_log.h"
#include "platform/com_names.h"
#include "platform/event_pump.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
struct BaudEntry {
    quint32 rate;
    speed_t code;
};
constexpr BaudEntry kBauds[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool BaudCode(quint32 rate, speed_t& code)
{
    for (const auto& entry : kBauds) {
        if (entry.rate == rate) {
            code = entry.code;
            return true;
        }
    }
    return false;
}

quint32 BaudRate(speed_t code)
{
    for (const auto& entry : kBauds) {
        if (entry.code == code)
            return entry.rate;
    }
    return 0;
}

bool IsConstantOnly(const ReadTimeouts& t)
{
    return t.interval == kMaxDword && t.multiplier == kMaxDword && t.constant > 0 && t.constant < kMaxDword;
}
}  // namespace

std::unique_ptr<PosixSerialDevice> PosixSerialDevice::OpenPath(const QString& path, EventPump& pump)
{
    if (path.isEmpty())
        return nullptr;
    const QByteArray native = path.toLocal8Bit();
    const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    // Not shared: a second user of the same device is refused.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    auto device = std::unique_ptr<PosixSerialDevice>(new PosixSerialDevice(fd, pump));
    // Raw from the start, so nothing is echoed or swallowed before Configure.
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        tio.c_iflag &= ~(IXON | IXOFF | IXANY);
        tio.c_cflag |= CLOCAL | CREAD;
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    return device;
}

PosixSerialDevice::PosixSerialDevice(int fd, EventPump& pump) : m_fd(fd), m_pump(pump) {}

PosixSerialDevice::~PosixSerialDevice()
{
    ::close(m_fd);
}

bool PosixSerialDevice::GetLineSettings(LineSettings& settings)
{
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        return false;
    settings.baudRate = BaudRate(::cfgetospeed(&tio));
    switch (tio.c_cflag & CSIZE) {
    case CS5: settings.byteSize = 5; break;
    case CS6: settings.byteSize = 6; break;
    case CS7: settings.byteSize = 7; break;
    default: settings.byteSize = 8; break;
    }
    settings.parity = !(tio.c_cflag & PARENB) ? 0 : ((tio.c_cflag & PARODD) ? 1 : 2);
    settings.stopBits = (tio.c_cflag & CSTOPB) ? 2 : 0;
    return true;
}

bool PosixSerialDevice::SetLineSettings(const LineSettings& settings)
{
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        return false;
    speed_t speed = B0;
    if (!BaudCode(settings.baudRate, speed))
        return false;
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
    switch (settings.byteSize) {
    case 5: tio.c_cflag |= CS5; break;
    case 6: tio.c_cflag |= CS6; break;
    case 7: tio.c_cflag |= CS7; break;
    default: tio.c_cflag |= CS8; break;
    }
    if (settings.parity == 1)
        tio.c_cflag |= PARENB | PARODD;
    else if (settings.parity == 2)
        tio.c_cflag |= PARENB;
    if (settings.stopBits != 0)
        tio.c_cflag |= CSTOPB;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    return ::tcsetattr(m_fd, TCSANOW, &tio) == 0;
}

bool PosixSerialDevice::SetTimeouts(const ReadTimeouts& timeouts)
{
    m_timeouts = timeouts;
    return true;
}

bool PosixSerialDevice::SetModemLine(int line, bool raised)
{
    // Pseudo-terminals and some adaptors have no modem lines: not an error.
    if (::ioctl(m_fd, raised ? TIOCMBIS : TIOCMBIC, &line) != 0 && errno != ENOTTY && errno != EINVAL)
        return false;
    return true;
}

bool PosixSerialDevice::SetDtr(bool raised) { return SetModemLine(TIOCM_DTR, raised); }
bool PosixSerialDevice::SetRts(bool raised) { return SetModemLine(TIOCM_RTS, raised); }

bool PosixSerialDevice::Purge(quint32 flags)
{
    bool ok = true;
    if (flags & kPurgeTxClear)
        ok = ::tcflush(m_fd, TCOFLUSH) == 0 && ok;
    if (flags & kPurgeRxClear)
        ok = ::tcflush(m_fd, TCIFLUSH) == 0 && ok;
    return ok;
}

int PosixSerialDevice::BytesWaiting()
{
    int waiting = 0;
    if (::ioctl(m_fd, FIONREAD, &waiting) != 0)
        return -1;
    return waiting;
}

int PosixSerialDevice::WaitReadable(qint64 ms)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const qint64 left = ms - timer.elapsed();
        pollfd pfd{m_fd, POLLIN, 0};
        const int slice = static_cast<int>(std::clamp<qint64>(left, 0, kSliceMs));
        const int ready = ::poll(&pfd, 1, slice);
        if (ready < 0 && errno != EINTR)
            return -1;
        if (ready > 0) {
            if (pfd.revents & POLLIN)
                return 1;
            if (pfd.revents & (POLLHUP | POLLERR | POLLNVAL))
                return -1;
        }
        if (timer.elapsed() >= ms)
            return 0;
        m_pump.ProcessMessages();
    }
}

int PosixSerialDevice::ReadAvailable(char* data, int count)
{
    const ssize_t n = ::read(m_fd, data, static_cast<size_t>(count));
    if (n < 0)
        return (errno == EAGAIN || errno == EINTR) ? 0 : -1;
    // Called only once input was reported ready: nothing to read then is the
    // end of file a terminal gives after its hang-up (an adaptor pulled out
    // reports itself readable for ever), not an empty read.
    if (n == 0)
        return -1;
    return static_cast<int>(n);
}

bool PosixSerialDevice::Read(char* data, int count, int& got)
{
    got = 0;
    if (count <= 0)
        return true;
    if (IsConstantOnly(m_timeouts)) {
        if (BytesWaiting() <= 0) {
            const int ready = WaitReadable(m_timeouts.constant);
            if (ready < 0)
                return false;
            if (ready == 0)
                return true;
        }
        const int n = ReadAvailable(data, count);
        if (n < 0)
            return false;
        got = n;
        return true;
    }
    // Total and interval time-outs.
    const qint64 total = qint64(m_timeouts.constant) + qint64(m_timeouts.multiplier) * count;
    QElapsedTimer timer;
    timer.start();
    QElapsedTimer gap;
    while (got < count) {
        qint64 wait = total - timer.elapsed();
        if (got > 0 && m_timeouts.interval > 0)
            wait = std::min<qint64>(wait, m_timeouts.interval - gap.elapsed());
        if (wait <= 0)
            break;
        const int ready = WaitReadable(wait);
        if (ready < 0)
            return false;
        if (ready == 0)
            break;
        const int n = ReadAvailable(data + got, count - got);
        if (n < 0)
            return false;
        if (n > 0) {
            got += n;
            gap.start();
        }
    }
    return true;
}

bool PosixSerialDevice::Write(const char* data, int count, int& written)
{
    written = 0;
    QElapsedTimer timer;
    timer.start();
    while (written < count) {
        const ssize_t n = ::write(m_fd, data + written, static_cast<size_t>(count - written));
        if (n > 0) {
            written += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        // A full output queue drains at line speed; a line that never drains
        // (no reader behind a pty) is a failed write, not a hang.
        if (timer.elapsed() > 5000)
            return false;
        pollfd pfd{m_fd, POLLOUT, 0};
        ::poll(&pfd, 1, kSliceMs);
    }
    return true;
}

SerialDeviceFactory PosixSerialDeviceFactory(EventPump& pump, bool useDefaultTable)
{
    return [&pump, useDefaultTable](const QString& portName) -> std::unique_ptr<SerialDevice> {
        const QString path = ResolveComDevice(portName, useDefaultTable);
        qCDebug(lcInstrument) << portName << "->" << path;
        return PosixSerialDevice::OpenPath(path, pump);
    };
}
