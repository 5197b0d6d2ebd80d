#pragma once

#include "link/serialline.h"

#include <QByteArrayList>
#include <QStringList>
#include <QTimer>

// A serial line that records what it is asked to do and answers every read with the next
// scripted reply, from the event loop as the real line does. Replies are handed over
// whole, whatever the read asked for, so that a cut is the caller's work.
//
// Knobs (set them before the call they concern):
//   replies         the script: each read takes the next one
//   usable          false: open() fails, as when another program holds the port
//   holdReads       a read stays in flight until the test calls completeRead(bytes)
//   bytesArriving   with holdReads: bytes have come for the read in flight (receiving())
//   journal, label  every call is also noted in *journal as "<label>: <call>", so that a
//                   test sees the order of what two lines were asked to do
//
// Failure modes it plays:
//   silence            a read after the script has run out gets an empty reply
//   port held          usable = false: open() fails; writes reach nothing, reads get an
//                      empty reply (and use up the next scripted one all the same)
//   closed in flight   close() drops what was in flight: a pending answer never comes and
//                      completeRead() after it emits nothing
//   slow module        holdReads: the reply comes when the test says so (or never)
//
// What it was asked: calls ("open <name>", "write <hex> <timeout>", "read <max> <gap>
// <total>", "close"), written (the bytes of each write on an open port) and
// readInFlight().
class FakeLine : public SerialLine
{
public:
    QStringList calls;
    QByteArrayList written;
    QByteArrayList replies;
    bool usable = true;
    bool holdReads = false;
    bool bytesArriving = false;
    QStringList *journal = nullptr;
    QString label;

    bool open(const QString &name) override
    {
        note(QStringLiteral("open %1").arg(name));
        opened_ = usable;
        return opened_;
    }
    void close() override
    {
        note(QStringLiteral("close"));
        opened_ = false;
        reading_ = false;
        ++generation_;   // what was in flight is dropped
    }
    void write(const QByteArray &bytes, int timeoutMs) override
    {
        note(QStringLiteral("write %1 %2").arg(QString::fromLatin1(bytes.toHex(' ').toUpper())).arg(timeoutMs));
        if (opened_)
            written << bytes;
        later([this] { emit writeFinished(); });
    }
    void startRead(int maxBytes, int gapMs, int totalMs) override
    {
        note(QStringLiteral("read %1 %2 %3").arg(maxBytes).arg(gapMs).arg(totalMs));
        reading_ = true;
        if (!holdReads)
            later([this] { completeRead(replies.isEmpty() ? QByteArray() : replies.takeFirst()); });
    }
    bool isUsable() const override { return opened_; }
    bool receiving() const override { return reading_ && bytesArriving; }

    bool readInFlight() const { return reading_; }
    void completeRead(const QByteArray &bytes)
    {
        if (!reading_)
            return;
        reading_ = false;
        emit readFinished(opened_ ? bytes : QByteArray());
    }

private:
    void note(const QString &call)
    {
        calls << call;
        if (journal)
            *journal << label + QStringLiteral(": ") + call;
    }
    template <class F> void later(F f)
    {
        const int generation = generation_;
        QTimer::singleShot(0, this, [this, generation, f] {
            if (generation == generation_)
                f();
        });
    }

    bool opened_ = false;
    bool reading_ = false;
    int generation_ = 0;
};
