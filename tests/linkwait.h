#pragma once

// Tests of the serial line and the configuration transaction wait in the event loop for
// an operation to complete, as the windows do.

#include "config/configtransaction.h"
#include "config/retryprotocol.h"
#include "link/serialline.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>

// One read; the bytes it delivered (none when it did not complete within a generous bound).
inline QByteArray readOnce(SerialLine &line, int maxBytes, int gapMs, int totalMs)
{
    QSignalSpy done(&line, &SerialLine::readFinished);
    line.startRead(maxBytes, gapMs, totalMs);
    if (done.isEmpty() && !done.wait(totalMs + 5000))
        return {};
    return done.first().first().toByteArray();
}

// One exchange; the reply.
inline QByteArray commandOnce(ConfigTransaction &transaction, const QString &portDeviceName,
                              const QByteArray &request)
{
    QSignalSpy done(&transaction, &ConfigTransaction::replied);
    transaction.command(portDeviceName, request);
    if (done.isEmpty() && !done.wait(5000))
        return {};
    return done.first().first().toByteArray();
}

// Lets the attempt in flight, and the actions and attempts that wait for it, complete (a
// fake line answers from the event loop).
inline void settle(const RetryProtocol &protocol)
{
    QElapsedTimer clock;
    clock.start();
    while (protocol.busy() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}
