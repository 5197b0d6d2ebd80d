#pragma once

#include "link/serialline.h"

// What a configuration transaction needs of a serial line: the monitoring reads plus a
// write with a time-out. Tests put a scripted fake in its place.
class TransactionLine : public PortIO
{
public:
    // Sends bytes in one call, waiting at most timeoutMs for them to leave.
    // A line that is not open, failed or vanished sends nothing.
    virtual void write(const QByteArray &bytes, int timeoutMs) = 0;
};

// The real serial line: exclusive, 9600 8N1.
class SerialTransactionLine : public TransactionLine
{
public:
    void open(const QString &deviceName) override { line_.open(deviceName); }
    void close() override { line_.close(); }
    QByteArray read(int maxBytes, int gapMs, int totalMs) override { return line_.read(maxBytes, gapMs, totalMs); }
    void write(const QByteArray &bytes, int timeoutMs) override { line_.write(bytes, timeoutMs); }

private:
    SerialLine line_;
};
