#pragma once

#include <QByteArray>
#include <QSerialPort>
#include <QString>

// What the port logic needs of a serial line; tests put a recorder in its place.
class PortIO
{
public:
    virtual ~PortIO() = default;
    virtual void open(const QString &deviceName) = 0;
    virtual void close() = 0;
    // Ends at maxBytes, when gapMs pass after a byte without a further one, or totalMs
    // after the call began. A line that is not open, failed or vanished gives no bytes.
    virtual QByteArray read(int maxBytes, int gapMs, int totalMs) = 0;
};

// A serial line at 9600 8N1 with exclusive access. Opening changes only baud rate,
// data bits, parity and stop bits (and puts a POSIX line into raw mode); flow control
// stays as the driver had it. Failures are not reported: the
// line then simply yields nothing.
class SerialLine : public PortIO
{
public:
    SerialLine();
    ~SerialLine() override;

    void open(const QString &deviceName) override;
    void close() override;
    QByteArray read(int maxBytes, int gapMs, int totalMs) override;
    // Waits at most timeoutMs for the bytes to leave; -1 allows about 1 ms per byte + 20 ms.
    void write(const QByteArray &bytes, int timeoutMs = -1);

    bool isUsable() const { return port_.isOpen() && !failed_; }

private:
    QSerialPort port_;
    bool failed_ = false;
};
