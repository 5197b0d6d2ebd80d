#pragma once

#include "link/serialline.h"

#include <QByteArrayList>
#include <QStringList>
#include <QTimer>

// A serial line that records what it is asked to do and answers every read with the next
// scripted reply (an empty one when the script has run out), from the event loop as the
// real line does. Replies are handed over whole, whatever the read asked for, so that a
// cut is the caller's work. With holdReads set, a read stays in flight until the test
// calls completeRead().
class FakeLine : public SerialLine
{
public:
    QStringList calls;
    QByteArrayList written;
    QByteArrayList replies;
    bool usable = true;      // false: the port is held by another program
    bool holdReads = false;
    // With holdReads: bytes have come for the read in flight (receiving() is true).
    bool bytesArriving = false;
    // When set, every call is also noted here as "<label>: <call>", so that a test can
    // see the order of what two lines were asked to do.
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
