#include "serialline.h"

#include "portnames.h"

#include <QElapsedTimer>
#include <QFile>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>
#endif

SerialLine::SerialLine()
{
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    // An adapter pulled or a peer gone: give the line up, so that neither the reads nor
    // the event loop keep waking on a dead descriptor. The close is queued because Qt
    // reports the error from inside its own read.
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ReadError || e == QSerialPort::WriteError || e == QSerialPort::ResourceError) {
            failed_ = true;
            QMetaObject::invokeMethod(&port_, [this] { if (failed_) port_.close(); }, Qt::QueuedConnection);
        }
    });
}

SerialLine::~SerialLine() = default;

void SerialLine::open(const QString &deviceName)
{
    port_.close();
    failed_ = false;
    const QString systemPath = portnames::systemPath(deviceName);
    port_.setPortName(systemPath);
#ifdef Q_OS_UNIX
    // Qt switches flow control off on open. Read the driver's state first, through a descriptor kept open until
    // Qt has the line, so the line is not hung up in between. Qt gives a device under /dev back without
    // that folder, so the probe takes the path as Qt opens it.
    const QByteArray path = QFile::encodeName(systemPath.startsWith(QLatin1Char('/'))
                                                  ? systemPath
                                                  : QStringLiteral("/dev/") + systemPath);
    const int probe = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios before{};
    const bool haveBefore = probe >= 0 && ::tcgetattr(probe, &before) == 0;
#endif
    const bool opened = port_.open(QIODevice::ReadWrite);
#ifdef Q_OS_UNIX
    if (probe >= 0)
        ::close(probe);
    if (!opened)
        return;
    // Qt's lock file is per path; flock holds the device whatever name opened it.
    if (::flock(port_.handle(), LOCK_EX | LOCK_NB) != 0) {
        port_.close();
        return;
    }
    termios now{};
    if (haveBefore && ::tcgetattr(port_.handle(), &now) == 0) {
        now.c_cflag = (now.c_cflag & ~CRTSCTS) | (before.c_cflag & CRTSCTS);
        const tcflag_t soft = IXON | IXOFF | IXANY;
        now.c_iflag = (now.c_iflag & ~soft) | (before.c_iflag & soft);
        ::tcsetattr(port_.handle(), TCSANOW, &now);
    }
#else
    Q_UNUSED(opened);
#endif
}

void SerialLine::close()
{
    port_.close();
}

QByteArray SerialLine::read(int maxBytes, int gapMs, int totalMs)
{
    QByteArray bytes;
    if (!isUsable())
        return bytes;
    QElapsedTimer clock;
    clock.start();
    while (bytes.size() < maxBytes) {
        // Bytes already buffered do not signal again.
        if (port_.bytesAvailable() > 0) {
            bytes += port_.read(maxBytes - bytes.size());
            continue;
        }
        const int left = totalMs - int(clock.elapsed());
        const int wait = bytes.isEmpty() ? left : std::min(gapMs, left);
        if (wait <= 0 || !port_.waitForReadyRead(wait) || failed_)
            break;
    }
    return bytes;
}

void SerialLine::write(const QByteArray &bytes, int timeoutMs)
{
    if (!isUsable())
        return;
    port_.write(bytes);
    // One character takes about 1 ms at 9600 baud.
    port_.waitForBytesWritten(timeoutMs < 0 ? bytes.size() + 20 : timeoutMs);
}
