#pragma once

#include "config/transactionline.h"

#include <QByteArrayList>
#include <QStringList>

// A transaction line that records what it is asked to do and answers every read with
// the next scripted reply (an empty one when the script has run out). Replies are
// handed over whole, whatever the read asked for, so that a cut is the caller's work.
class FakeLine : public TransactionLine
{
public:
    QStringList calls;
    QByteArrayList written;
    QByteArrayList replies;
    bool usable = true;   // false: the port is held by another program

    void open(const QString &name) override
    {
        calls << QStringLiteral("open %1").arg(name);
        opened_ = usable;
    }
    void close() override
    {
        calls << QStringLiteral("close");
        opened_ = false;
    }
    void write(const QByteArray &bytes, int timeoutMs) override
    {
        calls << QStringLiteral("write %1 %2").arg(QString::fromLatin1(bytes.toHex(' ').toUpper())).arg(timeoutMs);
        if (opened_)
            written << bytes;
    }
    QByteArray read(int maxBytes, int gapMs, int totalMs) override
    {
        calls << QStringLiteral("read %1 %2 %3").arg(maxBytes).arg(gapMs).arg(totalMs);
        const QByteArray reply = replies.isEmpty() ? QByteArray() : replies.takeFirst();
        return opened_ ? reply : QByteArray();
    }

private:
    bool opened_ = false;
};
