#include "serialline.h"

#include "portnames.h"

#include <QFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

SerialLine::SerialLine(QObject *parent)
    : QObject(parent)
{
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    // Millisecond time-outs: coarse timers may fire 5 % late, which would stretch a 3 ms gap.
    for (QTimer *t : {&gapTimer_, &totalTimer_, &writeTimer_}) {
        t->setSingleShot(true);
        t->setTimerType(Qt::PreciseTimer);
    }
    connect(&gapTimer_, &QTimer::timeout, this, &SerialLine::finishRead);
    connect(&totalTimer_, &QTimer::timeout, this, &SerialLine::finishRead);
    connect(&writeTimer_, &QTimer::timeout, this, &SerialLine::finishWrite);
    connect(&port_, &QSerialPort::readyRead, this, &SerialLine::takeBytes);
    connect(&port_, &QSerialPort::bytesWritten, this, [this](qint64 n) {
        unwritten_ -= n;
        if (writing_ && unwritten_ <= 0)
            finishWrite();
    });
    connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ReadError || e == QSerialPort::WriteError || e == QSerialPort::ResourceError)
            lineFailed();
    });
}

SerialLine::~SerialLine() = default;

bool SerialLine::open(const QString &deviceName)
{
    const bool ok = openPort(deviceName);
    emit opened(deviceName, ok);
    return ok;
}

bool SerialLine::openPort(const QString &deviceName)
{
    close();
    failed_ = false;
    openFailure_ = {};
    const QString systemPath = portnames::systemPath(deviceName);
    path_ = systemPath;
    port_.setPortName(systemPath);
#ifdef Q_OS_UNIX
    // Qt switches flow control off on open. Read the driver's state first, through a descriptor kept open until
    // Qt has the line, so the line is not hung up in between. Qt gives a device under /dev back without
    // that folder, so the probe takes the path as Qt opens it.
    const QByteArray path = QFile::encodeName(systemPath.startsWith(QLatin1Char('/'))
                                                  ? systemPath
                                                  : QStringLiteral("/dev/") + systemPath);
    const int probe = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (probe < 0)
        openFailure_.openErrno = errno;
    termios before{};
    const bool haveBefore = probe >= 0 && ::tcgetattr(probe, &before) == 0;
#endif
    const bool opened = port_.open(QIODevice::ReadWrite);
#ifdef Q_OS_UNIX
    if (probe >= 0)
        ::close(probe);
    if (!opened) {
        openFailure_.error = port_.error();
        return false;
    }
    // Qt's lock file is per path; flock holds the device whatever name opened it.
    if (::flock(port_.handle(), LOCK_EX | LOCK_NB) != 0) {
        openFailure_.lockErrno = errno;
        port_.close();
        return false;
    }
    termios now{};
    if (haveBefore && ::tcgetattr(port_.handle(), &now) == 0) {
        now.c_cflag = (now.c_cflag & ~CRTSCTS) | (before.c_cflag & CRTSCTS);
        const tcflag_t soft = IXON | IXOFF | IXANY;
        now.c_iflag = (now.c_iflag & ~soft) | (before.c_iflag & soft);
        ::tcsetattr(port_.handle(), TCSANOW, &now);
    }
#endif
    if (!opened)
        openFailure_.error = port_.error();
    // Opening can take a while (Qt writes and syncs a lock file first); what came in
    // meanwhile, before the line settings and before any request, is no answer to
    // anything this line will send.
    if (opened)
        port_.clear(QSerialPort::Input);
    port_.setReadBufferSize(1);   // no read yet
    return opened;
}

void SerialLine::close()
{
    reading_ = false;
    writing_ = false;
    gapTimer_.stop();
    totalTimer_.stop();
    writeTimer_.stop();
    received_.clear();
    // What the driver still holds goes with the handle, as a serial driver drops it on
    // close; a pseudo-terminal would hand it to the next owner.
    if (port_.isOpen() && !failed_)
        port_.clear(QSerialPort::Input);
    port_.close();
}

bool SerialLine::isUsable() const
{
    return port_.isOpen() && !failed_;
}

bool SerialLine::receiving() const
{
    if (!reading_)
        return false;
    if (!received_.isEmpty())
        return true;
    if (!isUsable())
        return false;
    if (port_.bytesAvailable() > 0)
        return true;
#ifdef Q_OS_UNIX
    int waiting = 0;
    if (::ioctl(int(port_.handle()), FIONREAD, &waiting) == 0 && waiting > 0)
        return true;
#endif
    return false;
}

void SerialLine::write(const QByteArray &bytes, int timeoutMs)
{
    writing_ = true;
    if (!isUsable() || bytes.isEmpty()) {
        writeTimer_.start(0);
        return;
    }
    unwritten_ = bytes.size();
    port_.write(bytes);
    writeTimer_.start(timeoutMs);
}

void SerialLine::finishWrite()
{
    if (!writing_)
        return;
    writing_ = false;
    writeTimer_.stop();
    emit writeFinished();
}

void SerialLine::startRead(int maxBytes, int gapMs, int totalMs)
{
    received_.clear();
    gapTimer_.stop();
    reading_ = true;
    maxBytes_ = maxBytes;
    if (!isUsable()) {
        // Completes from the event loop, as every read does.
        totalTimer_.start(0);
        return;
    }
    gapTimer_.setInterval(gapMs);
    totalTimer_.start(totalMs);
    port_.setReadBufferSize(0);   // listen to every byte while the read lasts
    // Bytes already buffered do not signal again.
    if (port_.bytesAvailable() > 0)
        QTimer::singleShot(0, this, &SerialLine::takeBytes);
}

void SerialLine::takeBytes()
{
    // Between reads the bytes wait for the next one.
    if (!reading_ || !isUsable() || port_.bytesAvailable() <= 0)
        return;
    received_ += port_.read(maxBytes_ - received_.size());
    if (received_.size() >= maxBytes_)
        finishRead();
    else
        gapTimer_.start();
}

void SerialLine::finishRead()
{
    if (!reading_)
        return;
    reading_ = false;
    gapTimer_.stop();
    totalTimer_.stop();
    // Between reads the bytes wait in the driver, as they would for a blocking read:
    // once Qt holds one, it stops waking the event loop for each further byte.
    if (port_.isOpen())
        port_.setReadBufferSize(1);
    emit readFinished(std::exchange(received_, {}));
}

void SerialLine::lineFailed()
{
    // An adapter pulled or a peer gone: give the line up, so that the event loop does not
    // keep waking on a dead descriptor. The close is queued because Qt reports the error
    // from inside its own read. What a read had received so far is delivered.
    const bool first = !failed_;
    failed_ = true;
    QMetaObject::invokeMethod(this, [this] {
        if (!failed_)
            return;
        finishRead();
        finishWrite();
        port_.close();
    }, Qt::QueuedConnection);
    if (first)
        emit lost();
}
