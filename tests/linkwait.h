#pragma once

// Tests of the serial line and the configuration transaction wait in the event loop for
// an operation to complete, as the windows do.

#include "config/configtransaction.h"
#include "config/retryprotocol.h"
#include "link/serialline.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QSignalSpy>
#include <QString>
#include <QTest>
#include <QTimer>

#include <algorithm>

// One read; the bytes it delivered (none when it did not complete within a generous bound).
inline QByteArray readOnce(SerialLine &line, int maxBytes, int gapMs, int totalMs)
{
    QSignalSpy done(&line, &SerialLine::readFinished);
    line.startRead(maxBytes, gapMs, totalMs);
    if (done.isEmpty() && !done.wait(totalMs + 5000))
        return {};
    return done.first().first().toByteArray();
}

// How long the machine held this process still while a timed read ran: a 5 ms beat
// measures the longest time between two beats. A read held still for longer than its
// margin cannot show which time-out ended it, so timing tests make such a read again.
class HoldWatch
{
public:
    HoldWatch()
    {
        beat_.setInterval(5);
        QObject::connect(&beat_, &QTimer::timeout, [this] { note(); });
    }
    void start()
    {
        longest_ = 0;
        clock_.start();
        last_ = 0;
        beat_.start();
    }
    // Ends the watch; the longest hold, the one until now included.
    qint64 stop()
    {
        note();
        beat_.stop();
        return longest_;
    }

private:
    void note()
    {
        longest_ = std::max(longest_, clock_.elapsed() - last_);
        last_ = clock_.elapsed();
    }

    QTimer beat_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

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

// A retry series of a configuration dialog: the attempt the button makes, then one on each
// tick of the retry timer, which starts when that attempt has failed, until MaxRetries
// retries have failed too. The times tests compare with, derived from the protocol's own.
namespace retryseries {
// The longest attempt on a real line: the write's time-out, then the read's whole time.
constexpr int AttemptMs = ConfigTransaction::WriteTimeoutMs + ConfigTransaction::ReplyTotalMs;
// The attempts of a series that fails: the button's and the retries.
constexpr int FailedAttempts = 1 + RetryProtocol::MaxRetries;
// A failed series shows its failure text MaxRetries retry periods after the first failure at
// the earliest (1 ms a tick allowed for rounding).
constexpr int EarliestFailureMs = RetryProtocol::MaxRetries * (RetryProtocol::RetryIntervalMs - 1);
// On an idle machine it shows it at the latest when every attempt also took its whole time.
constexpr int LatestFailureMs = RetryProtocol::MaxRetries * RetryProtocol::RetryIntervalMs + FailedAttempts * AttemptMs;
// Only a guard against a series that never ends: a loaded machine (a sanitizer build beside
// other tests) stretches every timer and every attempt, so four times the idle latest.
constexpr int HangGuardMs = 4 * LatestFailureMs;
} // namespace retryseries

// Watches a retry series from its construction on: when each attempt ended and how the
// series ended, for the assertions and for their failure messages.
class RetrySeriesWatch
{
public:
    explicit RetrySeriesWatch(RetryProtocol &protocol)
    {
        clock_.start();
        attempts_ = QObject::connect(&protocol, &RetryProtocol::attemptFinished, &protocol,
                                     [this](RetryProtocol::Outcome outcome) {
            attemptEnds_ << clock_.elapsed();
            if (outcome != RetryProtocol::Outcome::Failure)
                ++notFailed_;
        });
        finished_ = QObject::connect(&protocol, &RetryProtocol::transactionFinished, &protocol, [this](bool success) {
            if (endedMs_ < 0) {
                endedMs_ = clock_.elapsed();
                succeeded_ = success;
            }
        });
    }
    ~RetrySeriesWatch()
    {
        QObject::disconnect(attempts_);
        QObject::disconnect(finished_);
    }
    RetrySeriesWatch(const RetrySeriesWatch &) = delete;
    RetrySeriesWatch &operator=(const RetrySeriesWatch &) = delete;

    // Waits until the series has ended (transactionFinished); false after timeoutMs.
    bool waitForEnd(int timeoutMs)
    {
        return ended() || QTest::qWaitFor([this] { return ended(); }, timeoutMs);
    }
    bool ended() const { return endedMs_ >= 0; }
    bool succeeded() const { return succeeded_; }
    qint64 endedMs() const { return endedMs_; }
    int attempts() const { return int(attemptEnds_.size()); }
    int attemptsNotFailed() const { return notFailed_; }

    // What keeps the series from being one whole failed series: ended by the failure text,
    // every attempt failed (the button's and twelve retries), and no earlier than the retry
    // timer allows. Empty when nothing does; the text names the series for the log.
    QString failedSeriesFault(qsizetype requests = -1) const
    {
        const bool whole = ended() && !succeeded_ && attempts() == retryseries::FailedAttempts && notFailed_ == 0
            && endedMs_ >= retryseries::EarliestFailureMs;
        return whole ? QString() : QStringLiteral("not one whole failed series: ") + describe(requests);
    }

    // "ended with failure after 6612 ms, 13 attempts ended at 291 ms, 791 ms, ... (12 requests)"
    QString describe(qsizetype requests = -1) const
    {
        QString s = ended() ? QStringLiteral("ended with %1 after %2 ms").arg(succeeded_ ? "success" : "failure").arg(endedMs_)
                            : QStringLiteral("not ended after %1 ms").arg(clock_.elapsed());
        s += QStringLiteral(", %1 attempts ended at").arg(attemptEnds_.size());
        for (qint64 t : attemptEnds_)
            s += QStringLiteral(" %1").arg(t);
        s += QStringLiteral(" ms");
        if (requests >= 0)
            s += QStringLiteral(", %1 requests reached the module").arg(requests);
        return s;
    }

private:
    QElapsedTimer clock_;
    QList<qint64> attemptEnds_;
    int notFailed_ = 0;
    qint64 endedMs_ = -1;
    bool succeeded_ = false;
    QMetaObject::Connection attempts_;
    QMetaObject::Connection finished_;
};
