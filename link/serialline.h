#pragma once

#include "portdiagnosis.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

// A serial line at 9600 8N1 with exclusive access, driven by the event loop: nothing
// here ever waits. Opening changes only baud rate, data bits, parity and stop bits (and
// puts a POSIX line into raw mode); flow control stays as the driver had it.
//
// A read is an operation that completes by readFinished() at the first of: maxBytes
// received, gapMs after the last byte without a further one, totalMs after it began.
// A line that is not open, failed or vanished completes its read with no bytes, from the
// event loop, never from inside startRead().
//
// Tests derive a fake from it (tests/fakeline.h); the virtual functions are the seam.
class SerialLine : public QObject
{
    Q_OBJECT
public:
    explicit SerialLine(QObject *parent = nullptr);
    ~SerialLine() override;

    // deviceName is "\\.\COMn" or a device path. False when the device is absent or
    // another program holds it; the line then yields nothing.
    virtual bool open(const QString &deviceName);
    // Drops a read or write in flight without a signal.
    virtual void close();
    // Sends the bytes in one call; writeFinished() once they have left or timeoutMs has
    // passed, whichever comes first (also at once, from the event loop, when the line is
    // unusable).
    virtual void write(const QByteArray &bytes, int timeoutMs);
    // Starts a read; one read at a time (a new one drops the one in flight).
    virtual void startRead(int maxBytes, int gapMs, int totalMs);
    virtual bool isUsable() const;
    // A read is in flight and bytes have come for it (received, or waiting in Qt's buffer
    // or the driver): closing now would drop them.
    virtual bool receiving() const;

    // What the system said when the last open() failed: the errors of the open and of
    // the lock, for portdiagnosis::diagnoseOpenFailure().
    portdiagnosis::OpenFailure lastOpenFailure() const { return openFailure_; }
    // The path the last open() took (the device name resolved).
    QString openedPath() const { return path_; }

signals:
    void writeFinished();
    void readFinished(const QByteArray &bytes);
    // Every open() ends with this: whether the line is now usable.
    void opened(const QString &deviceName, bool ok);
    // The device failed or vanished while open (an adapter pulled, a peer gone).
    void lost();

private:
    void takeBytes();
    void finishRead();
    void finishWrite();
    void lineFailed();

    bool openPort(const QString &deviceName);

    QSerialPort port_;
    bool failed_ = false;
    portdiagnosis::OpenFailure openFailure_;
    QString path_;

    bool reading_ = false;
    int maxBytes_ = 0;
    QByteArray received_;
    QTimer gapTimer_;
    QTimer totalTimer_;

    bool writing_ = false;
    qint64 unwritten_ = 0;
    QTimer writeTimer_;
};
